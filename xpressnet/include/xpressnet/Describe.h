#pragma once

#include "xpressnet/Frame.h"

#include <string>

namespace xpressnet {

// The one decoder from frames to words, for the simulated box, the program's
// frame monitor and its messages. Both take one whole frame, check byte
// included; a wrong length or check byte is said as such.

// A frame the PC sends, e.g. "loco 3: speed code 9 = step 15 of 28, forward".
// Follows this program's own frames, notably its function bytes (F1..F4 =
// bits 0..3, F0 = bit 4, F5..F7 = bits 5..7 in every group).
std::string describeCommand(Bytes frame);

// A frame from the interface or the command station, e.g. "command accepted"
// or "command station: LZ100/LZV100, version 3.6".
std::string describeReply(Bytes frame);

} // namespace xpressnet
