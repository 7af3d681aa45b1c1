#pragma once

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

// A timer of a Clock: calls its action once, `ms` of that clock after start().
// Starting it again moves the time; stop() cancels. Destroying it stops it.
class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Time and the event-processing wait. Everything that waits in the program
// (the pause between frames, the coil pulse, finding the DCC box) goes
// through here, so tests run with a fake clock and never sleep.
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic seconds since an arbitrary start; never jumps at midnight.
    virtual double seconds() const = 0;
    // Local wall-clock time for the status line.
    virtual QDateTime now() const = 0;
    // Lets the user interface handle pending events, waiting at most maxMs
    // for some to arrive.
    virtual void processEvents(int maxMs) = 0;
    // A single-shot timer on this clock; it runs only while started, so an
    // idle program keeps no timer going. By default a Qt timer on real time.
    virtual std::unique_ptr<ClockTimer> createTimer(std::function<void()> action);

    // Waits `seconds` of this clock while the user interface keeps handling
    // events; stops early once `cut` says so. Events are handled at least once.
    void wait(double seconds, const std::function<bool()>& cut = {})
    {
        const double end = this->seconds() + seconds;
        double now = 0;
        do {
            const double left = end - this->seconds();
            processEvents(std::max(1, static_cast<int>(std::ceil(left * 1000.0))));
            now = this->seconds();
        } while (now < end && !(cut && cut()));
    }
};
