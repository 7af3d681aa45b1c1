#pragma once

#include <cmath>

// Positions and sizes are kept in twips, the program's own unit: 1440 to the
// inch, 15 to a logical pixel at 96 dpi. Qt scales logical pixels on high-dpi
// screens, so this one conversion is all the program needs.
namespace twips {

constexpr int PerPixel = 15;

constexpr int toPixels(int twips)
{
    // Round halves away from zero so that -45 twips and 45 twips mirror.
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

constexpr int fromPixels(int pixels)
{
    return pixels * PerPixel;
}

} // namespace twips
