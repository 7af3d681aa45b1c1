#include "dccbox/TcpListener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dccbox {

TcpListener::~TcpListener()
{
    close();
}

bool TcpListener::open(std::uint16_t port, std::string* error)
{
    close();
    const auto fail = [&](const char* step) {
        if (error)
            *error = std::string(step) + " 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        close();
        return false;
    };
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return fail("socket for");
    const int yes = 1;
    // A box restarted at once may take its port back while old connections linger.
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return fail("cannot listen on");
    if (::listen(fd_, 4) != 0)
        return fail("cannot listen on");
    socklen_t length = sizeof address;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return fail("getsockname for");
    port_ = ntohs(address.sin_port);
    return true;
}

void TcpListener::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    port_ = 0;
}

int TcpListener::accept() const
{
    const int client = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client >= 0) {
        const int yes = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    }
    return client;
}

} // namespace dccbox
