#pragma once

#include <cstdint>
#include <string>

namespace dccbox {

// A listening TCP socket on 127.0.0.1 only: the simulated LAN interface is for
// this machine's programs, never for the network.
class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Port 0 takes any free port; port() then says which. False with a reason in *error.
    bool open(std::uint16_t port, std::string* error = nullptr);
    void close();

    // Non-blocking; -1 when closed.
    int fd() const { return fd_; }
    std::uint16_t port() const { return port_; }

    // A connected client, non-blocking and without send delay; -1 if none is waiting.
    int accept() const;

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

} // namespace dccbox
