#include "ToolbarIcons.h"

#include <QFont>
#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace artwork {
namespace {

const QColor kOutline{0x37, 0x47, 0x4f};
const QColor kButtonTop{0x4f, 0x95, 0xde};
const QColor kButtonBottom{0x2b, 0x63, 0xad};
const QColor kButtonEdge{0x1d, 0x4a, 0x82};
const QColor kMetalLight{0xe3, 0xe7, 0xea};
const QColor kMetalDark{0xb0, 0xba, 0xc0};
const QColor kKnobBlack{0x1f, 0x22, 0x25};
const QColor kPointerGreen{0x3d, 0xdc, 0x84};

QImage blankIcon()
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void antialias(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QLinearGradient vertical(QColor top, QColor bottom, qreal y0 = 2, qreal y1 = 30)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A filled disc with a one-pixel darker rim, shared by the round icons.
void roundBadge(QPainter &p, QColor fill)
{
    p.setPen(QPen(fill.darker(140), 1));
    p.setBrush(vertical(fill.lighter(118), fill));
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
}

} // namespace

QImage drawScrollArrow(Qt::ArrowType direction)
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);
    p.setPen(QPen(kButtonEdge, 1));
    p.setBrush(vertical(kButtonTop, kButtonBottom));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 7, 7);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(7, 2.8), QPointF(25, 2.8)); // top sheen

    // Drawn pointing up, then turned to face the wanted way.
    qreal turn = 0;
    switch (direction) {
    case Qt::RightArrow: turn = 90; break;
    case Qt::DownArrow: turn = 180; break;
    case Qt::LeftArrow: turn = 270; break;
    default: break;
    }
    p.translate(16, 16);
    p.rotate(turn);
    const QPolygonF arrow({{0, -10}, {10, 0.5}, {4, 0.5}, {4, 10}, {-4, 10},
                           {-4, 0.5}, {-10, 0.5}});
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    return image;
}

QImage drawModemIcon(bool connected)
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);

    // Serial cable into the back of the box.
    QPainterPath cable(QPointF(18, 12));
    cable.cubicTo(QPointF(18, 5), QPointF(25, 7), QPointF(28.5, 1.5));
    p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);

    // The interface box, seen a little from above and to the right.
    p.setPen(QPen(kOutline, 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(QColor(0xee, 0xf1, 0xf3));
    p.drawPolygon(QPolygonF({{3.5, 14.5}, {7.5, 10.5}, {29.5, 10.5}, {25.5, 14.5}}));
    p.setBrush(QColor(0xa7, 0xb2, 0xb9));
    p.drawPolygon(QPolygonF({{25.5, 14.5}, {29.5, 10.5}, {29.5, 23.5}, {25.5, 27.5}}));
    p.setBrush(vertical(kMetalLight, kMetalDark, 14, 28));
    p.drawRect(QRectF(3.5, 14.5, 22, 13));
    p.setPen(QPen(QColor(0x78, 0x86, 0x8f), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (const qreal y : {18.0, 21.0, 24.0})
        p.drawLine(QPointF(15, y), QPointF(22.5, y)); // vents

    const QPointF lamp(9, 21);
    if (connected) {
        QRadialGradient glow(lamp, 7);
        glow.setColorAt(0, QColor(0x5c, 0xff, 0x7a, 200));
        glow.setColorAt(1, QColor(0x5c, 0xff, 0x7a, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(lamp, 7, 7);
    }
    p.setPen(QPen(kOutline, 1));
    p.setBrush(connected ? QColor(0x2e, 0xcc, 0x40) : QColor(0xb7, 0x1c, 0x1c));
    p.drawEllipse(lamp, 3.4, 3.4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, connected ? 220 : 110));
    p.drawEllipse(lamp + QPointF(-1.1, -1.1), 1.1, 1.1);
    return image;
}

QImage drawViewToggleIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);

    // Turnout: sleepers first, then the straight and the diverging road.
    const QPointF toe(4, 26);
    const QPointF branchEnd(15, 17);
    p.setPen(QPen(QColor(0x90, 0xa4, 0xae), 1.3, Qt::SolidLine, Qt::FlatCap));
    for (const qreal x : {3.5, 7.0, 10.5, 14.0})
        p.drawLine(QPointF(x, 23.5), QPointF(x, 28.5));
    const QLineF branch(toe, branchEnd);
    const QPointF across = QPointF(-branch.dy(), branch.dx()) / branch.length();
    for (const qreal t : {0.55, 0.85})
        p.drawLine(branch.pointAt(t) - across * 2.5, branch.pointAt(t) + across * 2.5);
    p.setPen(QPen(kOutline, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(1.5, 26), QPointF(16, 26));
    p.drawLine(toe, branchEnd);

    // Motor knob with its green pointer.
    const QPointF knob(23.5, 21.5);
    QRadialGradient shine(knob + QPointF(-2, -2), 8);
    shine.setColorAt(0, QColor(0x5a, 0x60, 0x66));
    shine.setColorAt(1, kKnobBlack);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(shine);
    p.drawEllipse(knob, 7, 7);
    p.setPen(QPen(kPointerGreen, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(knob, knob + QPointF(3.7, -3.7));

    // Two-way arrow: flips between the two views.
    const QColor blue(0x1e, 0x88, 0xe5);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc(QPointF(7, 10));
    arc.quadTo(QPointF(16, 1), QPointF(25, 10));
    p.drawPath(arc);
    p.setBrush(blue);
    p.drawPolygon(QPolygonF({{4.5, 11.5}, {10, 9.5}, {6, 6}}));
    p.drawPolygon(QPolygonF({{27.5, 11.5}, {22, 9.5}, {26, 6}}));
    return image;
}

QImage drawAboutIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);
    roundBadge(p, QColor(0x1e, 0x88, 0xe5));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.4, 2.4);
    p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 11.5), 1.6, 1.6);
    p.drawRoundedRect(QRectF(12, 13.5, 4, 2.2), 1, 1);   // serif, top left
    p.drawRoundedRect(QRectF(12, 23.3, 8, 2.2), 1, 1);   // foot
    return image;
}

QImage drawHelpIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);
    roundBadge(p, QColor(0x26, 0xa6, 0x6a));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(21);
    font.setBold(true);
    QPainterPath mark;
    mark.addText(0, 0, font, QStringLiteral("?"));
    const QRectF box = mark.boundingRect();
    mark.translate(16 - box.center().x(), 16.3 - box.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(mark);
    return image;
}

QImage drawWordpadIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);

    const QColor edge(0x54, 0x6e, 0x7a);
    p.setPen(QPen(edge, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{5.5, 2.5}, {19.5, 2.5}, {24.5, 7.5}, {24.5, 29.5}, {5.5, 29.5}}));
    p.setBrush(QColor(0xcf, 0xd8, 0xdc));
    p.drawPolygon(QPolygonF({{19.5, 2.5}, {19.5, 7.5}, {24.5, 7.5}}));
    p.setPen(QPen(QColor(0x90, 0xa4, 0xae), 1.5, Qt::SolidLine, Qt::RoundCap));
    for (const qreal y : {11.0, 14.5, 18.0, 21.5})
        p.drawLine(QPointF(9, y), QPointF(y > 20 ? 15 : 20.5, y));

    // Pencil lying across the page, tip towards the last line.
    p.translate(23, 18);
    p.rotate(40);
    p.setPen(QPen(QColor(0x8d, 0x5a, 0x00), 1));
    p.setBrush(QColor(0xff, 0xb3, 0x00));
    p.drawRect(QRectF(-2.6, -9, 5.2, 14));
    p.setBrush(QColor(0xe5, 0x73, 0x73));
    p.drawRect(QRectF(-2.6, -12, 5.2, 3));
    p.setBrush(QColor(0xff, 0xe0, 0xb2));
    p.drawPolygon(QPolygonF({{-2.6, 5}, {2.6, 5}, {0, 10.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x37, 0x47, 0x4f));
    p.drawPolygon(QPolygonF({{-1, 8.3}, {1, 8.3}, {0, 10.5}}));
    return image;
}

QImage drawExitIcon()
{
    QImage image = blankIcon();
    QPainter p(&image);
    antialias(p);

    // Door frame with the dark doorway behind the opened door.
    p.setPen(QPen(QColor(0x4e, 0x34, 0x2e), 1.5));
    p.setBrush(QColor(0x26, 0x32, 0x38));
    p.drawRect(QRectF(4.5, 3.5, 15, 25));
    p.setPen(QPen(QColor(0x5d, 0x40, 0x37), 1));
    p.setBrush(vertical(QColor(0xb0, 0x82, 0x5e), QColor(0x8d, 0x62, 0x45)));
    p.drawPolygon(QPolygonF({{4.5, 3.5}, {12.5, 6.5}, {12.5, 31}, {4.5, 28.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawEllipse(QPointF(10.6, 17.5), 1.2, 1.2);

    // Arrow leaving through the doorway.
    const QColor red(0xe5, 0x39, 0x35);
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(red);
    p.drawPolygon(QPolygonF({{14, 13.5}, {22, 13.5}, {22, 9}, {30.5, 16.5},
                             {22, 24}, {22, 19.5}, {14, 19.5}}));
    return image;
}

} // namespace artwork
