#include "Clock.h"

#include <QTimer>

namespace {

class QtClockTimer final : public ClockTimer {
public:
    explicit QtClockTimer(std::function<void()> action)
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [action = std::move(action)] { action(); });
    }
    void start(int ms) override { timer_.start(std::max(0, ms)); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

std::unique_ptr<ClockTimer> Clock::createTimer(std::function<void()> action)
{
    return std::make_unique<QtClockTimer>(std::move(action));
}
