#include "HidapiBackend.h"

#include <hidapi/hidapi.h>

HidapiBackend::HidapiBackend()
    : initialised_(hid_init() == 0)
{
    if (!initialised_)
        noteError("the USB library could not be started");
}

HidapiBackend::~HidapiBackend()
{
    close();
    if (initialised_)
        hid_exit();
}

bool HidapiBackend::open(std::uint16_t vendorId, std::uint16_t productId)
{
    close();
    if (!initialised_)
        return false;
    device_ = hid_open(vendorId, productId, nullptr);
    if (!device_) {
        noteError("no such device, or no permission to open it");
        return false;
    }
    error_.clear();
    return true;
}

void HidapiBackend::close()
{
    if (device_)
        hid_close(device_);
    device_ = nullptr;
}

int HidapiBackend::write(std::span<const std::uint8_t> report)
{
    if (!device_)
        return -1;
    const int written = hid_write(device_, report.data(), report.size());
    if (written < 0)
        noteError("writing to the board failed");
    return written;
}

int HidapiBackend::read(std::span<std::uint8_t> buffer, int timeoutMs)
{
    if (!device_)
        return -1;
    const int got = hid_read_timeout(device_, buffer.data(), buffer.size(), timeoutMs);
    if (got < 0)
        noteError("reading from the board failed");
    return got;
}

void HidapiBackend::noteError(const char* what)
{
    // Our own words first; hidapi's text (when its backend has one) after.
    error_ = QString::fromUtf8(what);
    const wchar_t* detail = hid_error(device_);
    if (detail && *detail) {
        const QString text = QString::fromWCharArray(detail);
        if (!text.contains(QStringLiteral("not implemented")) && text != QStringLiteral("Success"))
            error_ += QStringLiteral(" (") + text + QLatin1Char(')');
    }
}
