#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRect>

#include <optional>
#include <vector>

// 8-bit run-length coded BMPs (BI_RLE8): what paint programs save as a
// compressed 256-colour bitmap, and the form of the demo's layout. A layout
// of 3000 x 2000 pixels codes to a few hundred kilobytes, and only the part
// in the window is ever seen, so the bitmap is kept as coded, with where each
// row starts, and rows are decoded when painted. Any other bitmap, and
// anything odd (deltas, runs past a line's end, indexes beyond the colour
// table, data cut short), gives nothing: the caller then leaves the file to
// Qt's reader.
namespace rle8 {

class Bitmap {
public:
    // The whole stream is checked here, so decoding later cannot go wrong.
    static std::optional<Bitmap> read(QByteArrayView file);

    QSize size() const { return size_; }
    // The pixels of `area` (cut to the bitmap) as an 8-bit picture with the
    // bitmap's colour table; a null picture for an area outside it.
    QImage pixels(const QRect& area) const;
    // What keeping it costs: the coded stream and the row starts.
    qsizetype heldBytes() const;

private:
    Bitmap() = default;
    void decodeRow(int y, int left, int right, uchar* out) const;

    QSize size_;
    QList<QRgb> colours_;
    int dotsPerMeterX_ = 0;
    int dotsPerMeterY_ = 0;
    QByteArray stream_;
    std::vector<quint32> rowStarts_; // into stream_, top row first
};

// The whole picture at once, as Qt's reader would give it.
std::optional<QImage> read(QByteArrayView file);

} // namespace rle8
