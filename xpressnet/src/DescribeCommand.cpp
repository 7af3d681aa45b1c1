#include "xpressnet/Describe.h"

#include "FrameFault.h"

#include <array>
#include <cstdint>

namespace xpressnet {
namespace {

std::string loco(std::uint8_t high, std::uint8_t low)
{
    return "loco " + std::to_string(locoNumber(high, low));
}

std::string direction(std::uint8_t value)
{
    return (value & 0x80u) ? ", forward" : ", reverse";
}

std::string speed28(std::uint8_t value)
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
    return words + direction(value);
}

std::string speed128(std::uint8_t value)
{
    const unsigned code = value & 0x7Fu;
    std::string words = "128-step code " + std::to_string(code) + " = ";
    if (code == 0)
        words += "stop";
    else if (code == 1)
        words += "emergency stop";
    else
        words += "step " + std::to_string(code - 1) + " of 126";
    return words + direction(value);
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

std::string locoCommand(Bytes f)
{
    const std::string who = loco(f[2], f[3]) + ": ";
    if (f[1] == 0x12)
        return who + speed28(f[4]);
    if (f[1] == 0x13)
        return who + speed128(f[4]);
    if (f[1] >= 0x20 && f[1] <= 0x22)
        return who + functions(static_cast<std::uint8_t>(f[1] - 0x20), f[4]);
    return {};
}

std::string doubleHeader(Bytes f)
{
    if (f[1] != 0x43)
        return {};
    if (f[4] == 0 && f[5] == 0)
        return "double header of " + loco(f[2], f[3]) + " dissolved";
    return "double header: " + loco(f[2], f[3]) + " + " + loco(f[4], f[5]) + " established";
}

std::string stationCommand(std::uint8_t what)
{
    switch (what) {
    case 0x21:
        return "command station version query";
    case 0x24:
        return "command station status query";
    case 0x80:
        return "track power off";
    case 0x81:
        return "resume normal operation (track power on)";
    default:
        return {};
    }
}

} // namespace

std::string describeCommand(Bytes f)
{
    if (std::string fault = frameFault(f); !fault.empty())
        return fault;

    std::string words;
    switch (f[0]) {
    case 0xF0:
        words = "interface version query";
        break;
    case 0x21:
        words = stationCommand(f[1]);
        break;
    case 0x80:
        words = "emergency stop of all locos";
        break;
    case 0x92:
        words = "emergency stop of " + loco(f[1], f[2]);
        break;
    case 0xE4:
        words = locoCommand(f);
        break;
    case 0xE5:
        words = doubleHeader(f);
        break;
    case 0x52:
        words = accessory(f[1], f[2]);
        break;
    default:
        break;
    }
    return words.empty() ? "unknown command" : words;
}

} // namespace xpressnet
