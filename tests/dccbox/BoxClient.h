#pragma once

#include "xpressnet/Frame.h"

#include <chrono>
#include <cstdint>
#include <string>

// The program-under-test's end of the pty or TCP connection, done with plain
// POSIX calls so the box is checked against a real user and not against itself.
class BoxClient {
public:
    // A pty: opened in raw mode, with any input left from an earlier opening discarded.
    explicit BoxClient(const std::string& path);
    // A TCP connection to 127.0.0.1:port.
    explicit BoxClient(std::uint16_t port);
    ~BoxClient();
    BoxClient(const BoxClient&) = delete;
    BoxClient& operator=(const BoxClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void close();
    bool write(const xpressnet::Frame& bytes);
    // Returns as soon as `count` bytes have come, or with what came by the
    // timeout or the end of the connection.
    xpressnet::Frame read(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3));

private:
    int fd_ = -1;
    bool socket_ = false;
};
