#include "Picture.h"

#include <QFileInfo>
#include <QImageReader>

QPixmap loadPicture(const QString& path)
{
    QImageReader named(path, QFileInfo(path).suffix().toLower().toLatin1());
    named.setAutoDetectImageFormat(false);
    QImage image = named.read();
    if (image.isNull())
        image = QImageReader(path).read();
    return QPixmap::fromImage(std::move(image));
}
