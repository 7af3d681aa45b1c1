#pragma once

#include "xpressnet/UsbFraming.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dccbox {

struct Options {
    // Delay before each answer, like a USB adapter's 16 ms latency; 0 = at once.
    int answerDelayMs = 0;
    // Start without answering anything: the port is there but no box is behind it.
    bool silent = false;
    // Versions reported for F0 F0, in BCD (0x36 = 3.6).
    std::uint8_t hardware = 0x01;
    std::uint8_t software = 0x36;
    // When set, a symlink to the pty is made here on start and removed on stop.
    std::string linkPath;
    // Bare frames (LI101F and the like), or FF FE / FF FD prefixes (LI-USB).
    xpressnet::Framing framing = xpressnet::Framing::Bare;
    // Set: listen on 127.0.0.1 at this port (0: any free one) instead of a pty.
    std::optional<std::uint16_t> tcpPort;
    // The command station's answer to 21 21 00: its type and its version in BCD.
    std::uint8_t stationType = 0x00;
    std::uint8_t stationVersion = 0x36;
    // Refuse double headers as a real command station does (E1 81, E1 83, E1 84).
    bool refuseDoubleHeaders = true;
};

// "LZV100", "LH200:1.2", "z21", "multimaus:3.0", "0x20:4.0": a type by name
// (any case) or number, optionally a version. False, touching nothing, if unreadable.
bool parseStation(std::string_view text, std::uint8_t& type, std::uint8_t& version);

} // namespace dccbox
