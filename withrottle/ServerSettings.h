#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The phone server's settings, one line of data/text/withrottle.txt in the
// data files' field format: enabled, TCP port, listen address ("" = every
// address), allow track power, allow accessories, for example
// #TRUE#,12090,"",#TRUE#,#TRUE#
namespace withrottle {

struct ServerSettings {
    static constexpr std::uint16_t DefaultPort = 12090;

    bool enabled = false;
    std::uint16_t port = DefaultPort;
    QString listenAddress;
    bool allowPower = true;
    bool allowAccessories = true;

    friend bool operator==(const ServerSettings&, const ServerSettings&) = default;
};

struct SettingsFile {
    // Nothing when the file is missing, empty or garbled.
    std::optional<ServerSettings> settings;
    // Names the file and what is wrong with it; empty when it is missing or sound.
    QString error;
};

SettingsFile readSettings(const QString& path);
// Empty on success, otherwise a message naming the file and the reason.
QString writeSettings(const QString& path, const ServerSettings& settings);

} // namespace withrottle
