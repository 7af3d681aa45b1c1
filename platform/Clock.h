#pragma once

#include <QDateTime>

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
};
