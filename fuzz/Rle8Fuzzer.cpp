// Feeds arbitrary bytes to the reader of run-length coded bitmaps behind the
// mimic. It must never crash, a picture it accepts must be a whole 8-bit
// picture whose every pixel names a colour of its table, and any part of it
// decoded alone must be that part of the whole.
#include "../main_window/Rle8Bitmap.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QImage> image = rle8::read(file);
    if (!image)
        return 0;
    if (image->format() != QImage::Format_Indexed8 || image->colorCount() < 1 || image->colorCount() > 256)
        __builtin_trap();
    for (int y = 0; y < image->height(); ++y) {
        const uchar* line = image->constScanLine(y);
        for (int x = 0; x < image->width(); ++x)
            if (line[x] >= image->colorCount())
                __builtin_trap();
    }
    const QRect middle(image->width() / 3, image->height() / 3, image->width() / 3 + 1, image->height() / 3 + 1);
    if (rle8::Bitmap::read(file)->pixels(middle) != image->copy(middle & image->rect()))
        __builtin_trap();
    return 0;
}
