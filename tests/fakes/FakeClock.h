#pragma once

#include "Clock.h"

#include <QCoreApplication>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

// A clock that moves only when the program waits or a test advances it:
// processEvents(ms) advances it by ms, so a pause of one second takes no real
// time. Timers fire, in order of their time, as the clock passes it. Pending
// Qt events are still handled, and a test may hook in to act "during" a wait.
class FakeClock final : public Clock {
public:
    double seconds() const override { return now_; }
    QDateTime now() const override { return wallClock.addMSecs(static_cast<qint64>(now_ * 1000.0)); }

    void processEvents(int maxMs) override
    {
        ++waits;
        QCoreApplication::processEvents();
        moveTo(now_ + maxMs / 1000.0);
        if (duringWait)
            duringWait();
    }

    std::unique_ptr<ClockTimer> createTimer(std::function<void()> action) override
    {
        auto entry = std::make_shared<Entry>();
        entry->action = std::move(action);
        timers_.push_back(entry);
        return std::make_unique<Timer>(*this, entry);
    }

    void advance(double seconds) { moveTo(now_ + seconds); }

    // Timers running now.
    int activeTimers() const
    {
        return static_cast<int>(std::count_if(timers_.begin(), timers_.end(), [](const std::weak_ptr<Entry>& weak) {
            const auto entry = weak.lock();
            return entry && entry->active;
        }));
    }

    QDateTime wallClock = QDateTime(QDate(2026, 12, 7), QTime(15, 45));
    std::function<void()> duringWait;
    int waits = 0;

private:
    struct Entry {
        double due = 0.0;
        bool active = false;
        std::function<void()> action;
    };

    class Timer final : public ClockTimer {
    public:
        Timer(FakeClock& clock, std::shared_ptr<Entry> entry)
            : clock_(clock)
            , entry_(std::move(entry))
        {
        }
        ~Timer() override { entry_->active = false; }
        void start(int ms) override
        {
            entry_->due = clock_.now_ + std::max(0, ms) / 1000.0;
            entry_->active = true;
        }
        void stop() override { entry_->active = false; }
        bool isActive() const override { return entry_->active; }

    private:
        FakeClock& clock_;
        std::shared_ptr<Entry> entry_;
    };

    void moveTo(double target)
    {
        for (;;) {
            std::shared_ptr<Entry> next;
            std::erase_if(timers_, [](const std::weak_ptr<Entry>& weak) { return weak.expired(); });
            for (const auto& weak : timers_) {
                const auto entry = weak.lock();
                if (entry && entry->active && entry->due <= target && (!next || entry->due < next->due))
                    next = entry;
            }
            if (!next)
                break;
            now_ = std::max(now_, next->due);
            next->active = false;
            // The action may destroy its timer; the entry lives on meanwhile.
            const auto action = next->action;
            action();
        }
        now_ = std::max(now_, target);
    }

    double now_ = 0.0;
    std::vector<std::weak_ptr<Entry>> timers_;
};
