#include "LayoutMimic.h"

#include "MillbrookPlan.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <vector>

namespace artwork {
namespace {

using namespace millbrook;

// Panel colours: a dark enamelled board with bright route lines, as on a
// signal-box diagram. Each kind of line has its own colour so the routes
// read apart at a glance.
const QColor kBoard{0x13, 0x26, 0x2d};
const QColor kTileSeam{0x19, 0x30, 0x38};
const QColor kTrackBed{0x09, 0x14, 0x18};
const QColor kMainLine{0xee, 0xf2, 0xf3};
const QColor kBranchLine{0xf4, 0xb9, 0x42};
const QColor kGoodsLine{0x6f, 0xc3, 0xdf};
const QColor kFiddleLine{0xb3, 0x9d, 0xdb};
const QColor kPlatform{0x56, 0x66, 0x6d};
const QColor kPlatformEdge{0x8f, 0xa3, 0xab};
const QColor kBuilding{0x2c, 0x43, 0x4c};
const QColor kShedOutline{0xc9, 0xa8, 0x7c};
const QColor kPointLabel{0xff, 0xd5, 0x4f};
const QColor kLabelBack{0x0b, 0x1a, 0x1f};
const QColor kBufferStop{0xe5, 0x39, 0x35};
const QColor kLampRed{0xff, 0x4d, 0x4d};
const QColor kLampGreen{0x4c, 0xff, 0x7a};
const QColor kLampYellow{0xff, 0xd5, 0x4f};
const QColor kLampHousing{0x03, 0x07, 0x09};
const QColor kText{0xdf, 0xe7, 0xea};
const QColor kDimText{0x8f, 0xa3, 0xab};

constexpr qreal kMainWidth = 12;
constexpr qreal kOtherWidth = 10;
constexpr qreal kBedMargin = 10; // dark border that keeps lines apart where they meet

// The plan sits high on the sheet to leave room for the key and title below.
constexpr qreal kPlanShift = -150;

QColor routeColour(Route r)
{
    switch (r) {
    case Route::Main: return kMainLine;
    case Route::Branch: return kBranchLine;
    case Route::Goods: return kGoodsLine;
    case Route::Fiddle: return kFiddleLine;
    }
    return kMainLine;
}

qreal routeWidth(Route r) { return r == Route::Main ? kMainWidth : kOtherWidth; }

QColor lampColour(Lamp lamp)
{
    switch (lamp) {
    case Lamp::Red: return kLampRed;
    case Lamp::Yellow: return kLampYellow;
    case Lamp::Green: return kLampGreen;
    }
    return kLampRed;
}

QFont panelFont(int pixels, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void centredText(QPainter &p, QPointF centre, const QString &text, const QFont &font,
                 QColor colour)
{
    p.setFont(font);
    p.setPen(colour);
    const QFontMetricsF fm(font);
    const qreal w = fm.horizontalAdvance(text);
    p.drawText(QPointF(centre.x() - w / 2, centre.y() + (fm.ascent() - fm.descent()) / 2),
               text);
}

void drawTileSeams(QPainter &p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kTileSeam, 1));
    for (int x = 100; x < kMimicSize.width(); x += 100)
        p.drawLine(x, 0, x, kMimicSize.height());
    for (int y = 100; y < kMimicSize.height(); y += 100)
        p.drawLine(0, y, kMimicSize.width(), y);
    p.restore();
}

void strokeTrack(QPainter &p, const Track &t, QColor colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (t.closed)
        p.drawPolygon(t.path);
    else
        p.drawPolyline(t.path);
}

void drawBufferStop(QPainter &p, QPointF end, QPointF from, QColor colour)
{
    QLineF along(from, end);
    along.setLength(1);
    const QPointF dir = along.p2() - along.p1();
    const QPointF across(-dir.y(), dir.x());
    p.setPen(QPen(colour, 8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(end - across * 16 + dir * 2, end + across * 16 + dir * 2);
}

void drawTracks(QPainter &p, const std::vector<Track> &all)
{
    for (const Track &t : all)
        strokeTrack(p, t, kTrackBed, routeWidth(t.route) + kBedMargin);
    for (const Track &t : all) {
        strokeTrack(p, t, routeColour(t.route), routeWidth(t.route));
        const QPolygonF &path = t.path;
        if (t.bufferAtStart)
            drawBufferStop(p, path.first(), path[1], kBufferStop);
        if (t.bufferAtEnd)
            drawBufferStop(p, path.last(), path[path.size() - 2], kBufferStop);
    }
}

void drawPointNumbers(QPainter &p)
{
    const QFont font = panelFont(22);
    const QFontMetricsF fm(font);
    int number = 2;
    for (const PointMark &pm : points()) {
        const QString text = QString::number(number);
        number += 2;
        const QPointF c = pm.at + pm.labelOffset;
        const qreal w = std::max<qreal>(30, fm.horizontalAdvance(text) + 10);
        p.setPen(QPen(kPointLabel.darker(220), 1.5));
        p.setBrush(kLabelBack);
        p.drawRoundedRect(QRectF(c.x() - w / 2, c.y() - 14, w, 28), 6, 6);
        centredText(p, c, text, font, kPointLabel);
    }
}

void drawSignalLamp(QPainter &p, QPointF lampCentre, QPointF stemFrom, QColor lit)
{
    p.setPen(QPen(kDimText, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(stemFrom, lampCentre);
    p.setPen(Qt::NoPen);
    p.setBrush(kLampHousing);
    p.drawEllipse(lampCentre, 12, 12);
    p.setBrush(lit);
    p.drawEllipse(lampCentre, 7.5, 7.5);
}

void drawSignals(QPainter &p)
{
    for (const SignalLamp &s : signalLamps())
        drawSignalLamp(p, s.onTrack + s.side * s.offset, s.onTrack + s.side * 7,
                       lampColour(s.lit));
}

void drawPlatform(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kPlatformEdge, 2));
    p.setBrush(kPlatform);
    p.drawRoundedRect(r, 4, 4);
}

void drawBuildings(QPainter &p)
{
    // Millbrook: side platform, island platform and the station building.
    drawPlatform(p, {1100, 1662, 800, 40});
    drawPlatform(p, {1160, 1472, 740, 66});
    p.setPen(QPen(kPlatformEdge, 2));
    p.setBrush(kBuilding);
    p.drawRect(QRectF(1380, 1708, 240, 46));
    const QFont small = panelFont(22);
    centredText(p, {1130, 1682}, QStringLiteral("1"), small, kText);
    centredText(p, {1880, 1524}, QStringLiteral("2"), small, kText);
    centredText(p, {1880, 1488}, QStringLiteral("3"), small, kText);

    // Ashby Halt: a single platform on the running line.
    drawPlatform(p, {2150, 782, 200, 36});

    // Goods shed straddling the middle siding, coal cells and a cattle dock.
    p.setPen(QPen(kShedOutline, 3));
    p.setBrush(kBuilding);
    p.drawRect(QRectF(470, 1292, 160, 56));
    p.setBrush(kBuilding.lighter(130));
    p.setPen(QPen(kShedOutline.darker(150), 2));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(480 + 46 * i, 1424, 36, 28));
    drawPlatform(p, {462, 1204, 100, 18});

    // Engine shed over the straight-up turntable road.
    p.setPen(QPen(kShedOutline, 3));
    p.setBrush(kBuilding);
    p.drawRect(QRectF(540, 640, 80, 150));
}

void drawTurntable(QPainter &p)
{
    p.setPen(QPen(kPlatformEdge, 4));
    p.setBrush(kTrackBed);
    p.drawEllipse(kTurntable, kTurntableRadius, kTurntableRadius);
    p.setPen(QPen(kGoodsLine, kOtherWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(polar(kTurntable, 0, kTurntableRadius - 6),
               polar(kTurntable, 180, kTurntableRadius - 6));
    p.setPen(Qt::NoPen);
    p.setBrush(kPlatformEdge);
    p.drawEllipse(kTurntable, 7, 7);
}

void drawFiddleYardFrame(QPainter &p)
{
    QPen dashed(kFiddleLine.darker(160), 3, Qt::DashLine);
    dashed.setDashPattern({6, 4});
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(860, 440, 1160, kLastFiddleRoad + 30 - 440), 14, 14);
}

void drawLabels(QPainter &p)
{
    centredText(p, {1500, 1808}, QStringLiteral("Millbrook"), panelFont(56), kText);
    centredText(p, {2250, 862}, QStringLiteral("Ashby Halt"), panelFont(36), kText);
    centredText(p, {1440, kLastFiddleRoad + 76}, QStringLiteral("Fiddle yard"),
                panelFont(32), kFiddleLine);
    centredText(p, {1680, 1208}, QStringLiteral("Carriage sidings"), panelFont(24),
                kBranchLine);
    centredText(p, {700, 660}, QStringLiteral("Engine shed"), panelFont(24), kGoodsLine);
    centredText(p, {560, 1522}, QStringLiteral("Goods yard"), panelFont(24), kGoodsLine);

    const QFont note = panelFont(20, false);
    p.setFont(note);
    p.setPen(kDimText);
    p.drawText(QPointF(470, 1607), QStringLiteral("Up main"));
    p.drawText(QPointF(470, 1688), QStringLiteral("Down main"));
    p.drawText(QPointF(1300, 296), QStringLiteral("Down main"));
    p.drawText(QPointF(2360, 440), QStringLiteral("Up main"));
    p.drawText(QPointF(2590, 1200), QStringLiteral("Branch"));
}

// Key in the bottom-left corner: two rows, four columns.
void drawLegend(QPainter &p)
{
    const QRectF box(120, 1730, 1130, 220);
    p.setPen(QPen(kPlatformEdge, 2));
    p.setBrush(kLabelBack);
    p.drawRoundedRect(box, 10, 10);
    centredText(p, {box.left() + 70, box.top() + 36}, QStringLiteral("Key"), panelFont(24),
                kDimText);

    const QFont font = panelFont(24, false);
    const QFontMetricsF fm(font);
    constexpr qreal column = 270;
    auto cell = [&](int row, int col) {
        return QPointF(box.left() + 40 + col * column, box.top() + 100 + row * 70);
    };
    auto caption = [&](QPointF at, qreal symbolWidth, const QString &text) {
        p.setFont(font);
        p.setPen(kText);
        p.drawText(QPointF(at.x() + symbolWidth + 20, at.y() + (fm.ascent() - fm.descent()) / 2),
                   text);
    };
    const struct { Route route; const char *name; } lines[] = {
        {Route::Main, "Main line"}, {Route::Branch, "Branch"},
        {Route::Goods, "Goods & loco"}, {Route::Fiddle, "Fiddle yard"}};
    for (int i = 0; i < 4; ++i) {
        const QPointF at = cell(0, i);
        p.setPen(QPen(routeColour(lines[i].route), routeWidth(lines[i].route), Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(at, at + QPointF(70, 0));
        caption(at, 70, QString::fromLatin1(lines[i].name));
    }
    QPointF at = cell(1, 0);
    drawSignalLamp(p, at + QPointF(12, 0), at + QPointF(12, 0), kLampRed);
    caption(at, 24, QStringLiteral("Signal"));
    at = cell(1, 1);
    p.setPen(QPen(kBufferStop, 8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(at + QPointF(4, -16), at + QPointF(4, 16));
    caption(at, 8, QStringLiteral("Buffer stop"));
    at = cell(1, 2);
    p.setPen(QPen(kPointLabel.darker(220), 1.5));
    p.setBrush(kLabelBack);
    p.drawRoundedRect(QRectF(at.x(), at.y() - 14, 36, 28), 6, 6);
    centredText(p, at + QPointF(18, 0), QStringLiteral("12"), panelFont(22), kPointLabel);
    caption(at, 36, QStringLiteral("Point number"));
}

void drawTitleBlock(QPainter &p)
{
    const QRectF box(2220, 1730, 680, 220);
    p.setPen(QPen(kPlatformEdge, 3));
    p.setBrush(kLabelBack);
    p.drawRect(box);
    p.setPen(QPen(kPlatformEdge, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(8, 8, -8, -8));
    p.drawLine(QPointF(box.left() + 8, box.top() + 112), QPointF(box.right() - 8, box.top() + 112));

    const qsizetype lastPoint = 2 * qsizetype(points().size());
    centredText(p, {box.center().x(), box.top() + 64}, QStringLiteral("Millbrook Junction"),
                panelFont(50), kText);
    centredText(p, {box.center().x(), box.top() + 146},
                QStringLiteral("Track plan \u00b7 control panel mimic"), panelFont(24, false),
                kDimText);
    centredText(p, {box.center().x(), box.top() + 184},
                QStringLiteral("Points 2 \u2013 %1   \u00b7   Varnolix").arg(lastPoint),
                panelFont(22, false), kDimText);
}

} // namespace

QImage drawLayoutMimic()
{
    QImage image(kMimicSize, QImage::Format_RGB32);
    image.fill(kBoard);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    drawTileSeams(p);
    p.save();
    p.translate(0, kPlanShift);
    drawFiddleYardFrame(p);
    drawBuildings(p);
    drawTracks(p, tracks());
    drawTurntable(p);
    drawPointNumbers(p);
    drawSignals(p);
    drawLabels(p);
    p.restore();
    drawLegend(p);
    drawTitleBlock(p);
    return image;
}

QImage reduceToIndexed(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, qint64> uses;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            ++uses[line[x]];
    }
    std::vector<std::pair<qint64, QRgb>> ranked;
    ranked.reserve(uses.size());
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        ranked.emplace_back(it.value(), it.key());
    // Most used first; ties by colour value so reruns give identical files.
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<QRgb> table;
    for (std::size_t i = 0; i < ranked.size() && i < 256; ++i)
        table.append(ranked[i].second);
    return rgb.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

} // namespace artwork
