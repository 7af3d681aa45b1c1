#pragma once

#include <array>
#include <cstdint>

// The XpressNet accessory decoder operation request, 52 AA DD X.
namespace frames {

struct AccessoryTarget {
    std::uint8_t address = 0; // frame byte AA
    std::uint8_t pair = 0;    // output pair 0..3 within the decoder
};

// Accessory number n to decoder address byte and output pair:
// (n + 4) div 4 and (n + 4) mod 4, so n = 1 is address 1, pair 1.
AccessoryTarget accessoryTarget(std::uint8_t number);

// 1 0 0 0 D P1 P0 S: activate is 8 (on) or 0 (off), S picks the pair's
// second output.
std::uint8_t accessoryData(std::uint8_t activate, std::uint8_t pair, bool secondOutput);

std::array<std::uint8_t, 4> accessoryFrame(std::uint8_t address, std::uint8_t data);

} // namespace frames
