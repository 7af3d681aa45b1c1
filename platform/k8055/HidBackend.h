#pragma once

#include <QString>

#include <cstdint>
#include <span>

// One HID device, as much of hidapi as the K8055 driver needs. The production
// backend is hidapi's libusb one; the simulated board is another.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Opens the first device with these ids, closing any open one. False when
    // there is none or it cannot be opened; error() says why.
    virtual bool open(std::uint16_t vendorId, std::uint16_t productId) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes one report, report id first. Returns the bytes written, -1 on error.
    virtual int write(std::span<const std::uint8_t> report) = 0;
    // Reads one report, waiting at most timeoutMs (0: only what is queued).
    // Returns the bytes read, 0 when none came, -1 on error.
    virtual int read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;
    // The last error in words; may be empty.
    virtual QString error() const = 0;
};
