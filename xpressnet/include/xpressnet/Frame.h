#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xpressnet {

// One XpressNet frame: header, data bytes, check byte.
using Frame = std::vector<std::uint8_t>;
using Bytes = std::span<const std::uint8_t>;

// The header's low nibble counts the data bytes; header and check byte come on top.
constexpr std::size_t frameLength(std::uint8_t header)
{
    return static_cast<std::size_t>(header & 0x0Fu) + 2u;
}

// The longest frame there can be: fifteen data bytes.
inline constexpr std::size_t maxFrameLength = frameLength(0x0F);

// XOR of all bytes. Over a whole good frame this is 0; over all but the last
// byte it is the check byte the frame should end with.
std::uint8_t xorOf(Bytes bytes);

// The body with its check byte appended: withCheckByte({0xF0}) is F0 F0.
Frame withCheckByte(Frame body);

// "E4 12 00 03 89 7C": upper-case hex, one space between bytes.
std::string hex(Bytes bytes);

// The loco number in an address pair: 00 03 is 3, C4 D2 is 1234 (the two
// top bits of the high byte mark a long address).
unsigned locoNumber(std::uint8_t high, std::uint8_t low);

} // namespace xpressnet
