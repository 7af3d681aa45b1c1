#include "PhoneThrottles.h"

namespace withrottle {

PhoneThrottles::PhoneThrottles(PhoneService& service, QString settingsPath)
    : service_(service)
    , path_(std::move(settingsPath))
{
}

QString PhoneThrottles::startFromFile(const QString& serviceName)
{
    const SettingsFile file = readSettings(path_);
    settings_ = file.settings.value_or(ServerSettings{});
    if (!file.error.isEmpty())
        return file.error;
    return follow(serviceName);
}

QString PhoneThrottles::startNow(std::uint16_t port, const QString& serviceName)
{
    const SettingsFile file = readSettings(path_);
    settings_ = file.settings.value_or(ServerSettings{});
    settings_.enabled = true;
    if (port != 0)
        settings_.port = port;
    return follow(serviceName);
}

QString PhoneThrottles::apply(const ServerSettings& settings, const QString& serviceName)
{
    settings_ = settings;
    const QString written = writeSettings(path_, settings_);
    const QString started = follow(serviceName);
    if (!written.isEmpty())
        return written + QStringLiteral("\nThe phone server follows the new setting for this run only.")
            + (started.isEmpty() ? QString() : QLatin1Char('\n') + started);
    return started;
}

void PhoneThrottles::stop()
{
    service_.stop();
}

QString PhoneThrottles::follow(const QString& serviceName)
{
    if (!settings_.enabled) {
        service_.stop();
        return {};
    }
    return service_.start(settings_, serviceName);
}

} // namespace withrottle
