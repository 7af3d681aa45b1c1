#pragma once

#include "Clock.h"

#include <QCoreApplication>

#include <functional>

// A clock that moves only when the program waits: processEvents(ms) advances
// it by ms, so a pause of one second takes no real time. Pending Qt events
// are still handled, and a test may hook in to act "during" a wait.
class FakeClock final : public Clock {
public:
    double seconds() const override { return now_; }
    QDateTime now() const override { return wallClock.addMSecs(static_cast<qint64>(now_ * 1000.0)); }

    void processEvents(int maxMs) override
    {
        ++waits;
        QCoreApplication::processEvents();
        now_ += maxMs / 1000.0;
        if (duringWait)
            duringWait();
    }

    void advance(double seconds) { now_ += seconds; }

    QDateTime wallClock = QDateTime(QDate(2026, 12, 7), QTime(15, 45));
    std::function<void()> duringWait;
    int waits = 0;

private:
    double now_ = 0.0;
};
