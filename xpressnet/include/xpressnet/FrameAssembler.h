#pragma once

#include "xpressnet/Frame.h"
#include "xpressnet/UsbFraming.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace xpressnet {

using TimePoint = std::chrono::steady_clock::time_point;
using ClockFunction = std::function<TimePoint()>;

// The interface gives up on a frame whose bytes stop coming for this long.
inline constexpr std::chrono::milliseconds partialFrameTimeout{100};

// A header XpressNet uses in either direction (01, 02, 21..24, 42..4E, 52,
// 61..63, 80, 81, 91..98, E1..EF, F0..F3). Any other byte cannot start a
// frame, which is how the assembler finds its way back after garbage.
bool isPlausibleHeader(std::uint8_t byte);

// What the assembler made of the bytes so far.
struct Assembled {
    enum class Kind {
        Good,     // complete, check byte right
        BadCheck, // complete, check byte wrong
        TimedOut, // partial frame not completed in time, dropped
        Skipped,  // bytes that start no frame, passed over
    };
    Kind kind;
    // Good, BadCheck: the frame without its USB prefix, which is in `prefix`.
    // TimedOut, Skipped: the bytes as they came, any prefix included.
    Frame bytes;
    UsbPrefix prefix = UsbPrefix::None;
};

// Cuts a byte stream, arriving in arbitrary chunks, into frames. After a bad
// or unfinished frame it looks again from the byte after that frame's first
// byte, so a good frame hidden behind garbage is still found; bytes already
// reported are not reported twice. At most one frame's bytes (with prefix) are
// ever held. The clock is injected so tests can move time by hand.
class FrameAssembler {
public:
    explicit FrameAssembler(Framing framing = Framing::Bare,
                            ClockFunction clock = [] { return std::chrono::steady_clock::now(); },
                            std::chrono::milliseconds timeout = partialFrameTimeout);

    // Everything the new bytes complete, in order. A partial frame that was
    // already overdue is dropped (and reported) before the new bytes count.
    std::vector<Assembled> feed(Bytes bytes);

    // Drops the partial frame if it is overdue (and whatever its rest then completes).
    std::vector<Assembled> expire();

    // When the partial frame will be overdue; empty when there is none.
    std::optional<TimePoint> deadline() const;

    // Bytes held for the partial frame; never more than one frame with prefix.
    std::size_t buffered() const { return size_; }

    // Forgets the partial frame, as after a reconnect.
    void reset();

private:
    enum class Verdict { Skip, Wait, Complete };
    Verdict judge(std::size_t& length) const;
    void scan(std::vector<Assembled>& out, TimePoint now);
    void dropFront(std::size_t count, TimePoint now);
    void flushSkipped(std::vector<Assembled>& out);

    Framing framing_;
    ClockFunction clock_;
    std::chrono::milliseconds timeout_;
    std::array<std::uint8_t, usbPrefixLength + maxFrameLength> buffer_{};
    std::size_t size_ = 0;
    std::size_t reported_ = 0; // leading bytes of buffer_ already shown in an event
    TimePoint started_{};
    Frame skipped_;
};

} // namespace xpressnet
