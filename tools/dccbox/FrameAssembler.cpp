#include "dccbox/FrameAssembler.h"

#include <utility>

namespace dccbox {

FrameAssembler::FrameAssembler(ClockFunction clock, std::chrono::milliseconds timeout)
    : clock_(std::move(clock))
    , timeout_(timeout)
{
}

std::vector<Assembled> FrameAssembler::feed(std::span<const std::uint8_t> bytes)
{
    std::vector<Assembled> out;
    if (auto dropped = expire())
        out.push_back(std::move(*dropped));
    if (bytes.empty())
        return out;

    const TimePoint now = clock_();
    for (const std::uint8_t byte : bytes) {
        if (partial_.empty())
            started_ = now;
        partial_.push_back(byte);
        if (partial_.size() < frameLength(partial_.front()))
            continue;
        const auto kind = xorOf(partial_) == 0 ? Assembled::Kind::Good : Assembled::Kind::BadCheck;
        out.push_back({kind, std::exchange(partial_, {})});
    }
    return out;
}

std::optional<Assembled> FrameAssembler::expire()
{
    const auto due = deadline();
    if (!due || clock_() < *due)
        return std::nullopt;
    return Assembled{Assembled::Kind::TimedOut, std::exchange(partial_, {})};
}

std::optional<TimePoint> FrameAssembler::deadline() const
{
    if (partial_.empty())
        return std::nullopt;
    return started_ + timeout_;
}

} // namespace dccbox
