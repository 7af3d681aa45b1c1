#include "QtClock.h"

#include <QEventLoop>
#include <QTimer>

QtClock::QtClock()
{
    elapsed_.start();
}

double QtClock::seconds() const
{
    return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

QDateTime QtClock::now() const
{
    return QDateTime::currentDateTime();
}

void QtClock::processEvents(int maxMs)
{
    // A nested loop that a precise timer ends: events are handled as they
    // come, without spinning the processor while nothing happens.
    QEventLoop loop;
    QTimer::singleShot(std::max(0, maxMs), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
