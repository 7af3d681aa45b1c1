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
    if (!pty_.open(error))
        return false;
    std::array<int, 2> wake{};
    if (::pipe2(wake.data(), O_CLOEXEC) != 0) {
        if (error)
            *error = std::string("pipe2: ") + std::strerror(errno);
        pty_.close();
        return false;
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    if (!options_.linkPath.empty()) {
        linked_ = makeDeviceLink(pty_.slavePath(), options_.linkPath, error);
        if (!linked_) {
            closeWakePipe();
            pty_.close();
            return false;
        }
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

bool SimulatedBox::send(const Frame& frame)
{
    return pty_.masterFd() >= 0 && writeFrame(frame);
}

void SimulatedBox::emitLine(const std::string& line)
{
    std::lock_guard lock(handlerMutex_);
    if (handler_)
        handler_(line);
}

} // namespace dccbox
