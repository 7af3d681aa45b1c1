#pragma once

#include "BoxDetection.h"
#include "DccReceiver.h"
#include "InterfaceSettings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class Clock;
class DccLink;

// The interface dialog's "Test": the detection on a link of its own, so the
// link in use goes on carrying frames meanwhile. Says in words what answered
// or what failed; the link is closed again when it ends.
class InterfaceTest {
public:
    InterfaceTest(std::unique_ptr<DccLink> link, Clock& clock);
    ~InterfaceTest();
    InterfaceTest(const InterfaceTest&) = delete;
    InterfaceTest& operator=(const InterfaceTest&) = delete;

    // Looks for the box with these settings; `done` gets the words once it
    // ends. A test still running is given up first.
    void start(const InterfaceSettings& settings, std::uint8_t port, std::function<void(const QString&)> done);
    // Gives up; `done` is not called.
    void cancel();
    bool running() const { return detection_.running(); }

private:
    void ended(BoxDetection::Result result);

    std::unique_ptr<DccLink> link_;
    // Only to put the answers into words.
    DccReceiver receiver_;
    BoxDetection detection_;
    std::function<void(const QString&)> done_;
};
