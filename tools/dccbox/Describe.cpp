#include "dccbox/Describe.h"

#include <array>
#include <cstdint>
#include <utility>

namespace dccbox {
namespace {

std::string loco(std::uint8_t high, std::uint8_t low)
{
    // Short addresses travel as 00 nn, long ones with the two top bits set.
    const unsigned number = high == 0 ? low : ((high & 0x3Fu) << 8) | low;
    return "loco " + std::to_string(number);
}

std::string speed(std::uint8_t value)
{
    // Bit 4 is the least significant half step of the 28-step code.
    const unsigned code = value & 0x0Fu;
    const bool halfStep = (value & 0x10u) != 0;
    const unsigned raw = code * 2 + (halfStep ? 1 : 0);

    std::string words = "speed code " + std::to_string(code);
    if (halfStep)
        words += " + half step";
    words += " = ";
    if (raw <= 1)
        words += "stop";
    else if (raw <= 3)
        words += "emergency stop";
    else
        words += "step " + std::to_string(raw - 3) + " of 28";
    words += (value & 0x80u) ? ", forward" : ", reverse";
    return words;
}

std::string functions(std::uint8_t group, std::uint8_t byte)
{
    static constexpr std::array<const char*, 3> groupNames = {"1 (F0-F4)", "2 (F5-F8)", "3 (F9-F12)"};
    // Bit of function Fn in this program's function byte, n = 0..7.
    static constexpr std::array<int, 8> bitOf = {4, 0, 1, 2, 3, 5, 6, 7};

    std::string on;
    for (std::size_t n = 0; n < bitOf.size(); ++n) {
        if (byte & (1u << bitOf[n]))
            on += " F" + std::to_string(n);
    }
    return "function group " + std::string(groupNames[group]) + ", byte " + std::to_string(byte) + ":"
        + (on.empty() ? std::string(" all off") : on + " on");
}

std::string accessory(std::uint8_t address, std::uint8_t data)
{
    const unsigned pair = (data >> 1) & 0x03u;
    const unsigned turnout = address * 4u + pair + 1;
    return "accessory address " + std::to_string(address) + ", pair " + std::to_string(pair) + ", side "
        + ((data & 0x01u) ? "R" : "L") + ((data & 0x08u) ? ", on" : ", off") + " (Lenz turnout "
        + std::to_string(turnout) + ")";
}

std::string bcdVersion(std::uint8_t value)
{
    return std::to_string(value >> 4) + "." + std::to_string(value & 0x0F);
}

} // namespace

std::string describeFrame(const Frame& f)
{
    if (f.empty())
        return "empty frame";
    if (f.size() != frameLength(f[0]))
        return "malformed frame (" + std::to_string(f.size()) + " bytes, header says "
            + std::to_string(frameLength(f[0])) + ")";

    switch (f[0]) {
    case 0xF0:
        return "interface version query";
    case 0xE4:
        if (f[1] == 0x12)
            return loco(f[2], f[3]) + ": " + speed(f[4]);
        if (f[1] >= 0x20 && f[1] <= 0x22)
            return loco(f[2], f[3]) + ": " + functions(static_cast<std::uint8_t>(f[1] - 0x20), f[4]);
        break;
    case 0xE5:
        if (f[1] != 0x43)
            break;
        if (f[4] == 0 && f[5] == 0)
            return "double header of " + loco(f[2], f[3]) + " dissolved";
        return "double header: " + loco(f[2], f[3]) + " + " + loco(f[4], f[5]) + " established";
    case 0x52:
        return accessory(f[1], f[2]);
    default:
        break;
    }
    return "unknown command";
}

std::string describeReply(const Frame& f)
{
    static const std::array<std::pair<Frame, const char*>, 13> known = {{
        {{0x01, 0x04, 0x05}, "command accepted"},
        {{0x01, 0x01, 0x00}, "error between PC and interface (frame dropped)"},
        {{0x01, 0x02, 0x03}, "error between interface and command station"},
        {{0x01, 0x03, 0x02}, "unknown communication error (bad check byte)"},
        {{0x01, 0x05, 0x04}, "command station gives the interface no time slot"},
        {{0x01, 0x06, 0x07}, "interface buffer overflow"},
        {{0x61, 0x01, 0x60}, "track power on"},
        {{0x61, 0x00, 0x61}, "track power off"},
        {{0x61, 0x02, 0x63}, "service mode"},
        {{0x81, 0x00, 0x81}, "emergency stop"},
        {{0x61, 0x80, 0xE1}, "transfer error"},
        {{0x61, 0x81, 0xE0}, "command station busy"},
        {{0x61, 0x82, 0xE3}, "instruction not supported"},
    }};
    for (const auto& [bytes, words] : known) {
        if (bytes == f)
            return words;
    }
    if (f.size() == 4 && f[0] == 0x02)
        return "interface version: hardware " + bcdVersion(f[1]) + ", software " + bcdVersion(f[2]);
    return "unknown reply";
}

} // namespace dccbox
