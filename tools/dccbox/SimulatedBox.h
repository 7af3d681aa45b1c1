#pragma once

#include "dccbox/BoxReplies.h"
#include "dccbox/CommandStation.h"
#include "dccbox/Options.h"
#include "dccbox/PseudoTerminal.h"
#include "dccbox/TcpListener.h"
#include "xpressnet/FrameAssembler.h"

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

using LineHandler = std::function<void(const std::string&)>;

// An XpressNet PC interface with a command station behind it, on the far side
// of a real pseudo-terminal (bare frames like an LI101F, or LI-USB prefixes)
// or of a TCP socket on 127.0.0.1 (one client at a time). It answers from a
// background thread; start(), stop() and the addresses belong to the owning
// thread, the rest may be called from any.
class SimulatedBox {
public:
    explicit SimulatedBox(Options options = {});
    ~SimulatedBox();
    SimulatedBox(const SimulatedBox&) = delete;
    SimulatedBox& operator=(const SimulatedBox&) = delete;

    bool start(std::string* error = nullptr);
    void stop();
    // The slave device the program under test opens ("/dev/pts/N"); empty when stopped or on TCP.
    std::string devicePath() const;
    // The TCP port it listens on; 0 when stopped or on a pty.
    std::uint16_t tcpPort() const { return listener_.port(); }
    // Where to reach it, for people: "/dev/pts/3" or "127.0.0.1:5550".
    std::string address() const;
    const Options& options() const { return options_; }

    // Receives, from the box's thread and never two at once, one line per event:
    // "<- E4 12 00 03 89 7C  loco 3: ..." for a frame received,
    // "-> 01 04 05  command accepted" for a frame sent (bytes as on the wire),
    // "-- ..." for a client coming or going, "!! ..." for an error found.
    // Whatever the handler uses must outlive the box (or its stop()).
    void setLineHandler(LineHandler handler);

    // Well-formed frames received, in order, without prefixes. Every record
    // below is made before the answer leaves, so once the answer is read its
    // frame is here.
    std::vector<Frame> frames() const;
    // Every byte received, including those of bad and dropped frames.
    std::vector<std::uint8_t> receivedBytes() const;
    // Frames with a wrong check byte; partial frames dropped after the timeout.
    std::size_t badFrames() const;
    std::size_t droppedFrames() const;
    // True as soon as `count` well-formed frames have arrived in all.
    bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout);
    // True as soon as `count` well-formed frames have been dealt with: their
    // answers written (delayed ones excepted), or none given. A frame sent by
    // send() after this comes after those answers.
    bool waitForAnswered(std::size_t count, std::chrono::milliseconds timeout);

    // Talking back, as the command station or the interface do on their own.
    // Sends an unprompted frame (e.g. emergencyStop), also when silent; false
    // when nobody is connected or the write failed.
    bool send(const Frame& frame);
    // Silent: no answer to anything, as if the bus cable were pulled.
    void setSilent(bool silent);
    // Answer the next `count` frames with 01 02 03 (not passed on) / with nothing.
    void failNext(std::size_t count);
    void ignoreNext(std::size_t count);
    // Answer the next `count` frames with 61 81 (command station busy).
    void busyNext(std::size_t count);
    // Every answer from now on leaves `ms` after its frame came (0: at once),
    // as a slow adapter or a busy bus would; starts at the option's delay.
    void setAnswerDelay(int ms);
    // 01 05 04, and the same as the answer to every command until restoreTimeSlot()
    // sends 01 07 06. The interface still answers F0 F0 itself.
    bool loseTimeSlot();
    bool restoreTimeSlot();
    // E3 40 AH AL X: another throttle took the loco over.
    bool takeOver(unsigned loco);

private:
    struct PendingAnswer {
        xpressnet::TimePoint due;
        Outgoing outgoing;
    };

    void closeWakePipe();
    void run();
    int pollTimeoutMs() const;
    bool readData();
    void acceptClient();
    void dropClient(const std::string& why);
    void handle(const xpressnet::Assembled& event);
    std::vector<Outgoing> answerTo(const Frame& command);
    void answer(std::vector<Outgoing> replies);
    void sendDueAnswers();
    bool writeFrame(const Outgoing& outgoing);
    void emitLine(const std::string& line);

    const Options options_;
    PseudoTerminal pty_;
    TcpListener listener_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    bool linked_ = false;
    std::thread thread_;

    // Only the box's thread touches these.
    xpressnet::FrameAssembler assembler_;
    CommandStation station_;
    std::deque<PendingAnswer> pending_;

    mutable std::mutex recordsMutex_;
    std::condition_variable framesArrived_;
    std::vector<Frame> frames_;
    std::vector<std::uint8_t> bytes_;
    std::size_t badFrames_ = 0;
    std::size_t droppedFrames_ = 0;
    std::size_t answered_ = 0;

    // What the talk-back calls set and the box's thread follows.
    std::mutex controlMutex_;
    bool silent_ = false;
    bool slotLost_ = false;
    std::size_t failNext_ = 0;
    std::size_t ignoreNext_ = 0;
    std::size_t busyNext_ = 0;
    int answerDelayMs_ = 0;

    // The descriptor frames travel on: the pty's master, the TCP client or -1.
    // Only the box's thread changes it, and only while holding ioMutex_.
    std::mutex ioMutex_;
    int dataFd_ = -1;

    std::mutex handlerMutex_;
    LineHandler handler_;
};

} // namespace dccbox
