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
QImage readRle8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return {};
    uchar* data = file.map(0, file.size());
    if (!data)
        return {};
    std::optional<QImage> image = rle8::read(QByteArrayView(data, file.size()));
    file.unmap(data);
    return image.value_or(QImage());
}

} // namespace

bool MimicPicture::load(const QString& path, QString* error)
{
    QImage image = readRle8(path);
    if (image.isNull()) {
        QImageReader reader(path);
        image = reader.read();
        if (image.isNull()) {
            if (error)
                *error = reader.errorString();
            return false;
        }
    }
    image_ = std::move(image);
    resize(image_.size());
    update();
    return true;
}

void MimicPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QRect shown = exposed & image_.rect();
    if (shown != exposed)
        painter.fillRect(exposed, palette().window());
    if (!shown.isEmpty())
        painter.drawImage(shown.topLeft(), image_, shown);
}
