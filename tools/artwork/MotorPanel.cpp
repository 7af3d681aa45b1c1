#include "MotorPanel.h"

#include "KnobFrames.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace artwork {
namespace {

const QColor kFace{0x3b, 0x3f, 0x44};
const QColor kInk{0x33, 0x36, 0x3a};
const QColor kPrint{0xd8, 0xdc, 0xe0};
constexpr qreal kPlateHalf = 48;

// Fine horizontal grain; a fixed seed keeps reruns byte-identical.
void brushFace(QImage &image)
{
    QRandomGenerator random(0x56a1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const int rowShade = int(random.bounded(7)) - 3;
        qreal grain = 0;
        for (int x = 0; x < image.width(); ++x) {
            grain = grain * 0.85 + (random.generateDouble() - 0.5) * 2.2;
            const int d = rowShade + int(std::lround(grain * 3));
            line[x] = qRgb(qBound(0, kFace.red() + d, 255), qBound(0, kFace.green() + d, 255),
                           qBound(0, kFace.blue() + d, 255));
        }
    }
}

void bevel(QPainter &p, const QRectF &r, QColor light, QColor dark)
{
    p.setPen(QPen(light, 1));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QPen(dark, 1));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void screw(QPainter &p, QPointF c)
{
    QRadialGradient g(c + QPointF(-1, -1), 4);
    g.setColorAt(0, QColor(0xe0, 0xe3, 0xe6));
    g.setColorAt(1, QColor(0x7d, 0x84, 0x8a));
    p.setPen(QPen(QColor(0x1d, 0x1f, 0x22), 0.8));
    p.setBrush(g);
    p.drawEllipse(c, 3.4, 3.4);
    p.setPen(QPen(QColor(0x3a, 0x3e, 0x42), 1.1));
    p.drawLine(c + QPointF(-2.2, 1.2), c + QPointF(2.2, -1.2));
}

QPointF onDial(QPointF centre, qreal degreesClockwiseFromUp, qreal radius)
{
    const qreal a = qDegreesToRadians(degreesClockwiseFromUp);
    return centre + QPointF(std::sin(a), -std::cos(a)) * radius;
}

// A light dial plate in the knob colour, so the square knob pictures sit on
// it without a visible edge, with the speed scale printed round the knob.
void dialPlate(QPainter &p, QPointF centre, const QString &name)
{
    const QRectF plate(centre.x() - kPlateHalf, centre.y() - kPlateHalf, 2 * kPlateHalf,
                       2 * kPlateHalf);
    p.setPen(QPen(QColor(0x16, 0x18, 0x1a), 1));
    p.setBrush(kKnobBackground);
    p.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawLine(plate.topLeft() + QPointF(7, 1.5), plate.topRight() + QPointF(-7, 1.5));

    for (int step = -6; step <= 6; ++step) {
        const qreal angle = step * 20.0;
        const bool major = step == 0 || std::abs(step) == 6;
        p.setPen(QPen(kInk, major ? 2 : 1.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(onDial(centre, angle, major ? 39.5 : 41),
                   onDial(centre, angle, major ? 46 : 44.5));
    }
    // Colour dots at the ends match the knob arcs: green forward, amber reverse.
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(0x2f, 0xbf, 0x5a));
    p.drawEllipse(onDial(centre, 136, 42.5), 2.6, 2.6);
    p.setBrush(QColor(0xf0, 0xa0, 0x20));
    p.drawEllipse(onDial(centre, -136, 42.5), 2.6, 2.6);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kPrint);
    p.drawText(QRectF(centre.x() - 20, plate.bottom() + 3, 40, 16), Qt::AlignCenter, name);
}

void pilotLamp(QPainter &p, QPointF c)
{
    p.setPen(QPen(QColor(0x15, 0x17, 0x19), 1));
    p.setBrush(QColor(0x9a, 0xa1, 0xa8));
    p.drawEllipse(c, 7, 7);
    QRadialGradient lens(c + QPointF(-1.5, -1.5), 5);
    lens.setColorAt(0, QColor(0xff, 0x9e, 0x80));
    lens.setColorAt(1, QColor(0xc6, 0x28, 0x28));
    p.setBrush(lens);
    p.drawEllipse(c, 4.6, 4.6);
}

void toggleSwitch(QPainter &p, QPointF c)
{
    p.setPen(QPen(QColor(0x15, 0x17, 0x19), 1));
    p.setBrush(QColor(0x9a, 0xa1, 0xa8));
    p.drawEllipse(c, 6.5, 6.5);
    p.setBrush(QColor(0x5d, 0x63, 0x69));
    p.drawEllipse(c, 3.5, 3.5);
    QLinearGradient lever(c.x() - 2, 0, c.x() + 2, 0);
    lever.setColorAt(0, QColor(0xf2, 0xf4, 0xf6));
    lever.setColorAt(1, QColor(0x8a, 0x91, 0x98));
    p.setBrush(lever);
    p.drawRoundedRect(QRectF(c.x() - 2, c.y() - 13, 4, 13), 2, 2);
}

} // namespace

QImage drawMotorPanel()
{
    QImage image(kMotorPanelSize, QImage::Format_RGB32);
    brushFace(image);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF edge(0.5, 0.5, kMotorPanelSize.width() - 1, kMotorPanelSize.height() - 1);
    bevel(p, edge, QColor(0x7a, 0x80, 0x87), QColor(0x12, 0x13, 0x15));
    bevel(p, edge.adjusted(1, 1, -1, -1), QColor(0x55, 0x5a, 0x60), QColor(0x22, 0x24, 0x27));

    dialPlate(p, kKnobCentreA, QStringLiteral("A"));
    dialPlate(p, kKnobCentreB, QStringLiteral("B"));

    const qreal middle = kMotorPanelSize.width() / 2.0;
    pilotLamp(p, {middle, 24});
    toggleSwitch(p, {middle, 66});
    for (const QPointF c : {QPointF(9, 9), QPointF(267, 9), QPointF(9, 110), QPointF(267, 110)})
        screw(p, c);

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(kPrint);
    p.drawText(QRectF(middle - 50, 103, 100, 12), Qt::AlignCenter,
               QStringLiteral("Varnolix twin DC"));
    return image;
}

} // namespace artwork
