#pragma once

#include <QColor>
#include <QImage>
#include <QStringView>

namespace artwork {

// Hand-set 4 x 6 letters for pictures too small for a font: antialiased
// type at six pixels high turns to grey mush, these stay sharp.
constexpr int kGlyphWidth = 4;
constexpr int kGlyphHeight = 6;

// Width in pixels of `text` with one blank column between letters.
int pixelTextWidth(QStringView text);

// Sets the pixels of `text` (letters D, C, F, R) with the top-left corner at
// (x, y). Unknown letters are left blank.
void drawPixelText(QImage &image, int x, int y, QStringView text, QColor colour);

} // namespace artwork
