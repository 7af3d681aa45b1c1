#include "BoxClient.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

BoxClient::BoxClient(const std::string& path)
    : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    termios settings{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
    // Like a careful serial-port user: nothing left over from an earlier opening.
    if (fd_ >= 0)
        ::tcflush(fd_, TCIFLUSH);
}

BoxClient::BoxClient(std::uint16_t port)
    : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    , socket_(true)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        close();
    if (fd_ >= 0)
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

BoxClient::~BoxClient()
{
    close();
}

void BoxClient::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool BoxClient::write(const xpressnet::Frame& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        // MSG_NOSIGNAL: a box that went away fails the test instead of ending it.
        const ssize_t n = socket_ ? ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL)
                                  : ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (errno != EINTR)
            return false;
    }
    return true;
}

xpressnet::Frame BoxClient::read(std::size_t count, std::chrono::milliseconds timeout)
{
    using std::chrono::steady_clock;
    const auto deadline = steady_clock::now() + timeout;
    xpressnet::Frame received;
    while (received.size() < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        std::array<std::uint8_t, 64> buffer{};
        const ssize_t n = ::read(fd_, buffer.data(), std::min(buffer.size(), count - received.size()));
        if (n > 0)
            received.insert(received.end(), buffer.begin(), buffer.begin() + n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break; // the other side closed
    }
    return received;
}
