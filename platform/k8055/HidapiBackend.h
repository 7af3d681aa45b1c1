#pragma once

#include "HidBackend.h"

struct hid_device_;

// HidBackend over hidapi. On Linux this is hidapi's libusb backend: the
// kernel's HID layer ignores the K8055, so there is no hidraw node to use.
class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    bool open(std::uint16_t vendorId, std::uint16_t productId) override;
    void close() override;
    bool isOpen() const override { return device_ != nullptr; }
    int write(std::span<const std::uint8_t> report) override;
    int read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    QString error() const override { return error_; }

private:
    void noteError(const char* what);

    hid_device_* device_ = nullptr;
    bool initialised_ = false;
    QString error_;
};
