#include "LocoLogo.h"

#include "PixelGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace artwork {
namespace {

const QColor kBody{0x1f, 0x56, 0x99};
const QColor kBoiler{0x17, 0x40, 0x72};
const QColor kLining{0x5b, 0x8f, 0xd0};
const QColor kIron{0x26, 0x32, 0x38};
const QColor kSmokebox{0x37, 0x47, 0x4f};
const QColor kBufferBeam{0xd3, 0x2f, 0x2f};
const QColor kSteel{0xb0, 0xbe, 0xc5};
const QColor kWindow{0xcf, 0xe8, 0xff};

const QRect kSideTank{12, 8, 17, 8}; // lettering goes here

// Drawn facing right, mostly in whole pixels so the edges stay crisp at
// this tiny size; only round parts are antialiased.
void drawEngine(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(0, 25, 37, 1), kSteel);                    // rail
    p.fillRect(QRect(13, 5, 17, 4), kBoiler);
    p.fillRect(QRect(29, 5, 4, 11), kSmokebox);
    p.fillRect(QRect(29, 2, 3, 3), kIron);                      // chimney
    p.fillRect(QRect(28, 1, 5, 1), kIron);
    p.fillRect(kSideTank, kBody);
    p.fillRect(QRect(kSideTank.left(), kSideTank.top(), kSideTank.width(), 1), kLining);
    p.fillRect(QRect(3, 4, 10, 12), kBody);                     // cab
    p.fillRect(QRect(2, 3, 12, 1), kIron);                      // cab roof
    p.fillRect(QRect(5, 6, 4, 4), kWindow);
    p.fillRect(QRect(2, 16, 33, 2), kIron);                     // footplate
    p.fillRect(QRect(1, 15, 2, 3), kBufferBeam);
    p.fillRect(QRect(34, 15, 2, 3), kBufferBeam);
    p.fillRect(QRect(0, 16, 1, 1), kSteel);                     // buffers
    p.fillRect(QRect(36, 16, 1, 1), kSteel);
    p.fillRect(QRect(29, 18, 5, 2), kSmokebox);                 // cylinder

    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kBoiler);
    p.drawRoundedRect(QRectF(20, 3, 4, 3), 1.5, 1.5);          // dome
    for (const qreal x : {10.5, 18.5, 26.5}) {
        p.setBrush(kIron);
        p.drawEllipse(QPointF(x, 21.5), 3.2, 3.2);
        p.setBrush(kSteel);
        p.drawEllipse(QPointF(x, 21.5), 0.9, 0.9);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(10, 22, 17, 1), kSteel);                  // coupling rod
}

} // namespace

QImage drawLocoLogo(Facing facing)
{
    QImage image(kLocoLogoSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        drawEngine(p);
    }
    QRect tank = kSideTank;
    if (facing == Facing::Left) {
        image = image.mirrored(true, false);
        tank.moveLeft(kLocoLogoSize.width() - tank.right() - 1);
    }
    // Lettering after mirroring, so it reads the right way round both ways.
    const QString text = QStringLiteral("DCC");
    const int x = tank.left() + (tank.width() - pixelTextWidth(text) + 1) / 2;
    drawPixelText(image, x, tank.top() + 1, text, Qt::white);
    return image;
}

} // namespace artwork
