#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>

class Clock;
class ClockTimer;

namespace withrottle {

// How many lines a phone may send within a window of seconds; one more and
// the session is closed. Keeps only the times of the last `maxLines` lines.
class LineRate {
public:
    LineRate(int maxLines, double windowSeconds);
    // Counts a line that came at `now` (seconds); false when it is one too many.
    bool take(double now);

private:
    std::size_t maxLines_;
    double window_;
    std::deque<double> times_;
};

// Folds the speed changes of each loco so that at most one speed frame per
// loco per IntervalMs reaches the link: a change within the interval waits,
// and a newer change replaces it. Stops are never folded: the caller sends
// them at once and calls stopped(), which drops what waits for that loco.
class SpeedFolder {
public:
    static constexpr int IntervalMs = 50;
    struct Speed {
        int step = 0;
        bool forward = true;
        int origin = 0; // who asked for it
    };
    using Send = std::function<void(int address, const Speed& speed)>;

    SpeedFolder(Clock& clock, Send send);
    ~SpeedFolder();
    SpeedFolder(const SpeedFolder&) = delete;
    SpeedFolder& operator=(const SpeedFolder&) = delete;

    void speed(int address, const Speed& speed);
    void stopped(int address);
    // The speed waiting for the loco, if any.
    const Speed* waiting(int address) const;

private:
    struct Loco {
        double lastSent = -1e9;
        bool pending = false;
        Speed speed;
        std::unique_ptr<ClockTimer> timer;
    };
    void sendNow(int address, Loco& loco, const Speed& speed);
    Loco& loco(int address);

    Clock& clock_;
    Send send_;
    std::map<int, Loco> locos_;
};

} // namespace withrottle
