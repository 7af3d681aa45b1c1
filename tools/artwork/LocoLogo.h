#pragma once

#include <QImage>
#include <QSize>

namespace artwork {

// Direction badge of the loco window: a tank engine lettered "DCC".
inline constexpr QSize kLocoLogoSize{37, 26};

enum class Facing { Left, Right };

QImage drawLocoLogo(Facing facing);

} // namespace artwork
