#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace artwork {

// Run-length coded pixel data (BI_RLE8) of an 8-bit indexed image, rows
// bottom-up as a BMP stores them. Flat-coloured pictures shrink to a few
// percent of their plain size, which matters for files kept in git.
QByteArray encodeRle8(const QImage &indexed);

// Writes `indexed` (Format_Indexed8, at most 256 colours) as an RLE8 BMP.
bool saveRle8Bmp(const QImage &indexed, const QString &path);

} // namespace artwork
