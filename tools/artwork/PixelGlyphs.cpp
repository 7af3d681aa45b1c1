#include "PixelGlyphs.h"

#include <array>

namespace artwork {
namespace {

using Rows = std::array<const char *, kGlyphHeight>;

const Rows *glyph(QChar letter)
{
    static const Rows d{"###.", "#..#", "#..#", "#..#", "#..#", "###."};
    static const Rows c{".###", "#...", "#...", "#...", "#...", ".###"};
    static const Rows f{"####", "#...", "###.", "#...", "#...", "#..."};
    static const Rows r{"###.", "#..#", "###.", "#.#.", "#..#", "#..#"};
    switch (letter.toUpper().unicode()) {
    case 'D': return &d;
    case 'C': return &c;
    case 'F': return &f;
    case 'R': return &r;
    default: return nullptr;
    }
}

} // namespace

int pixelTextWidth(QStringView text)
{
    return text.isEmpty() ? 0 : int(text.size()) * (kGlyphWidth + 1) - 1;
}

void drawPixelText(QImage &image, int x, int y, QStringView text, QColor colour)
{
    for (const QChar letter : text) {
        if (const Rows *rows = glyph(letter)) {
            for (int gy = 0; gy < kGlyphHeight; ++gy)
                for (int gx = 0; gx < kGlyphWidth; ++gx)
                    if ((*rows)[gy][gx] == '#' && image.valid(x + gx, y + gy))
                        image.setPixelColor(x + gx, y + gy, colour);
        }
        x += kGlyphWidth + 1;
    }
}

} // namespace artwork
