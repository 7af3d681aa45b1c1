// The box's thread: reads the pty, answers, and keeps the records.
#include "dccbox/SimulatedBox.h"

#include "dccbox/BoxReplies.h"
#include "xpressnet/Describe.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace dccbox {

using xpressnet::Assembled;
using xpressnet::hex;

void SimulatedBox::run()
{
    std::array<pollfd, 2> fds{};
    fds[0] = {pty_.masterFd(), POLLIN, 0};
    fds[1] = {wakeRead_, POLLIN, 0};
    std::array<std::uint8_t, 256> buffer{};
    for (;;) {
        if (::poll(fds.data(), fds.size(), pollTimeoutMs()) < 0) {
            if (errno == EINTR)
                continue;
            emitLine(std::string("!! poll failed: ") + std::strerror(errno));
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(fds[0].fd, buffer.data(), buffer.size());
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                emitLine(std::string("!! pty read failed: ") + std::strerror(n == 0 ? EIO : errno));
                return;
            }
            if (n > 0) {
                const std::span<const std::uint8_t> chunk(buffer.data(), static_cast<std::size_t>(n));
                {
                    std::lock_guard lock(recordsMutex_);
                    bytes_.insert(bytes_.end(), chunk.begin(), chunk.end());
                }
                for (const Assembled& event : assembler_.feed(chunk))
                    handle(event);
            }
        } else if (fds[0].revents != 0) {
            // Cannot happen while we hold a slave descriptor; stop rather than spin.
            emitLine("!! pty hung up");
            return;
        }
        for (const Assembled& event : assembler_.expire())
            handle(event);
        sendDueAnswers();
    }
}

int SimulatedBox::pollTimeoutMs() const
{
    auto next = assembler_.deadline();
    if (!pending_.empty() && (!next || pending_.front().due < *next))
        next = pending_.front().due;
    if (!next)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void SimulatedBox::handle(const Assembled& event)
{
    // Recorded before the answer goes out: whoever has the answer can rely on
    // the records already showing its frame.
    const std::string bytes = hex(event.bytes);
    switch (event.kind) {
    case Assembled::Kind::Good:
        emitLine("<- " + bytes + "  " + xpressnet::describeCommand(event.bytes));
        {
            std::lock_guard lock(recordsMutex_);
            frames_.push_back(event.bytes);
        }
        framesArrived_.notify_all();
        answer(replyTo(event.bytes, options_.hardware, options_.software));
        break;
    case Assembled::Kind::BadCheck: {
        const Frame body(event.bytes.begin(), event.bytes.end() - 1);
        emitLine("!! bad check byte: " + bytes + " (expected " + hex(Frame{xpressnet::xorOf(body)}) + ")");
        {
            std::lock_guard lock(recordsMutex_);
            ++badFrames_;
        }
        answer(badCheckByteError);
        break;
    }
    case Assembled::Kind::TimedOut:
        emitLine("!! partial frame dropped, not completed within " + std::to_string(xpressnet::partialFrameTimeout.count())
             + " ms: " + bytes);
        {
            std::lock_guard lock(recordsMutex_);
            ++droppedFrames_;
        }
        answer(frameDroppedError);
        break;
    case Assembled::Kind::Skipped:
        // No frame, so nothing to answer; a real interface would be just as lost.
        emitLine("!! bytes that start no frame skipped: " + bytes);
        break;
    }
}

void SimulatedBox::answer(const Frame& reply)
{
    if (options_.silent)
        return;
    if (options_.answerDelayMs <= 0) {
        writeFrame(reply);
        return;
    }
    const auto delay = std::chrono::milliseconds(options_.answerDelayMs);
    pending_.push_back({std::chrono::steady_clock::now() + delay, reply});
}

void SimulatedBox::sendDueAnswers()
{
    const auto now = std::chrono::steady_clock::now();
    while (!pending_.empty() && pending_.front().due <= now) {
        writeFrame(pending_.front().bytes);
        pending_.pop_front();
    }
}

bool SimulatedBox::writeFrame(const Frame& frame)
{
    std::size_t done = 0;
    int failure = 0;
    {
        std::lock_guard lock(writeMutex_);
        while (done < frame.size() && failure == 0) {
            const ssize_t n = ::write(pty_.masterFd(), frame.data() + done, frame.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (errno != EINTR)
                failure = errno; // EAGAIN: the program under test stopped reading
        }
    }
    if (failure != 0) {
        emitLine("!! could not send " + hex(frame) + ": " + std::strerror(failure));
        return false;
    }
    emitLine("-> " + hex(frame) + "  " + xpressnet::describeReply(frame));
    return true;
}

} // namespace dccbox
