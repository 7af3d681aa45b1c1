#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// XpressNet framing: the header's low nibble counts the data bytes, and a
// check byte (XOR of every byte before it) closes the frame.
namespace frames {

constexpr std::size_t lengthOf(std::uint8_t header)
{
    return static_cast<std::size_t>(header & 0x0F) + 2;
}

// XOR of the given bytes.
std::uint8_t checkByte(std::span<const std::uint8_t> bytes);

// Writes the check byte after the data bytes of the frame that starts at
// buffer[0]; the buffer must be long enough for the frame.
void closeFrame(std::span<std::uint8_t> buffer);

} // namespace frames
