#pragma once

#include "xpressnet/Frame.h"
#include "xpressnet/Reply.h"

#include <cstdint>

namespace dccbox {

using xpressnet::Frame;

// What an interface and the command station behind it send. Versions are BCD: 0x36 is 3.6.
inline const Frame commandAccepted{0x01, 0x04, 0x05};
inline const Frame frameDroppedError{0x01, 0x01, 0x00};
inline const Frame stationLinkError{0x01, 0x02, 0x03};
inline const Frame badCheckByteError{0x01, 0x03, 0x02};
inline const Frame stationBusy{0x61, 0x81, 0xE0};
inline const Frame timeSlotLost{0x01, 0x05, 0x04};
inline const Frame timeSlotRestored{0x01, 0x07, 0x06};

// Broadcasts of the command station to every device.
inline const Frame normalOperation{0x61, 0x01, 0x60};
inline const Frame trackPowerOff{0x61, 0x00, 0x61};
inline const Frame serviceMode{0x61, 0x02, 0x63};
inline const Frame emergencyStop{0x81, 0x00, 0x81};

// 02 HW SW X, the answer to F0 F0.
Frame versionReply(std::uint8_t hardware, std::uint8_t software);
// 63 21 VV TT X, the answer to 21 21 00.
Frame stationVersionReply(std::uint8_t version, std::uint8_t type);
// 62 22 SS X, the answer to 21 24 05.
Frame stationStatusReply(std::uint8_t status);
// E1 8x X.
Frame doubleHeaderRefusal(xpressnet::Refusal refusal);
// E3 40 AH AL X: another throttle took the loco (1..9999) over.
Frame takenOver(unsigned loco);

} // namespace dccbox
