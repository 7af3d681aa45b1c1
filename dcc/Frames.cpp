#include "Frames.h"

#include <cassert>

namespace frames {

std::uint8_t checkByte(std::span<const std::uint8_t> bytes)
{
    std::uint8_t x = 0;
    for (std::uint8_t b : bytes)
        x ^= b;
    return x;
}

void closeFrame(std::span<std::uint8_t> buffer)
{
    assert(!buffer.empty());
    const std::size_t length = lengthOf(buffer[0]);
    assert(length <= buffer.size());
    buffer[length - 1] = checkByte(buffer.first(length - 1));
}

} // namespace frames
