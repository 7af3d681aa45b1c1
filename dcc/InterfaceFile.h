#pragma once

#include "InterfaceSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

// data/text/interface.txt: one record in the field format of the other data
// files - kind, speed, handshake, host, TCP port - for example
// "usb",57600,"none","",0 or "lan",0,"none","192.168.0.200",5550.
// The serial port number stays in port.txt.
namespace interface_file {

struct ReadResult {
    // Empty when there is no file (or it is blank) or it is garbled.
    std::optional<InterfaceSettings> settings;
    // Names the file and what is wrong with it; empty unless garbled.
    QString error;
    // Names the file and what was put right in the settings read: a "usb"
    // record with a speed other than the LI-USB's one.
    QString warning;
};

ReadResult read(const QString& path);
QByteArray format(const InterfaceSettings& settings);
// Replaces the file atomically; empty on success, else a message naming it.
QString write(const QString& path, const InterfaceSettings& settings);

} // namespace interface_file
