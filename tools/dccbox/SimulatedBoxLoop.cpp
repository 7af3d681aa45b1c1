// The box's thread: reads the pty or the TCP client, answers, and keeps the records.
#include "dccbox/SimulatedBox.h"

#include "xpressnet/Describe.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dccbox {

using xpressnet::Assembled;
using xpressnet::hex;

void SimulatedBox::run()
{
    std::array<pollfd, 3> fds{};
    for (;;) {
        fds[0] = {dataFd_, POLLIN, 0};
        fds[1] = {wakeRead_, POLLIN, 0};
        fds[2] = {listener_.fd(), POLLIN, 0};
        if (::poll(fds.data(), fds.size(), pollTimeoutMs()) < 0) {
            if (errno == EINTR)
                continue;
            emitLine(std::string("!! poll failed: ") + std::strerror(errno));
            return;
        }
        if (fds[1].revents != 0)
            return;
        // The client's news first: one that left makes room for the next.
        if (fds[0].revents != 0 && !readData())
            return;
        if (fds[2].revents & POLLIN)
            acceptClient();
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

bool SimulatedBox::readData()
{
    std::array<std::uint8_t, 256> buffer{};
    const ssize_t n = ::read(dataFd_, buffer.data(), buffer.size());
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (n <= 0) {
        const std::string why = n == 0 ? "closed" : std::strerror(errno);
        if (listener_.fd() >= 0) {
            dropClient(why);
            return true;
        }
        // Cannot happen while we hold a slave descriptor; stop rather than spin.
        emitLine("!! pty read failed: " + why);
        return false;
    }
    const std::span<const std::uint8_t> chunk(buffer.data(), static_cast<std::size_t>(n));
    {
        std::lock_guard lock(recordsMutex_);
        bytes_.insert(bytes_.end(), chunk.begin(), chunk.end());
    }
    for (const Assembled& event : assembler_.feed(chunk))
        handle(event);
    return true;
}

void SimulatedBox::acceptClient()
{
    const int client = listener_.accept();
    if (client < 0)
        return;
    if (dataFd_ >= 0) {
        ::close(client);
        emitLine("!! a second client was turned away: one at a time");
        return;
    }
    {
        std::lock_guard lock(ioMutex_);
        dataFd_ = client;
    }
    emitLine("-- client connected");
}

void SimulatedBox::dropClient(const std::string& why)
{
    {
        std::lock_guard lock(ioMutex_);
        ::close(dataFd_);
        dataFd_ = -1;
    }
    // Nothing half-received or still due belongs to the next client.
    assembler_.reset();
    pending_.clear();
    emitLine("-- client left (" + why + ")");
}

void SimulatedBox::handle(const Assembled& event)
{
    // Recorded before the answer goes out: whoever has the answer can rely on
    // the records already showing its frame.
    const std::string bytes = hex(event.bytes);
    switch (event.kind) {
    case Assembled::Kind::Good:
        emitLine("<- " + hex(xpressnet::withUsbPrefix(event.bytes, event.prefix)) + "  "
                 + xpressnet::describeCommand(event.bytes));
        {
            std::lock_guard lock(recordsMutex_);
            frames_.push_back(event.bytes);
        }
        framesArrived_.notify_all();
        answer(answerTo(event.bytes));
        {
            std::lock_guard lock(recordsMutex_);
            ++answered_;
        }
        framesArrived_.notify_all();
        break;
    case Assembled::Kind::BadCheck: {
        const Frame body(event.bytes.begin(), event.bytes.end() - 1);
        emitLine("!! bad check byte: " + bytes + " (expected " + hex(Frame{xpressnet::xorOf(body)}) + ")");
        {
            std::lock_guard lock(recordsMutex_);
            ++badFrames_;
        }
        answer({{badCheckByteError}});
        break;
    }
    case Assembled::Kind::TimedOut:
        emitLine("!! partial frame dropped, not completed within "
                 + std::to_string(xpressnet::partialFrameTimeout.count()) + " ms: " + bytes);
        {
            std::lock_guard lock(recordsMutex_);
            ++droppedFrames_;
        }
        answer({{frameDroppedError}});
        break;
    case Assembled::Kind::Skipped:
        // No frame, so nothing to answer.
        emitLine("!! bytes that start no frame skipped: " + bytes);
        break;
    }
}

std::vector<Outgoing> SimulatedBox::answerTo(const Frame& command)
{
    {
        std::lock_guard lock(controlMutex_);
        if (silent_)
            return {};
        if (ignoreNext_ > 0) {
            --ignoreNext_;
            return {};
        }
        if (failNext_ > 0) {
            --failNext_;
            return {{stationLinkError}};
        }
        if (busyNext_ > 0) {
            --busyNext_;
            return {{stationBusy}};
        }
        // Without a time slot only the interface itself can answer.
        if (slotLost_ && command != Frame{0xF0, 0xF0})
            return {{timeSlotLost}};
    }
    return station_.answer(command);
}

void SimulatedBox::answer(std::vector<Outgoing> replies)
{
    int delayMs = 0;
    {
        std::lock_guard lock(controlMutex_);
        if (silent_)
            return;
        delayMs = answerDelayMs_;
    }
    for (Outgoing& reply : replies) {
        // Behind a delayed answer nothing may overtake it.
        if (delayMs <= 0 && pending_.empty()) {
            writeFrame(reply);
            continue;
        }
        const auto delay = std::chrono::milliseconds(std::max(delayMs, 0));
        pending_.push_back({std::chrono::steady_clock::now() + delay, std::move(reply)});
    }
}

void SimulatedBox::sendDueAnswers()
{
    const auto now = std::chrono::steady_clock::now();
    while (!pending_.empty() && pending_.front().due <= now) {
        writeFrame(pending_.front().outgoing);
        pending_.pop_front();
    }
}

bool SimulatedBox::writeFrame(const Outgoing& outgoing)
{
    using xpressnet::UsbPrefix;
    const auto prefix = options_.framing == xpressnet::Framing::Bare ? UsbPrefix::None
        : outgoing.broadcast                                          ? UsbPrefix::Broadcast
                                                                      : UsbPrefix::Answer;
    const Frame wire = xpressnet::withUsbPrefix(outgoing.frame, prefix);
    std::size_t done = 0;
    int failure = 0;
    {
        std::lock_guard lock(ioMutex_);
        if (dataFd_ < 0)
            failure = ENOTCONN;
        while (done < wire.size() && failure == 0) {
            // MSG_NOSIGNAL: a client gone away must not end the whole process.
            const ssize_t n = options_.tcpPort
                ? ::send(dataFd_, wire.data() + done, wire.size() - done, MSG_NOSIGNAL)
                : ::write(dataFd_, wire.data() + done, wire.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (errno != EINTR)
                failure = errno; // EAGAIN: the program under test stopped reading
        }
    }
    if (failure != 0) {
        const std::string why = failure == ENOTCONN ? "no program connected" : std::strerror(failure);
        emitLine("!! could not send " + hex(wire) + ": " + why);
        return false;
    }
    emitLine("-> " + hex(wire) + "  " + xpressnet::describeReply(outgoing.frame));
    return true;
}

} // namespace dccbox
