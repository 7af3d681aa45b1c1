#pragma once

#include <QPointF>
#include <QPolygonF>

#include <vector>

// Where everything lies on the Millbrook Junction track plan, in pixels of
// the 3000 x 2000 sheet before the plan is moved up to make room for the
// key. Kept apart from the drawing so the layout can be changed alone.
namespace artwork::millbrook {

enum class Route { Main, Branch, Goods, Fiddle };

struct Track {
    Route route;
    QPolygonF path;
    bool closed = false;
    bool bufferAtStart = false;
    bool bufferAtEnd = false;
};

struct PointMark {
    QPointF at;
    QPointF labelOffset; // centre of the number badge, from the point
};

enum class Lamp { Red, Yellow, Green };

struct SignalLamp {
    QPointF onTrack;
    QPointF side; // unit vector from the track to the lamp
    Lamp lit;
    qreal offset = 32; // lamp centre from the track centre
};

inline const QPointF kTurntable{580, 940};
inline constexpr qreal kTurntableRadius = 64;

// Fiddle yard: storage roads fanned between two 45-degree ladders that leave
// the Up main at x = 880 and x = 2000; a road at height y leaves each ladder
// (y - 400) pixels along it.
inline constexpr int kFiddleRoads = 6;
inline constexpr qreal kFirstFiddleRoad = 480;
inline constexpr qreal kFiddleRoadSpacing = 70;
inline constexpr qreal kLastFiddleRoad =
    kFirstFiddleRoad + (kFiddleRoads - 1) * kFiddleRoadSpacing;

// Point on a circle, angle clockwise from straight up.
QPointF polar(QPointF centre, qreal degreesFromUp, qreal radius);

std::vector<Track> tracks();
// In lever order; the n-th point (from 0) has number 2n + 2.
std::vector<PointMark> points();
std::vector<SignalLamp> signalLamps();

} // namespace artwork::millbrook
