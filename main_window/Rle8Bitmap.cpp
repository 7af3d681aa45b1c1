#include "Rle8Bitmap.h"

#include <QList>

#include <algorithm>

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t CompressionRle8 = 1;
constexpr std::int64_t MaxPixels = 256LL * 1024 * 1024; // Qt's own limit for a picture

// Little-endian fields at fixed offsets; out of range reads as "odd".
class Bytes {
public:
    explicit Bytes(QByteArrayView data)
        : data_(data)
    {
    }

    bool has(qsizetype at, qsizetype count) const { return at >= 0 && count >= 0 && at <= data_.size() - count; }
    std::uint32_t u32(qsizetype at) const { return u16(at) | (std::uint32_t{u16(at + 2)} << 16); }
    std::uint16_t u16(qsizetype at) const
    {
        return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
    }
    std::uint8_t u8(qsizetype offset) const { return *at(offset); }
    const uchar* at(qsizetype offset) const { return reinterpret_cast<const uchar*>(data_.data()) + offset; }

private:
    QByteArrayView data_;
};

// Decodes the pixel stream, bottom row first. Every pixel must be written:
// false on anything odd, and on rows or a bitmap ended early.
bool decode(const Bytes& in, qsizetype at, qsizetype end, QImage& image, int colours)
{
    const int width = image.width();
    const int height = image.height();
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    int row = 0; // counted from the bottom
    int x = 0;
    while (at + 2 <= end) {
        const int count = in.u8(at);
        const int value = in.u8(at + 1);
        at += 2;
        if (count == 0 && value == 0) { // end of line
            if (x != width || row >= height)
                return false;
            ++row;
            x = 0;
            continue;
        }
        if (count == 0 && value == 1) // end of bitmap
            return (row == height - 1 && x == width) || (row == height && x == 0);
        if (count == 0 && value == 2) // a delta leaves pixels unwritten
            return false;
        // A run of one colour, or literal bytes padded to an even count.
        const int pixels = count > 0 ? count : value;
        const int padded = pixels + (pixels & 1);
        if (row >= height || x + pixels > width || (count == 0 && (!in.has(at, padded) || at + padded > end)))
            return false;
        uchar* line = bits + stride * (height - 1 - row) + x;
        if (count > 0) {
            if (value >= colours)
                return false;
            std::memset(line, value, static_cast<std::size_t>(count));
        } else {
            const uchar* literal = in.at(at);
            if (colours < 256 && *std::max_element(literal, literal + pixels) >= colours)
                return false;
            std::memcpy(line, literal, static_cast<std::size_t>(pixels));
            at += padded;
        }
        x += pixels;
    }
    return false; // no end-of-bitmap mark
}

} // namespace

namespace rle8 {

std::optional<QImage> read(QByteArrayView file)
{
    const Bytes in(file);
    constexpr qsizetype FileHeader = 14;
    if (!in.has(0, FileHeader + 40) || in.u8(0) != 'B' || in.u8(1) != 'M')
        return std::nullopt;
    const std::uint32_t pixelsAt = in.u32(10);
    const std::uint32_t infoSize = in.u32(FileHeader);
    const auto width = static_cast<std::int32_t>(in.u32(FileHeader + 4));
    const auto height = static_cast<std::int32_t>(in.u32(FileHeader + 8));
    const std::uint16_t bits = in.u16(FileHeader + 14);
    const std::uint32_t compression = in.u32(FileHeader + 16);
    const std::uint32_t used = in.u32(FileHeader + 32);
    // A negative height (top-down rows) is not allowed with RLE8.
    if (infoSize < 40 || infoSize > 1024 || bits != 8 || compression != CompressionRle8 || width <= 0
        || height <= 0 || std::int64_t{width} * height > MaxPixels || used > 256)
        return std::nullopt;
    const int colours = used == 0 ? 256 : static_cast<int>(used);
    const qsizetype tableAt = FileHeader + static_cast<qsizetype>(infoSize);
    if (!in.has(tableAt, 4 * colours) || pixelsAt < tableAt + 4 * colours || pixelsAt >= file.size())
        return std::nullopt;

    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        return std::nullopt;
    QList<QRgb> table(colours);
    for (int i = 0; i < colours; ++i) {
        const qsizetype entry = tableAt + 4 * i;
        table[i] = qRgb(in.u8(entry + 2), in.u8(entry + 1), in.u8(entry));
    }
    image.setColorTable(table);
    const auto xDots = static_cast<std::int32_t>(in.u32(FileHeader + 24));
    const auto yDots = static_cast<std::int32_t>(in.u32(FileHeader + 28));
    if (xDots > 0 && yDots > 0) {
        image.setDotsPerMeterX(xDots);
        image.setDotsPerMeterY(yDots);
    }
    if (!decode(in, pixelsAt, file.size(), image, colours))
        return std::nullopt;
    return image;
}

} // namespace rle8
