#pragma once

#include "dccbox/BoxReplies.h"
#include "dccbox/Options.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <vector>

namespace dccbox {

// One frame the box sends: the answer to a command (FF FE on LI-USB), or a
// broadcast to every device (FF FD).
struct Outgoing {
    Frame frame;
    bool broadcast = false;
};

// The command station behind the interface, as far as the program can see it:
// versions, power and emergency stop with their broadcasts, and the double
// header rules of a real one. Everything else is acknowledged.
class CommandStation {
public:
    explicit CommandStation(const Options& options);

    // What goes back for one well-formed command, in order.
    std::vector<Outgoing> answer(const Frame& command);
    // A track broadcast went out (from a command or the box's terminal): the
    // state the answer to 21 24 reports. Any thread.
    void noteBroadcast(const Frame& frame);

private:
    struct Loco {
        bool stopped = true;
        unsigned partner = 0; // 0: not in a double header
    };

    Frame doubleHeader(unsigned first, unsigned second);
    Frame refusalFor(unsigned first, unsigned second) const;

    const Options& options_;
    std::map<unsigned, Loco> driven_; // every loco a speed frame went to since start
    std::atomic<std::uint8_t> status_{0}; // 62 22 SS: power off, emergency stop, service mode
};

} // namespace dccbox
