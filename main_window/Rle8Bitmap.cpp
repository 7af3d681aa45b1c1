#include "Rle8Bitmap.h"

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

// Walks the pixel stream as decoding will, bottom row first, noting where
// each row starts. Every pixel must be written: false on anything odd, and on
// rows or a bitmap ended early. It runs over every code of the file at each
// start, so it keeps to plain pointers.
bool indexRows(const uchar* const begin, const uchar* const end, QSize size, int colours, std::vector<quint32>& starts)
{
    const int width = size.width();
    const int height = size.height();
    starts.reserve(static_cast<std::size_t>(height));
    starts.assign(1, 0);
    int row = 0; // counted from the bottom
    int x = 0;
    const uchar* at = begin;
    while (end - at >= 2) {
        const int count = at[0];
        const int value = at[1];
        at += 2;
        if (count > 0) { // a run of one colour
            if (x + count > width || value >= colours || row >= height)
                return false;
            x += count;
            continue;
        }
        if (value == 0) { // end of line
            if (x != width || row >= height)
                return false;
            ++row;
            x = 0;
            if (row < height)
                starts.push_back(static_cast<quint32>(at - begin));
            continue;
        }
        if (value == 1) // end of bitmap
            return (row == height - 1 && x == width) || (row == height && x == 0);
        if (value == 2) // a delta leaves pixels unwritten
            return false;
        // Literal bytes, padded to an even count.
        const int padded = value + (value & 1);
        if (row >= height || x + value > width || end - at < padded)
            return false;
        if (colours < 256 && *std::max_element(at, at + value) >= colours)
            return false;
        at += padded;
        x += value;
    }
    return false; // no end-of-bitmap mark
}

} // namespace

namespace rle8 {

std::optional<Bitmap> Bitmap::read(QByteArrayView file)
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

    Bitmap bitmap;
    bitmap.size_ = QSize(width, height);
    const auto* stream = reinterpret_cast<const uchar*>(file.data());
    if (!indexRows(stream + pixelsAt, stream + file.size(), bitmap.size_, colours, bitmap.rowStarts_))
        return std::nullopt;
    // Top row first, as pictures are painted.
    std::reverse(bitmap.rowStarts_.begin(), bitmap.rowStarts_.end());
    bitmap.stream_ = file.sliced(pixelsAt).toByteArray();
    bitmap.colours_.resize(colours);
    for (int i = 0; i < colours; ++i) {
        const qsizetype entry = tableAt + 4 * i;
        bitmap.colours_[i] = qRgb(in.u8(entry + 2), in.u8(entry + 1), in.u8(entry));
    }
    bitmap.dotsPerMeterX_ = static_cast<std::int32_t>(in.u32(FileHeader + 24));
    bitmap.dotsPerMeterY_ = static_cast<std::int32_t>(in.u32(FileHeader + 28));
    return bitmap;
}

void Bitmap::decodeRow(int y, int left, int right, uchar* out) const
{
    // The stream was checked when read: every code here is whole and in range.
    const auto* codes = reinterpret_cast<const uchar*>(stream_.constData());
    qsizetype at = rowStarts_[static_cast<std::size_t>(y)];
    int x = 0;
    while (x < right) {
        const int count = codes[at];
        const int value = codes[at + 1];
        at += 2;
        if (count == 0 && value <= 1) // end of line or of bitmap
            return;
        const int pixels = count > 0 ? count : value;
        const int from = std::max(x, left);
        const int to = std::min(x + pixels, right);
        if (from < to) {
            if (count > 0)
                std::memset(out + (from - left), value, static_cast<std::size_t>(to - from));
            else
                std::memcpy(out + (from - left), codes + at + (from - x), static_cast<std::size_t>(to - from));
        }
        if (count == 0)
            at += pixels + (pixels & 1);
        x += pixels;
    }
}

QImage Bitmap::pixels(const QRect& area) const
{
    const QRect shown = area & QRect(QPoint(0, 0), size_);
    if (shown.isEmpty())
        return {};
    QImage image(shown.size(), QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable(colours_);
    if (dotsPerMeterX_ > 0 && dotsPerMeterY_ > 0) {
        image.setDotsPerMeterX(dotsPerMeterX_);
        image.setDotsPerMeterY(dotsPerMeterY_);
    }
    for (int row = 0; row < shown.height(); ++row)
        decodeRow(shown.top() + row, shown.left(), shown.right() + 1, image.scanLine(row));
    return image;
}

qsizetype Bitmap::heldBytes() const
{
    return stream_.capacity() + static_cast<qsizetype>(rowStarts_.capacity() * sizeof(quint32))
        + colours_.capacity() * static_cast<qsizetype>(sizeof(QRgb));
}

std::optional<QImage> read(QByteArrayView file)
{
    const std::optional<Bitmap> bitmap = Bitmap::read(file);
    if (!bitmap)
        return std::nullopt;
    QImage image = bitmap->pixels(QRect(QPoint(0, 0), bitmap->size()));
    if (image.isNull())
        return std::nullopt;
    return image;
}

} // namespace rle8
