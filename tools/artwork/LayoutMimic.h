#pragma once

#include <QImage>
#include <QSize>

namespace artwork {

// The track plan is far bigger than the main window on purpose: the user
// scrolls around it as on a real layout's control panel.
inline constexpr QSize kMimicSize{3000, 2000};

// Full-colour drawing of the "Millbrook Junction" mimic panel.
QImage drawLayoutMimic();

// The same picture reduced to its most used colours (at most 256), ready
// for an RLE8 BMP. Every pixel takes the nearest colour, no dithering, so
// flat areas stay flat and compress well.
QImage reduceToIndexed(const QImage &picture);

} // namespace artwork
