#include "xpressnet/UsbFraming.h"

namespace xpressnet {

Frame withUsbPrefix(Bytes frame, UsbPrefix prefix)
{
    Frame bytes;
    bytes.reserve(frame.size() + usbPrefixLength);
    if (prefix != UsbPrefix::None) {
        bytes.push_back(usbMarker);
        bytes.push_back(static_cast<std::uint8_t>(prefix));
    }
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    return bytes;
}

UsbPrefix usbPrefixOf(std::uint8_t second)
{
    switch (second) {
    case static_cast<std::uint8_t>(UsbPrefix::Answer):
        return UsbPrefix::Answer;
    case static_cast<std::uint8_t>(UsbPrefix::Broadcast):
        return UsbPrefix::Broadcast;
    default:
        return UsbPrefix::None;
    }
}

} // namespace xpressnet
