#pragma once

#include "dccbox/BoxReplies.h"
#include "xpressnet/FrameAssembler.h"
#include "dccbox/PseudoTerminal.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dccbox {

struct Options {
    // Delay before each answer, like a USB adapter's 16 ms latency; 0 = at once.
    int answerDelayMs = 0;
    // Never answer anything: the port is there but no box is behind it.
    bool silent = false;
    // Versions reported for F0 F0, in BCD (0x36 = 3.6).
    std::uint8_t hardware = 0x01;
    std::uint8_t software = 0x36;
    // When set, a symlink to the device is made here on start and removed on stop.
    std::string linkPath;
};

using LineHandler = std::function<void(const std::string&)>;

// An XpressNet PC interface (LI101F-like: bare frames) on the far side of a
// real pseudo-terminal. It answers from a background thread; start(), stop()
// and devicePath() belong to the owning thread, the rest may be called from any.
class SimulatedBox {
public:
    explicit SimulatedBox(Options options = {});
    ~SimulatedBox();
    SimulatedBox(const SimulatedBox&) = delete;
    SimulatedBox& operator=(const SimulatedBox&) = delete;

    bool start(std::string* error = nullptr);
    void stop();
    // The slave device the program under test opens ("/dev/pts/N"); empty when stopped.
    std::string devicePath() const;
    const Options& options() const { return options_; }

    // Receives, from the box's thread and never two at once, one line per event:
    // "<- E4 12 00 03 89 7C  loco 3: ..." for a frame received,
    // "-> 01 04 05  command accepted" for a frame sent, "!! ..." for an error found.
    // Whatever the handler uses must outlive the box (or its stop()).
    void setLineHandler(LineHandler handler);

    // Well-formed frames received, in order. Every record below is made before
    // the answer leaves, so once the answer is read its frame is here.
    std::vector<Frame> frames() const;
    // Every byte received, including those of bad and dropped frames.
    std::vector<std::uint8_t> receivedBytes() const;
    // Frames with a wrong check byte; partial frames dropped after the timeout.
    std::size_t badFrames() const;
    std::size_t droppedFrames() const;
    // True as soon as `count` well-formed frames have arrived in all.
    bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout);

    // Sends an unprompted frame (e.g. 61 00 61, track power off), also when silent.
    bool send(const Frame& frame);

private:
    struct PendingAnswer {
        xpressnet::TimePoint due;
        Frame bytes;
    };

    void closeWakePipe();
    void run();
    int pollTimeoutMs() const;
    void handle(const xpressnet::Assembled& event);
    void answer(const Frame& reply);
    void sendDueAnswers();
    bool writeFrame(const Frame& frame);
    void emitLine(const std::string& line);

    const Options options_;
    PseudoTerminal pty_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    bool linked_ = false;
    std::thread thread_;

    // Only the box's thread touches these.
    xpressnet::FrameAssembler assembler_;
    std::deque<PendingAnswer> pending_;

    mutable std::mutex recordsMutex_;
    std::condition_variable framesArrived_;
    std::vector<Frame> frames_;
    std::vector<std::uint8_t> bytes_;
    std::size_t badFrames_ = 0;
    std::size_t droppedFrames_ = 0;

    std::mutex writeMutex_;
    std::mutex handlerMutex_;
    LineHandler handler_;
};

} // namespace dccbox
