#pragma once

#include "xpressnet/Frame.h"

#include <cstdint>
#include <string>
#include <string_view>

// "E4 12 00 03 89 7C" -> bytes, so the tables read like the traffic they stand for.
inline xpressnet::Frame bytesOf(std::string_view text)
{
    xpressnet::Frame bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(text.substr(pos, 2)), nullptr, 16)));
        pos += 2;
    }
    return bytes;
}
