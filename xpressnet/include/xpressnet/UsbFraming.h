#pragma once

#include "xpressnet/Frame.h"

#include <cstdint>

namespace xpressnet {

// How frames travel on a link. An LI-USB interface (and the LAN interfaces
// built on it) puts two bytes before every frame: FF FE before each frame the
// PC sends and before each answer, FF FD before an unprompted broadcast.
enum class Framing { Bare, Usb };

enum class UsbPrefix : std::uint8_t {
    None = 0x00,      // a bare frame
    Answer = 0xFE,    // FF FE: a frame from the PC, or the answer to one
    Broadcast = 0xFD, // FF FD: sent unprompted, to every device
};

inline constexpr std::uint8_t usbMarker = 0xFF;
inline constexpr std::size_t usbPrefixLength = 2;

// FF FE + frame (or FF FD + frame); the frame itself when prefix is None.
Frame withUsbPrefix(Bytes frame, UsbPrefix prefix = UsbPrefix::Answer);

// What the byte after FF says: Answer, Broadcast, or None for anything else.
UsbPrefix usbPrefixOf(std::uint8_t second);

} // namespace xpressnet
