#include "KnobFallback.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace knob_fallback {

QPixmap draw(const QString& direction, int frame)
{
    const bool reverse = direction.trimmed() == QStringLiteral("Rev");
    const double degrees = (reverse ? -1 : 1) * FullTurnDegrees * std::clamp(frame, 0, 7) / 7.0;
    const QPointF centre(Size / 2.0, Size / 2.0 - 2);
    const double radians = qDegreesToRadians(degrees);
    const QPointF along(std::sin(radians), -std::cos(radians));

    QPixmap picture(Size, Size);
    picture.fill(QColor(0xd4, 0xd7, 0xda));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x0b, 0x0c, 0x0e), 1));
    p.setBrush(QColor(0x16, 0x18, 0x1b));
    p.drawEllipse(centre, 19, 19);
    p.setPen(QPen(Pointer, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + along * 3, centre + along * 16);
    p.setPen(QColor(0x33, 0x36, 0x3a));
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(0, Size - 12, Size, 12), Qt::AlignCenter, reverse ? QStringLiteral("R") : QStringLiteral("F"));
    return picture;
}

} // namespace knob_fallback
