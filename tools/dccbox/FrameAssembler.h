#pragma once

#include "dccbox/Frame.h"

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace dccbox {

using TimePoint = std::chrono::steady_clock::time_point;
using ClockFunction = std::function<TimePoint()>;

// The interface gives up on a frame whose bytes stop coming for this long.
inline constexpr std::chrono::milliseconds partialFrameTimeout{100};

// What the assembler made of the bytes so far.
struct Assembled {
    enum class Kind {
        Good,     // complete, check byte right
        BadCheck, // complete, check byte wrong
        TimedOut, // partial frame not completed in time, dropped
    };
    Kind kind;
    Frame bytes;
};

// Cuts a byte stream, arriving in arbitrary chunks, into frames. The clock is
// injected so tests can move time by hand instead of waiting for it.
class FrameAssembler {
public:
    explicit FrameAssembler(ClockFunction clock = [] { return std::chrono::steady_clock::now(); },
                            std::chrono::milliseconds timeout = partialFrameTimeout);

    // Everything the new bytes complete, in order. A partial frame that was
    // already overdue is dropped (and reported) before the new bytes count.
    std::vector<Assembled> feed(std::span<const std::uint8_t> bytes);

    // Drops the partial frame if it is overdue.
    std::optional<Assembled> expire();

    // When the partial frame will be overdue; empty when there is none.
    std::optional<TimePoint> deadline() const;

private:
    ClockFunction clock_;
    std::chrono::milliseconds timeout_;
    Frame partial_;
    TimePoint started_{};
};

} // namespace dccbox
