#include "BoxScript.h"
#include "LineRecorder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using xpressnet::Framing;

std::unique_ptr<BoxClient> connect(const dccbox::SimulatedBox& box)
{
    if (box.options().tcpPort)
        return std::make_unique<BoxClient>(box.tcpPort());
    return std::make_unique<BoxClient>(box.devicePath());
}

TEST(SimulatedBox, SpeaksEachInterfaceKind)
{
    const std::vector<Step> usbSteps = {
        {"FF FE F0 F0", "FF FE 02 01 36 35"},
        {"FF FE E4 12 00 03 89 7C", "FF FE 01 04 05"},
        {"FF FE 80 80", "FF FE 01 04 05 FF FD 81 00 81"},
        {"> off", "FF FD 61 00 61"},
        {"FF FE 21 21 00", "FF FE 63 21 36 00 74"},
    };
    const std::vector<Step> bareSteps = {
        {"F0 F0", "02 01 36 35"},
        {"80 80", "01 04 05 81 00 81"},
        {"> takeover 3", "E3 40 00 03 A0"},
    };
    struct Kind {
        const char* name;
        bool tcp;
        Framing framing;
        const std::vector<Step>& steps;
    };
    const Kind kinds[] = {
        {"LI-USB on a pty", false, Framing::Usb, usbSteps},
        {"LI-USB framing on TCP", true, Framing::Usb, usbSteps},
        {"bare frames on TCP", true, Framing::Bare, bareSteps},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        dccbox::Options options;
        options.framing = kind.framing;
        if (kind.tcp)
            options.tcpPort = 0;
        dccbox::SimulatedBox box(options);
        START_BOX(box);
        EXPECT_EQ(box.devicePath().empty(), kind.tcp);
        const auto port = connect(box);
        ASSERT_TRUE(port->isOpen());
        play(box, *port, kind.steps);
        // The records hold the frames themselves, without prefixes.
        EXPECT_EQ(box.frames().front(), bytesOf("F0 F0"));
    }
}

TEST(SimulatedBox, ServesOneTcpClientAtATime)
{
    LineRecorder recorder; // outlives the box, whose thread calls it
    dccbox::Options options;
    options.tcpPort = 0;
    options.framing = Framing::Usb;
    dccbox::SimulatedBox box(options);
    box.setLineHandler(recorder.handler());
    START_BOX(box);
    EXPECT_EQ(box.address(), "127.0.0.1:" + std::to_string(box.tcpPort()));

    BoxClient first(box.tcpPort());
    ASSERT_TRUE(first.write(bytesOf("FF FE F0 F0")));
    EXPECT_EQ(first.read(6), bytesOf("FF FE 02 01 36 35"));

    BoxClient second(box.tcpPort());
    ASSERT_TRUE(recorder.waitFor("!! a second client was turned away: one at a time"));
    EXPECT_TRUE(second.read(1).empty()); // closed at once

    // A client that leaves makes room for the next, which starts afresh:
    // the half frame the first one left behind is forgotten.
    ASSERT_TRUE(first.write(bytesOf("FF FE E4 12")));
    first.close();
    ASSERT_TRUE(recorder.waitFor("-- client left (closed)"));
    BoxClient third(box.tcpPort());
    ASSERT_TRUE(third.write(bytesOf("FF FE E4 12 00 03 89 7C")));
    EXPECT_EQ(third.read(5), bytesOf("FF FE 01 04 05"));
    EXPECT_EQ(box.badFrames() + box.droppedFrames(), 0u);
}

} // namespace
