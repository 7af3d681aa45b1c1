#include "xpressnet/FrameAssembler.h"

#include <algorithm>
#include <utility>

namespace xpressnet {

bool isPlausibleHeader(std::uint8_t byte)
{
    const unsigned length = byte & 0x0Fu;
    switch (byte >> 4) {
    case 0x0:
        return length == 1 || length == 2;
    case 0x2:
        return length >= 1 && length <= 4;
    case 0x4:
        return length >= 2 && length % 2 == 0;
    case 0x5:
        return length == 2;
    case 0x6:
        return length >= 1 && length <= 3;
    case 0x8:
        return length <= 1;
    case 0x9:
        return length >= 1 && length <= 8;
    case 0xE:
        return length >= 1;
    case 0xF:
        return length <= 3;
    default:
        return false;
    }
}

FrameAssembler::FrameAssembler(Framing framing, ClockFunction clock, std::chrono::milliseconds timeout)
    : framing_(framing)
    , clock_(std::move(clock))
    , timeout_(timeout)
{
}

std::vector<Assembled> FrameAssembler::feed(Bytes bytes)
{
    std::vector<Assembled> out = expire();
    if (bytes.empty())
        return out;

    const TimePoint now = clock_();
    for (const std::uint8_t byte : bytes) {
        if (size_ == 0)
            started_ = now;
        buffer_[size_++] = byte;
        scan(out, now);
    }
    flushSkipped(out);
    return out;
}

std::vector<Assembled> FrameAssembler::expire()
{
    std::vector<Assembled> out;
    const auto due = deadline();
    if (!due)
        return out;
    const TimePoint now = clock_();
    if (now < *due)
        return out;
    out.push_back({Assembled::Kind::TimedOut, Frame(buffer_.begin(), buffer_.begin() + size_)});
    reported_ = size_;
    dropFront(1, now);
    scan(out, now);
    flushSkipped(out);
    return out;
}

std::optional<TimePoint> FrameAssembler::deadline() const
{
    if (size_ == 0)
        return std::nullopt;
    return started_ + timeout_;
}

void FrameAssembler::reset()
{
    size_ = 0;
    reported_ = 0;
    skipped_.clear();
}

FrameAssembler::Verdict FrameAssembler::judge(std::size_t& length) const
{
    std::size_t header = 0;
    if (framing_ == Framing::Usb) {
        if (buffer_[0] != usbMarker)
            return Verdict::Skip;
        if (size_ < 2)
            return Verdict::Wait;
        if (usbPrefixOf(buffer_[1]) == UsbPrefix::None)
            return Verdict::Skip;
        if (size_ < 3)
            return Verdict::Wait;
        header = usbPrefixLength;
    }
    if (!isPlausibleHeader(buffer_[header]))
        return Verdict::Skip;
    length = header + frameLength(buffer_[header]);
    return size_ < length ? Verdict::Wait : Verdict::Complete;
}

void FrameAssembler::scan(std::vector<Assembled>& out, TimePoint now)
{
    while (size_ > 0) {
        std::size_t length = 0;
        const Verdict verdict = judge(length);
        if (verdict == Verdict::Wait)
            return;
        if (verdict == Verdict::Skip) {
            if (reported_ == 0)
                skipped_.push_back(buffer_[0]);
            dropFront(1, now);
            continue;
        }
        flushSkipped(out);
        const std::size_t header = framing_ == Framing::Usb ? usbPrefixLength : 0;
        const auto prefix = header == 0 ? UsbPrefix::None : usbPrefixOf(buffer_[1]);
        Frame frame(buffer_.begin() + static_cast<std::ptrdiff_t>(header),
                    buffer_.begin() + static_cast<std::ptrdiff_t>(length));
        if (xorOf(frame) == 0) {
            out.push_back({Assembled::Kind::Good, std::move(frame), prefix});
            dropFront(length, now);
        } else {
            out.push_back({Assembled::Kind::BadCheck, std::move(frame), prefix});
            reported_ = std::max(reported_, length);
            dropFront(1, now);
        }
    }
}

void FrameAssembler::dropFront(std::size_t count, TimePoint now)
{
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(count),
              buffer_.begin() + static_cast<std::ptrdiff_t>(size_), buffer_.begin());
    size_ -= count;
    reported_ -= std::min(reported_, count);
    // The rest is a new candidate frame: its time starts now.
    started_ = now;
}

void FrameAssembler::flushSkipped(std::vector<Assembled>& out)
{
    if (!skipped_.empty())
        out.push_back({Assembled::Kind::Skipped, std::exchange(skipped_, {})});
}

} // namespace xpressnet
