#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

namespace artwork {

// Front of the twin DC controller; the two speed knobs are laid over it.
inline constexpr QSize kMotorPanelSize{276, 119};
inline constexpr QPoint kKnobCentreA{69, 50};
inline constexpr QPoint kKnobCentreB{207, 50};

QImage drawMotorPanel();

} // namespace artwork
