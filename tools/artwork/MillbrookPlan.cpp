#include "MillbrookPlan.h"

#include <QRectF>
#include <QtMath>

#include <cmath>

namespace artwork::millbrook {
namespace {

// Schematic ovals use 45-degree corners like a real mimic panel.
QPolygonF chamferedRect(QRectF r, qreal c)
{
    return QPolygonF({{r.left() + c, r.top()}, {r.right() - c, r.top()},
                      {r.right(), r.top() + c}, {r.right(), r.bottom() - c},
                      {r.right() - c, r.bottom()}, {r.left() + c, r.bottom()},
                      {r.left(), r.bottom() - c}, {r.left(), r.top() + c}});
}

constexpr qreal kMainSpacing = 80;
const QRectF kDownMainRect{220, 320, 2560, 1320};
constexpr qreal kDownMainCorner = 200;
// An inset octagon keeps the same line spacing along its chamfers.
const QRectF kUpMainRect = kDownMainRect.adjusted(kMainSpacing, kMainSpacing,
                                                  -kMainSpacing, -kMainSpacing);
const qreal kUpMainCorner = kDownMainCorner - kMainSpacing * (2 - std::sqrt(2.0));

} // namespace

QPointF polar(QPointF centre, qreal degreesFromUp, qreal radius)
{
    const qreal a = qDegreesToRadians(degreesFromUp);
    return centre + QPointF(std::sin(a), -std::cos(a)) * radius;
}

std::vector<Track> tracks()
{
    std::vector<Track> t;
    auto add = [&t](Route r, QPolygonF p, bool bufStart = false, bool bufEnd = false) {
        t.push_back({r, std::move(p), false, bufStart, bufEnd});
    };
    constexpr qreal ladderDrop = kLastFiddleRoad - 400;
    add(Route::Fiddle, QPolygonF({{880, 400}, {880 + ladderDrop, kLastFiddleRoad}}));
    add(Route::Fiddle, QPolygonF({{2000, 400}, {2000 - ladderDrop, kLastFiddleRoad}}));
    for (int road = 0; road < kFiddleRoads; ++road) {
        const qreal y = kFirstFiddleRoad + kFiddleRoadSpacing * road;
        add(Route::Fiddle, QPolygonF({{880 + (y - 400), y}, {2000 - (y - 400), y}}));
    }

    // Goods yard ladder, its sidings and the loco line up to the turntable.
    add(Route::Goods, QPolygonF({{1060, 1560}, {980, 1480}, {440, 1480}}), false, true);
    add(Route::Goods, QPolygonF({{880, 1480}, {640, 1240}, {580, 1180},
                                 {580, kTurntable.y() + kTurntableRadius}}));
    add(Route::Goods, QPolygonF({{800, 1400}, {440, 1400}}), false, true);
    add(Route::Goods, QPolygonF({{720, 1320}, {440, 1320}}), false, true);
    add(Route::Goods, QPolygonF({{640, 1240}, {440, 1240}}), false, true);
    // Turntable roads: shed road straight up, stabling roads fanned out.
    const struct { qreal angle; qreal length; } radials[] = {
        {0, 250}, {-45, 190}, {45, 190}, {-90, 160}, {90, 200}};
    for (const auto &r : radials)
        add(Route::Goods, QPolygonF({polar(kTurntable, r.angle, kTurntableRadius),
                                     polar(kTurntable, r.angle, r.length)}),
            false, true);

    // Bay platform road which becomes the branch, climbing to Ashby Halt.
    add(Route::Branch, QPolygonF({{1120, 1450}, {2410, 1450}, {2560, 1300},
                                  {2560, 880}, {2440, 760}, {2040, 760}}),
        true, true);
    add(Route::Branch, QPolygonF({{2000, 1450}, {2110, 1560}}));
    // Carriage sidings for the branch set, off a ladder from the bay road.
    add(Route::Branch, QPolygonF({{2300, 1450}, {2100, 1250}, {1260, 1250}}), false, true);
    add(Route::Branch, QPolygonF({{2220, 1370}, {1340, 1370}}), false, true);
    add(Route::Branch, QPolygonF({{2160, 1310}, {1300, 1310}}), false, true);
    add(Route::Branch, QPolygonF({{2380, 760}, {2310, 690}, {2190, 690}, {2120, 760}}));
    add(Route::Branch, QPolygonF({{2270, 690}, {2200, 620}, {2070, 620}}), false, true);

    // Main lines last so they lie on top where others join them.
    t.push_back({Route::Main, chamferedRect(kDownMainRect, kDownMainCorner), true});
    t.push_back({Route::Main, chamferedRect(kUpMainRect, kUpMainCorner), true});
    add(Route::Main, QPolygonF({{740, 1640}, {820, 1560}}));
    add(Route::Main, QPolygonF({{2200, 1560}, {2280, 1640}}));
    add(Route::Main, QPolygonF({{700, 320}, {780, 400}}));
    add(Route::Main, QPolygonF({{2100, 400}, {2180, 320}}));
    return t;
}

// Top of the board left to right, then the lower half roughly left to
// right, then the branch terminus.
std::vector<PointMark> points()
{
    std::vector<PointMark> p = {
        {{700, 320}, {-30, 40}},  {{780, 400}, {30, -40}},
    };
    // Ladder points: on the Up main, then where each road but the last
    // leaves the diagonal.
    std::vector<qreal> alongLadder{0};
    for (int road = 0; road + 1 < kFiddleRoads; ++road)
        alongLadder.push_back(kFirstFiddleRoad + kFiddleRoadSpacing * road - 400);
    for (const qreal d : alongLadder)
        p.push_back({{880 + d, 400 + d}, {-38, 24}});
    for (const qreal d : alongLadder)
        p.push_back({{2000 - d, 400 + d}, {38, 24}});
    const PointMark rest[] = {
        {{2100, 400}, {-30, -40}}, {{2180, 320}, {30, 40}},
        {{740, 1640}, {-30, -40}}, {{820, 1560}, {30, 40}},
        {{640, 1240}, {36, -26}},  {{720, 1320}, {36, -26}},
        {{800, 1400}, {36, -26}},  {{880, 1480}, {36, -26}},
        {{1060, 1560}, {0, 40}},   {{2000, 1450}, {-36, 32}},
        {{2110, 1560}, {34, -32}}, {{2160, 1310}, {34, -26}},
        {{2220, 1370}, {34, -26}}, {{2300, 1450}, {34, -26}},
        {{2200, 1560}, {-30, 40}},
        {{2280, 1640}, {30, -40}}, {{2120, 760}, {-24, 38}},
        {{2270, 690}, {34, -26}},  {{2380, 760}, {24, 38}},
    };
    p.insert(p.end(), std::begin(rest), std::end(rest));
    return p;
}

std::vector<SignalLamp> signalLamps()
{
    const QPointF up{0, -1}, down{0, 1}, right{1, 0};
    std::vector<SignalLamp> s = {
        {{1040, 1640}, down, Lamp::Red},    {{1960, 1640}, down, Lamp::Green},
        {{2060, 1560}, down, Lamp::Red},    {{1130, 1560}, down, Lamp::Yellow},
        {{1170, 1450}, up, Lamp::Red},      {{2150, 1450}, up, Lamp::Green},
        {{2560, 1020}, right, Lamp::Red},   {{2420, 760}, up, Lamp::Green},
        {{1100, 320}, up, Lamp::Red},       {{1620, 320}, up, Lamp::Green},
        {{2290, 400}, down, Lamp::Red},     {{560, 400}, down, Lamp::Yellow},
    };
    for (int road = 0; road + 1 < kFiddleRoads; ++road) {
        const qreal y = kFirstFiddleRoad + kFiddleRoadSpacing * road;
        // The storage roads lie close together, so their lamps sit nearer.
        s.push_back({{2000 - (y - 400) - 44, y}, up, road == 1 ? Lamp::Green : Lamp::Red,
                     24});
    }
    return s;
}

} // namespace artwork::millbrook
