#include "dccbox/BoxReplies.h"

namespace dccbox {

Frame versionReply(std::uint8_t hardware, std::uint8_t software)
{
    return xpressnet::withCheckByte({0x02, hardware, software});
}

Frame replyTo(const Frame& command, std::uint8_t hardware, std::uint8_t software)
{
    if (command == Frame{0xF0, 0xF0})
        return versionReply(hardware, software);
    return commandAccepted;
}

} // namespace dccbox
