#pragma once

#include "PhoneService.h"
#include "ServerSettings.h"

#include <QString>

namespace withrottle {

// The phone server's settings and life: read from withrottle.txt at start,
// changed in the "Phone throttles" dialog, written back atomically. Says in
// words what went wrong; the windows only show it.
class PhoneThrottles {
public:
    PhoneThrottles(PhoneService& service, QString settingsPath);

    // Reads the file and starts the server when it says so. Empty when all
    // is well, otherwise the message to show (a garbled file, a port in use).
    QString startFromFile(const QString& serviceName);
    // Switched on from the command line (--withrottle[=PORT], 0 = the stored port).
    QString startNow(std::uint16_t port, const QString& serviceName);
    // The dialog's choice: written to the file, then the server follows it.
    // Empty when all is well, otherwise what went wrong.
    QString apply(const ServerSettings& settings, const QString& serviceName);
    void stop();

    const ServerSettings& settings() const { return settings_; }
    PhoneService& service() { return service_; }

private:
    QString follow(const QString& serviceName);

    PhoneService& service_;
    QString path_;
    ServerSettings settings_;
};

} // namespace withrottle
