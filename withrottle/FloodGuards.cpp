#include "FloodGuards.h"

#include "Clock.h"

#include <algorithm>
#include <cmath>

namespace withrottle {

LineRate::LineRate(int maxLines, double windowSeconds)
    : maxLines_(static_cast<std::size_t>(maxLines))
    , window_(windowSeconds)
{
}

bool LineRate::take(double now)
{
    if (times_.size() == maxLines_) {
        if (now - times_.front() < window_)
            return false;
        times_.pop_front();
    }
    times_.push_back(now);
    return true;
}

SpeedFolder::SpeedFolder(Clock& clock, Send send)
    : clock_(clock)
    , send_(std::move(send))
{
}

SpeedFolder::~SpeedFolder() = default;

SpeedFolder::Loco& SpeedFolder::loco(int address)
{
    Loco& entry = locos_[address];
    if (!entry.timer)
        entry.timer = clock_.createTimer([this, address] {
            Loco& waiting = locos_[address];
            if (waiting.pending)
                sendNow(address, waiting, waiting.speed);
        });
    return entry;
}

void SpeedFolder::speed(int address, const Speed& speed)
{
    Loco& entry = loco(address);
    const double sinceMs = (clock_.seconds() - entry.lastSent) * 1000.0;
    if (!entry.pending && sinceMs >= IntervalMs) {
        sendNow(address, entry, speed);
        return;
    }
    entry.speed = speed;
    if (!entry.pending) {
        entry.pending = true;
        entry.timer->start(std::max(1, static_cast<int>(std::ceil(IntervalMs - sinceMs))));
    }
}

void SpeedFolder::stopped(int address)
{
    auto found = locos_.find(address);
    if (found == locos_.end())
        return;
    found->second.pending = false;
    found->second.timer->stop();
    found->second.lastSent = clock_.seconds();
}

const SpeedFolder::Speed* SpeedFolder::waiting(int address) const
{
    const auto found = locos_.find(address);
    return found != locos_.end() && found->second.pending ? &found->second.speed : nullptr;
}

void SpeedFolder::sendNow(int address, Loco& loco, const Speed& speed)
{
    loco.pending = false;
    loco.timer->stop();
    loco.lastSent = clock_.seconds();
    // A copy: the send may fold a newer speed into this very entry.
    const Speed sent = speed;
    send_(address, sent);
}

} // namespace withrottle
