#pragma once

#include "dccbox/Frame.h"

#include <string>

namespace dccbox {

// A command from the PC in words, e.g. "loco 3: speed code 9 = step 15 of 28,
// forward". Follows this program's own frames, notably its function bytes
// (F1..F4 = bits 0..3, F0 = bit 4, F5..F7 = bits 5..7 in every group).
std::string describeFrame(const Frame& frame);

// A frame from the box (or the command station behind it) in words, e.g.
// "command accepted" or "interface version: hardware 0.1, software 3.6".
std::string describeReply(const Frame& frame);

} // namespace dccbox
