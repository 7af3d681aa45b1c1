#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// A knob drawn in place of a missing knob bitmap: a black disc with a green
// pointer turned from 12 o'clock by frame / 7 of 120 degrees, clockwise for
// "Fwd" and anticlockwise for "Rev", with an F or R under it.
namespace knob_fallback {

constexpr int Size = 56;
constexpr double FullTurnDegrees = 120.0;
inline const QColor Pointer{0x3d, 0xdc, 0x84};

QPixmap draw(const QString& direction, int frame);

} // namespace knob_fallback
