#pragma once

#include <QByteArray>

#include <cstdint>

// What a frame to the box does, as far as the link's rules care: whether it
// stops something, and what it goes to. Two frames with the same target
// replace each other: the newer says what the loco or output should do now.
namespace command_kind {

enum class Kind {
    EmergencyStop,   // 80 80
    PowerOff,        // 21 80
    AccessoryOff,    // 52 with the activate bit clear
    LocoStop,        // E4 1x with speed 0 or emergency-stop step; 92, one loco's emergency stop
    Query,           // F0 F0, 21 21, 21 24: asks, changes nothing
    Other,           // speed steps, functions, accessory activate, double header, resume
};

struct Command {
    Kind kind = Kind::Other;
    // The loco and instruction, or the accessory output, the frame goes to;
    // 0 for the layout-wide commands and queries.
    std::uint32_t target = 0;
};

Command classify(const QByteArray& frame);

// Stops and accessory offs: never dropped while the link is down.
inline bool isStop(Kind kind)
{
    return kind == Kind::EmergencyStop || kind == Kind::PowerOff || kind == Kind::AccessoryOff || kind == Kind::LocoStop;
}

} // namespace command_kind
