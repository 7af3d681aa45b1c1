#include "MimicPicture.h"

#include "Rle8Bitmap.h"

#include <QFile>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>

MimicPicture::MimicPicture(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel is painted, so moving the picture only paints the strip
    // that comes into view; Qt shifts the rest on the screen.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(0, 0);
}

namespace {

// A run-length coded 8-bit bitmap straight from the file's pages; nothing
// for any other file.
std::optional<rle8::Bitmap> readRle8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return std::nullopt;
    uchar* data = file.map(0, file.size());
    if (!data)
        return std::nullopt;
    std::optional<rle8::Bitmap> bitmap = rle8::Bitmap::read(QByteArrayView(data, file.size()));
    file.unmap(data);
    return bitmap;
}

} // namespace

bool MimicPicture::load(const QString& path, QString* error)
{
    std::optional<rle8::Bitmap> coded = readRle8(path);
    QImage image;
    if (!coded) {
        QImageReader reader(path);
        image = reader.read();
        if (image.isNull()) {
            if (error)
                *error = reader.errorString();
            return false;
        }
    }
    coded_ = std::move(coded);
    image_ = std::move(image);
    resize(coded_ ? coded_->size() : image_.size());
    update();
    return true;
}

QImage MimicPicture::pixels(const QRect& area) const
{
    return coded_ ? coded_->pixels(area) : image_.copy(area & image_.rect());
}

qsizetype MimicPicture::heldBytes() const
{
    return coded_ ? coded_->heldBytes() : image_.sizeInBytes();
}

void MimicPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QRect shown = exposed & QRect(QPoint(0, 0), size());
    if (shown != exposed)
        painter.fillRect(exposed, palette().window());
    if (shown.isEmpty())
        return;
    if (coded_) {
        // Scrolling both ways exposes two strips: decode those, not the
        // rectangle around them.
        for (const QRect& part : event->region()) {
            const QRect inside = part & rect();
            if (!inside.isEmpty())
                painter.drawImage(inside.topLeft(), coded_->pixels(inside));
        }
    } else {
        painter.drawImage(shown.topLeft(), image_, shown);
    }
}
