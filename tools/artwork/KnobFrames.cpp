#include "KnobFrames.h"

#include "PixelGlyphs.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace artwork {
namespace {

const QPointF kCentre{28, 28};
constexpr qreal kScaleRadius = 24.5;
constexpr qreal kSkirtRadius = 19;
constexpr qreal kCapRadius = 15;

const QColor kForwardArc{0x2f, 0xbf, 0x5a};
const QColor kReverseArc{0xf0, 0xa0, 0x20};
const QColor kPointer{0x3d, 0xdc, 0x84};

QColor blend(QColor a, QColor b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

QPointF onDial(qreal degreesClockwiseFromUp, qreal radius)
{
    const qreal a = qDegreesToRadians(degreesClockwiseFromUp);
    return kCentre + QPointF(std::sin(a), -std::cos(a)) * radius;
}

// QPainter arcs start at 3 o'clock and run anticlockwise in 1/16 degrees.
void drawScaleArc(QPainter &p, QColor colour, qreal signedSweep)
{
    const QRectF box(kCentre.x() - kScaleRadius, kCentre.y() - kScaleRadius,
                     2 * kScaleRadius, 2 * kScaleRadius);
    p.setPen(QPen(colour, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, 90 * 16, int(std::lround(-signedSweep * 16)));
}

void drawKnobBody(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(kCentre + QPointF(0.8, 1.2), kSkirtRadius + 0.5, kSkirtRadius + 0.5);
    p.setBrush(QColor(0x14, 0x16, 0x19));
    p.drawEllipse(kCentre, kSkirtRadius, kSkirtRadius);
    // Knurled grip round the skirt.
    p.setPen(QPen(QColor(0x44, 0x4a, 0x50), 1.2, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 36; ++i)
        p.drawLine(onDial(i * 10.0, kCapRadius + 1.2), onDial(i * 10.0, kSkirtRadius - 0.6));
    QRadialGradient cap(kCentre + QPointF(-4, -5), kCapRadius * 1.4);
    cap.setColorAt(0, QColor(0x5b, 0x62, 0x69));
    cap.setColorAt(1, QColor(0x18, 0x1b, 0x1e));
    p.setPen(QPen(QColor(0x0b, 0x0c, 0x0e), 1));
    p.setBrush(cap);
    p.drawEllipse(kCentre, kCapRadius, kCapRadius);
}

} // namespace

QImage drawKnobFrame(KnobDirection direction, int frame)
{
    frame = qBound(0, frame, kKnobFrames - 1);
    const bool forward = direction == KnobDirection::Forward;
    const QColor arc = forward ? kForwardArc : kReverseArc;
    const qreal sign = forward ? 1 : -1;
    const qreal angle = sign * kKnobFullTurn * frame / (kKnobFrames - 1);

    QImage image(kKnobSize, QImage::Format_RGB32);
    image.fill(kKnobBackground);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        drawScaleArc(p, blend(kKnobBackground, arc, 0.35), sign * kKnobFullTurn);
        if (frame > 0)
            drawScaleArc(p, arc, angle);
        // Stop mark at 12 o'clock.
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(onDial(0, kScaleRadius - 3), onDial(0, kScaleRadius + 3));

        drawKnobBody(p);
        p.setPen(QPen(QColor(0, 0, 0, 150), 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(onDial(angle, 3), onDial(angle, kCapRadius + 2));
        p.setPen(QPen(kPointer, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(onDial(angle, 3), onDial(angle, kCapRadius + 2));
    }
    const QString letter = forward ? QStringLiteral("F") : QStringLiteral("R");
    drawPixelText(image, 26, 49, letter, forward ? arc.darker(160) : arc.darker(150));
    return image;
}

} // namespace artwork
