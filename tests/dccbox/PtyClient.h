#pragma once

#include "xpressnet/Frame.h"

#include <chrono>
#include <string>

// The program-under-test's end of the pty, done with plain POSIX calls so the
// box is checked against a real serial-port user and not against itself.
class PtyClient {
public:
    // Opens in raw mode and discards any input left from an earlier opening.
    explicit PtyClient(const std::string& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void close();
    bool write(const xpressnet::Frame& bytes);
    // Returns as soon as `count` bytes have come, or with what came by the timeout.
    xpressnet::Frame read(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3));

private:
    int fd_ = -1;
};
