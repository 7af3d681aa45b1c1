#include "Rle8Bmp.h"

#include <QDataStream>
#include <QFile>

#include <algorithm>

namespace artwork {
namespace {

constexpr int kMaxRun = 255;
// Shorter stretches are cheaper as encoded pairs than as an absolute block.
constexpr int kMinAbsolute = 3;

int runLength(const uchar *row, int from, int width)
{
    int end = from + 1;
    while (end < width && end - from < kMaxRun && row[end] == row[from])
        ++end;
    return end - from;
}

void encodeRow(const uchar *row, int width, QByteArray &out)
{
    int x = 0;
    while (x < width) {
        const int run = runLength(row, x, width);
        if (run >= kMinAbsolute || width - x < kMinAbsolute) {
            out.append(char(run));
            out.append(char(row[x]));
            x += run;
            continue;
        }
        // Collect mixed pixels until a worthwhile run starts.
        int end = x;
        while (end < width && end - x < kMaxRun) {
            int next = runLength(row, end, width);
            if (next >= kMinAbsolute)
                break;
            next = std::min(next, kMaxRun - (end - x));
            end += next;
        }
        const int count = end - x;
        if (count < kMinAbsolute) {
            // Too short for absolute mode: the escape byte would clash.
            for (int i = x; i < end; ++i) {
                out.append(char(1));
                out.append(char(row[i]));
            }
        } else {
            out.append(char(0));
            out.append(char(count));
            out.append(reinterpret_cast<const char *>(row + x), count);
            if (count & 1)
                out.append(char(0)); // absolute blocks end on a 16-bit boundary
        }
        x = end;
    }
}

} // namespace

QByteArray encodeRle8(const QImage &indexed)
{
    QByteArray out;
    const int h = indexed.height();
    for (int y = h - 1; y >= 0; --y) {
        encodeRow(indexed.constScanLine(y), indexed.width(), out);
        out.append(char(0));
        out.append(char(y == 0 ? 1 : 0)); // end of bitmap after the top row
    }
    return out;
}

bool saveRle8Bmp(const QImage &indexed, const QString &path)
{
    if (indexed.format() != QImage::Format_Indexed8 || indexed.colorCount() > 256)
        return false;
    const QByteArray pixels = encodeRle8(indexed);
    const quint32 colours = quint32(indexed.colorCount());
    const quint32 headerSize = 14 + 40 + 4 * colours;

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QDataStream s(&file);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint8('B') << quint8('M') << quint32(headerSize + pixels.size())
      << quint16(0) << quint16(0) << headerSize;
    s << quint32(40) << qint32(indexed.width()) << qint32(indexed.height())
      << quint16(1) << quint16(8) << quint32(1 /* BI_RLE8 */)
      << quint32(pixels.size()) << qint32(2835) << qint32(2835) // 72 dpi
      << colours << quint32(0);
    for (const QRgb c : indexed.colorTable())
        s << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    s.writeRawData(pixels.constData(), int(pixels.size()));
    return s.status() == QDataStream::Ok && file.flush();
}

} // namespace artwork
