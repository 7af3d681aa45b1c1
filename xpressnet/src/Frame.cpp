#include "xpressnet/Frame.h"

namespace xpressnet {

std::uint8_t xorOf(Bytes bytes)
{
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes)
        sum ^= byte;
    return sum;
}

Frame withCheckByte(Frame body)
{
    const std::uint8_t check = xorOf(body);
    body.push_back(check);
    return body;
}

std::string hex(Bytes bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

unsigned locoNumber(std::uint8_t high, std::uint8_t low)
{
    return high == 0 ? low : ((high & 0x3Fu) << 8) | low;
}

} // namespace xpressnet
