#pragma once

#include <QImage>
#include <Qt>

namespace artwork {

// Main-window buttons: 32 x 32, transparent, one flat style throughout.
inline constexpr int kIconSize = 32;

QImage drawScrollArrow(Qt::ArrowType direction);
QImage drawModemIcon(bool connected);
QImage drawViewToggleIcon(); // switches the plan between solenoids and motors
QImage drawAboutIcon();
QImage drawWordpadIcon();
QImage drawHelpIcon();
QImage drawExitIcon();

} // namespace artwork
