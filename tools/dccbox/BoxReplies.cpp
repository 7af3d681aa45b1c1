#include "dccbox/BoxReplies.h"

namespace dccbox {

using xpressnet::withCheckByte;

Frame versionReply(std::uint8_t hardware, std::uint8_t software)
{
    return withCheckByte({0x02, hardware, software});
}

Frame stationVersionReply(std::uint8_t version, std::uint8_t type)
{
    return withCheckByte({0x63, 0x21, version, type});
}

Frame stationStatusReply(std::uint8_t status)
{
    return withCheckByte({0x62, 0x22, status});
}

Frame doubleHeaderRefusal(xpressnet::Refusal refusal)
{
    return withCheckByte({0xE1, static_cast<std::uint8_t>(0x80 | static_cast<std::uint8_t>(refusal))});
}

Frame takenOver(unsigned loco)
{
    // Short addresses travel as 00 nn, long ones with the two top bits set.
    const unsigned wire = loco <= 99 ? loco : 0xC000u + loco;
    return withCheckByte({0xE3, 0x40, static_cast<std::uint8_t>(wire >> 8), static_cast<std::uint8_t>(wire & 0xFF)});
}

} // namespace dccbox
