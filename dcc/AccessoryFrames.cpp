#include "AccessoryFrames.h"

#include "Frames.h"

namespace frames {

AccessoryTarget accessoryTarget(std::uint8_t number)
{
    const int n = number + 4;
    return {static_cast<std::uint8_t>(n / 4), static_cast<std::uint8_t>(n % 4)};
}

std::uint8_t accessoryData(std::uint8_t activate, std::uint8_t pair, bool secondOutput)
{
    return static_cast<std::uint8_t>(0x80 | (activate & 0x08) | ((pair & 0x03) << 1) | (secondOutput ? 1 : 0));
}

std::array<std::uint8_t, 4> accessoryFrame(std::uint8_t address, std::uint8_t data)
{
    std::array<std::uint8_t, 4> frame{0x52, address, data, 0};
    closeFrame(frame);
    return frame;
}

} // namespace frames
