#include "dccbox/SimulatedBox.h"

#include "dccbox/DeviceLink.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace dccbox {

SimulatedBox::SimulatedBox(Options options)
    : options_(std::move(options))
    , assembler_(options_.framing)
    , station_(options_)
    , silent_(options_.silent)
    , answerDelayMs_(options_.answerDelayMs)
{
}

SimulatedBox::~SimulatedBox()
{
    stop();
}

bool SimulatedBox::start(std::string* error)
{
    if (thread_.joinable()) {
        if (error)
            *error = "already running";
        return false;
    }
    if (options_.tcpPort) {
        if (!listener_.open(*options_.tcpPort, error))
            return false;
    } else {
        if (!pty_.open(error))
            return false;
        dataFd_ = pty_.masterFd();
    }
    const auto undo = [this] {
        closeWakePipe();
        listener_.close();
        pty_.close();
        dataFd_ = -1;
        return false;
    };
    std::array<int, 2> wake{};
    if (::pipe2(wake.data(), O_CLOEXEC) != 0) {
        if (error)
            *error = std::string("pipe2: ") + std::strerror(errno);
        return undo();
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    if (!options_.linkPath.empty() && !options_.tcpPort) {
        linked_ = makeDeviceLink(pty_.slavePath(), options_.linkPath, error);
        if (!linked_)
            return undo();
    }
    thread_ = std::thread(&SimulatedBox::run, this);
    return true;
}

void SimulatedBox::stop()
{
    if (thread_.joinable()) {
        const char quit = 'q';
        while (::write(wakeWrite_, &quit, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    closeWakePipe();
    if (linked_)
        removeDeviceLink(pty_.slavePath(), options_.linkPath);
    linked_ = false;
    {
        std::lock_guard lock(ioMutex_);
        if (dataFd_ >= 0 && dataFd_ != pty_.masterFd())
            ::close(dataFd_);
        dataFd_ = -1;
    }
    listener_.close();
    pty_.close();
    pending_.clear();
    assembler_.reset();
}

void SimulatedBox::closeWakePipe()
{
    for (int* fd : {&wakeRead_, &wakeWrite_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::string SimulatedBox::devicePath() const
{
    return pty_.slavePath();
}

std::string SimulatedBox::address() const
{
    if (listener_.fd() >= 0)
        return "127.0.0.1:" + std::to_string(listener_.port());
    return pty_.slavePath();
}

void SimulatedBox::setLineHandler(LineHandler handler)
{
    std::lock_guard lock(handlerMutex_);
    handler_ = std::move(handler);
}

std::vector<Frame> SimulatedBox::frames() const
{
    std::lock_guard lock(recordsMutex_);
    return frames_;
}

std::vector<std::uint8_t> SimulatedBox::receivedBytes() const
{
    std::lock_guard lock(recordsMutex_);
    return bytes_;
}

std::size_t SimulatedBox::badFrames() const
{
    std::lock_guard lock(recordsMutex_);
    return badFrames_;
}

std::size_t SimulatedBox::droppedFrames() const
{
    std::lock_guard lock(recordsMutex_);
    return droppedFrames_;
}

bool SimulatedBox::waitForFrames(std::size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(recordsMutex_);
    return framesArrived_.wait_for(lock, timeout, [&] { return frames_.size() >= count; });
}

bool SimulatedBox::waitForAnswered(std::size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(recordsMutex_);
    return framesArrived_.wait_for(lock, timeout, [&] { return answered_ >= count; });
}

bool SimulatedBox::send(const Frame& frame)
{
    // What the terminal raised is the command station's state from now on.
    station_.noteBroadcast(frame);
    return writeFrame({frame, true});
}

void SimulatedBox::setSilent(bool silent)
{
    std::lock_guard lock(controlMutex_);
    silent_ = silent;
}

void SimulatedBox::failNext(std::size_t count)
{
    std::lock_guard lock(controlMutex_);
    failNext_ = count;
}

void SimulatedBox::ignoreNext(std::size_t count)
{
    std::lock_guard lock(controlMutex_);
    ignoreNext_ = count;
}

void SimulatedBox::busyNext(std::size_t count)
{
    std::lock_guard lock(controlMutex_);
    busyNext_ = count;
}

void SimulatedBox::setAnswerDelay(int ms)
{
    std::lock_guard lock(controlMutex_);
    answerDelayMs_ = ms;
}

bool SimulatedBox::loseTimeSlot()
{
    {
        std::lock_guard lock(controlMutex_);
        slotLost_ = true;
    }
    return send(timeSlotLost);
}

bool SimulatedBox::restoreTimeSlot()
{
    {
        std::lock_guard lock(controlMutex_);
        slotLost_ = false;
    }
    return send(timeSlotRestored);
}

bool SimulatedBox::takeOver(unsigned loco)
{
    return send(takenOver(loco));
}

void SimulatedBox::emitLine(const std::string& line)
{
    std::lock_guard lock(handlerMutex_);
    if (handler_)
        handler_(line);
}

} // namespace dccbox
