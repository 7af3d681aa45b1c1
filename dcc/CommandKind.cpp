#include "CommandKind.h"

namespace command_kind {
namespace {

std::uint8_t byteAt(const QByteArray& frame, qsizetype i)
{
    return i < frame.size() ? static_cast<std::uint8_t>(frame[i]) : 0;
}

// Speed codes 0 and 1 stop the loco (1 at once): 14 and 27/28 steps keep the
// code in bits 3..0, 128 steps in bits 6..0.
bool stopsLoco(std::uint8_t instruction, std::uint8_t speed)
{
    return (speed & (instruction == 0x13 ? 0x7F : 0x0F)) <= 1;
}

} // namespace

Command classify(const QByteArray& frame)
{
    const std::uint8_t header = byteAt(frame, 0);
    const std::uint8_t second = byteAt(frame, 1);
    const std::uint32_t loco = static_cast<std::uint32_t>((byteAt(frame, 2) & 0x3F) << 8 | byteAt(frame, 3));
    if (header == 0x80 && second == 0x80)
        return {Kind::EmergencyStop, 0};
    if (header == 0x21 && second == 0x80)
        return {Kind::PowerOff, 0};
    if (header == 0xF0 || (header == 0x21 && (second == 0x21 || second == 0x24)))
        return {Kind::Query, 0};
    if (header == 0x52) {
        // Activate and deactivate of one output share a target: the newer wins.
        const std::uint32_t output = 0x3000000u | static_cast<std::uint32_t>(second) << 8 | (byteAt(frame, 2) & 0x07u);
        return {(byteAt(frame, 2) & 0x08) ? Kind::Other : Kind::AccessoryOff, output};
    }
    // A loco's own emergency stop replaces its speed: the same target.
    if (header == 0x92 && frame.size() >= 4) {
        const std::uint32_t stopped = static_cast<std::uint32_t>((second & 0x3F) << 8 | byteAt(frame, 2));
        return {Kind::LocoStop, 0x1000000u | stopped << 8 | 0x10u};
    }
    if (header == 0xE4 && frame.size() >= 6) {
        // Speed frames of every step count are one target; each function group another.
        const bool speed = (second & 0xF0) == 0x10;
        const std::uint32_t target = 0x1000000u | loco << 8 | (speed ? 0x10u : second);
        return {speed && stopsLoco(second, byteAt(frame, 4)) ? Kind::LocoStop : Kind::Other, target};
    }
    if (header == 0xE5 && second == 0x43)
        return {Kind::Other, 0x2000000u | loco << 8};
    return {Kind::Other, 0};
}

} // namespace command_kind
