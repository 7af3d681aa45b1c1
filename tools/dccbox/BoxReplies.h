#pragma once

#include "xpressnet/Frame.h"

#include <cstdint>

namespace dccbox {

using xpressnet::Frame;

// What an LI101F-like interface sends back. Versions are BCD: 0x36 is 3.6.
inline const Frame commandAccepted{0x01, 0x04, 0x05};
inline const Frame badCheckByteError{0x01, 0x03, 0x02};
inline const Frame frameDroppedError{0x01, 0x01, 0x00};

Frame versionReply(std::uint8_t hardware, std::uint8_t software);

// The answer to a well-formed command: the version for F0 F0, otherwise the
// plain acknowledgement (the simulated command station accepts everything).
Frame replyTo(const Frame& command, std::uint8_t hardware, std::uint8_t software);

} // namespace dccbox
