#include "LocoFrames.h"

#include "Frames.h"

#include <algorithm>

namespace loco_frames {

std::optional<Address> addressOf(int number)
{
    if (number >= 1 && number <= 99)
        return Address{0, static_cast<std::uint8_t>(number)};
    if (number >= 100 && number <= 9999)
        return Address{static_cast<std::uint8_t>(0xC0 + number / 256), static_cast<std::uint8_t>(number % 256)};
    return std::nullopt;
}

int chipValue(const QString& chip)
{
    qsizetype i = 0;
    while (i < chip.size() && chip[i] == QLatin1Char(' '))
        ++i;
    int value = 0;
    for (; i < chip.size() && chip[i].isDigit() && chip[i].unicode() < 128; ++i) {
        value = value * 10 + (chip[i].unicode() - '0');
        if (value > 99999)
            return 99999;
    }
    return value;
}

namespace {

Frame closed(Frame frame)
{
    frames::closeFrame(frame);
    return frame;
}

} // namespace

Frame speedFrame(Address engine, std::uint8_t speedByte)
{
    return closed({0xE4, 0x12, engine.high, engine.low, speedByte, 0, 0});
}

Frame emergencyStopFrame(Address loco)
{
    return closed({0x92, loco.high, loco.low, 0, 0, 0, 0});
}

int numberOf(Address address)
{
    if (address.high == 0)
        return address.low;
    return (address.high & 0x3F) << 8 | address.low;
}

std::uint8_t speedByteOfStep(int step, bool forward)
{
    const std::uint8_t direction = forward ? 0x80 : 0x00;
    if (step <= 0)
        return direction;
    // Code r = step + 3: bits 3..0 take r / 2, bit 4 the half step r % 2.
    const int code = std::min(step, 28) + 3;
    return static_cast<std::uint8_t>(direction | (code & 1) << 4 | code >> 1);
}

int stepOfSpeedByte(std::uint8_t speedByte)
{
    const int code = (speedByte & 0x0F) * 2 + (speedByte >> 4 & 1);
    return code < 4 ? 0 : code - 3;
}

Frame functionGroupFrame(std::uint8_t group, Address engine, std::uint8_t functionByte)
{
    return closed({0xE4, group, engine.high, engine.low, functionByte, 0, 0});
}

Frame doubleHeaderFrame(Address engine, Address pilot)
{
    return closed({0xE5, 0x43, engine.high, engine.low, pilot.high, pilot.low, 0});
}

std::optional<std::uint8_t> functionGroupOf(int function)
{
    if (function >= 0 && function <= 4)
        return 0x20;
    if (function >= 5 && function <= 8)
        return 0x21;
    if (function >= 9 && function <= 12)
        return 0x22;
    return std::nullopt;
}

std::uint8_t functionWeight(int function)
{
    static constexpr std::uint8_t weights[] = {16, 1, 2, 4, 8, 32, 64, 128};
    return function >= 0 && function <= 7 ? weights[function] : 0;
}

} // namespace loco_frames
