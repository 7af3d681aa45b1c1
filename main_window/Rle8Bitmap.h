#pragma once

#include <QByteArrayView>
#include <QImage>

#include <optional>

// Reads an 8-bit run-length coded BMP (BI_RLE8): what paint programs save as
// a compressed 256-colour bitmap, and the form of the demo's layout. Qt reads
// these as well, but a byte at a time through QIODevice, which costs more
// than the rest of the start-up of the main window. The result is the same
// 8-bit picture with its colour table. Any other bitmap, and anything odd
// (deltas, runs past a line's end, indexes beyond the colour table, data
// cut short), gives nothing: the caller then leaves the file to Qt.
namespace rle8 {

std::optional<QImage> read(QByteArrayView file);

} // namespace rle8
