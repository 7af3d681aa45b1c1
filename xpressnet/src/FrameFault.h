#pragma once

#include "xpressnet/Frame.h"

#include <string>

namespace xpressnet {

// What is wrong with a frame's length or check byte, in words; empty when nothing is.
inline std::string frameFault(Bytes f)
{
    if (f.empty())
        return "empty frame";
    if (f.size() != frameLength(f[0]))
        return "malformed frame (" + std::to_string(f.size()) + " bytes, header says "
            + std::to_string(frameLength(f[0])) + ")";
    if (xorOf(f) != 0)
        return "bad check byte (should be " + hex(std::vector{xorOf(f.first(f.size() - 1))}) + ")";
    return {};
}

} // namespace xpressnet
