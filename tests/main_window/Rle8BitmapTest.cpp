#include "Rle8Bitmap.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QtEndian>

namespace {

// A BMP file with an RLE8 pixel stream and a grey colour table.
QByteArray rle8File(int width, int height, int colours, const QByteArray& stream)
{
    QByteArray file(14 + 40 + 4 * colours, '\0');
    auto put32 = [&file](int at, qint32 value) { qToLittleEndian(value, file.data() + at); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<qint32>(file.size() + stream.size()));
    put32(10, static_cast<qint32>(file.size()));
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    qToLittleEndian<quint16>(1, file.data() + 26);
    qToLittleEndian<quint16>(8, file.data() + 28);
    put32(30, 1); // BI_RLE8
    put32(34, static_cast<qint32>(stream.size()));
    put32(46, colours);
    for (int i = 0; i < colours; ++i)
        file[54 + 4 * i] = file[55 + 4 * i] = file[56 + 4 * i] = static_cast<char>(i * 50);
    return file + stream;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

struct RleCase {
    const char* name;
    QByteArray file;
    bool read; // else left to Qt
};

void PrintTo(const RleCase& c, std::ostream* out)
{
    *out << c.name;
}

class Rle8 : public ::testing::TestWithParam<RleCase> {};

TEST_P(Rle8, ReadsWhatItCanExactlyAsQtDoes)
{
    const std::optional<QImage> image = rle8::read(GetParam().file);
    ASSERT_EQ(image.has_value(), GetParam().read);
    if (image) {
        const QImage qt = QImage::fromData(GetParam().file, "BMP");
        EXPECT_EQ(image->format(), QImage::Format_Indexed8);
        EXPECT_EQ(image->colorTable(), qt.colorTable());
        EXPECT_EQ(image->convertToFormat(QImage::Format_RGB32), qt.convertToFormat(QImage::Format_RGB32));
    }
}

QByteArray topDown()
{
    QByteArray file = rle8File(4, 2, 4, bytes({4, 1, 0, 0, 4, 2, 0, 1}));
    qToLittleEndian<qint32>(-2, file.data() + 22);
    return file;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Streams, Rle8, ::testing::Values(
    RleCase{"runs_and_literals", rle8File(4, 2, 4, bytes({2, 1, 2, 3, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1})), true},
    RleCase{"odd_literal_is_padded", rle8File(3, 1, 4, bytes({0, 3, 1, 2, 3, 0, 0, 1})), true},
    RleCase{"end_of_line_before_the_end_mark", rle8File(2, 2, 2, bytes({2, 1, 0, 0, 2, 0, 0, 0, 0, 1})), true},
    RleCase{"delta", rle8File(4, 2, 4, bytes({2, 1, 0, 2, 2, 0, 2, 1, 0, 1})), false},
    RleCase{"run_past_the_line_end", rle8File(4, 1, 4, bytes({5, 1, 0, 1})), false},
    RleCase{"literal_past_the_line_end", rle8File(2, 1, 4, bytes({0, 3, 1, 1, 1, 0, 0, 1})), false},
    RleCase{"index_beyond_the_colours", rle8File(2, 1, 2, bytes({2, 2, 0, 1})), false},
    RleCase{"short_row", rle8File(4, 2, 4, bytes({2, 1, 0, 0, 4, 1, 0, 1})), false},
    RleCase{"rows_missing", rle8File(4, 3, 4, bytes({4, 1, 0, 0, 4, 1, 0, 1})), false},
    RleCase{"cut_short", rle8File(4, 2, 4, bytes({4, 1, 0, 0, 4})), false},
    RleCase{"literal_cut_short", rle8File(4, 1, 4, bytes({0, 4, 1, 2})), false},
    RleCase{"too_many_rows", rle8File(1, 1, 2, bytes({1, 1, 0, 0, 1, 1, 0, 1})), false},
    RleCase{"top_down_rows", topDown(), false},
    RleCase{"not_a_bitmap", QByteArray(100, 'x'), false},
    RleCase{"header_only", rle8File(4, 2, 4, {}).left(30), false}
), [](const auto& param) { return std::string(param.param.name); });
// clang-format on

TEST(Rle8, TheDemoLayoutReadsAsQtReadsIt)
{
    QFile file(QStringLiteral(VARNOLIX_SOURCE_DATA "/Layouts/Millbrook Junction.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    const std::optional<QImage> image = rle8::read(data);
    ASSERT_TRUE(image.has_value());
    const QImage qt = QImage::fromData(data, "BMP");
    EXPECT_EQ(*image, qt);
    EXPECT_EQ(image->dotsPerMeterX(), qt.dotsPerMeterX());
}

TEST(Rle8, AnyAreaDecodesAsThatPartOfTheWholePicture)
{
    QFile file(QStringLiteral(VARNOLIX_SOURCE_DATA "/Layouts/Millbrook Junction.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray demo = file.readAll();
    const QByteArray small = rle8File(4, 2, 4, bytes({2, 1, 2, 3, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1}));
    const struct {
        const QByteArray& file;
        QRect area;
    } rows[] = {
        {small, QRect(1, 0, 2, 2)},         // into a run and a literal, out before their ends
        {small, QRect(3, 1, 1, 1)},         // one pixel
        {small, QRect(-5, -5, 7, 6)},       // cut at the top left
        {demo, QRect(1000, 600, 640, 480)}, // a window's worth
        {demo, QRect(2990, 1990, 40, 40)},  // cut at the bottom right
        {demo, QRect(0, 0, 3000, 1)},       // the top row
    };
    for (const auto& row : rows) {
        const std::optional<rle8::Bitmap> bitmap = rle8::Bitmap::read(row.file);
        ASSERT_TRUE(bitmap.has_value());
        const QImage whole = QImage::fromData(row.file, "BMP");
        const QRect inside = row.area & whole.rect();
        const QImage part = bitmap->pixels(row.area);
        EXPECT_EQ(part.size(), inside.size()) << "area " << (&row - rows);
        EXPECT_EQ(part.convertToFormat(QImage::Format_RGB32), whole.copy(inside).convertToFormat(QImage::Format_RGB32))
            << "area " << (&row - rows);
    }
    EXPECT_TRUE(rle8::Bitmap::read(small)->pixels(QRect(10, 10, 5, 5)).isNull());
}

} // namespace
