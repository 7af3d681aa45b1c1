#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

namespace artwork {

// Speed knob of the twin DC controller, one picture per speed step.
inline constexpr QSize kKnobSize{56, 56};
inline constexpr int kKnobFrames = 8;       // 0 = stop, 7 = full
inline constexpr qreal kKnobFullTurn = 120; // degrees from 12 o'clock at full

// Shared with the panel's knob wells, so a knob sits there without a seam.
inline const QColor kKnobBackground{0xd4, 0xd7, 0xda};

enum class KnobDirection { Forward, Reverse };

// Forward turns clockwise under a green arc, reverse anticlockwise under an
// amber one; an "F" or "R" under the knob says the same.
QImage drawKnobFrame(KnobDirection direction, int frame);

} // namespace artwork
