#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Maps the user's port numbers to serial devices.
//
// Linux: 1-4 are /dev/ttyS0-3 (the classic COM1-COM4), 5-20 are
// /dev/ttyUSB0-15 (USB serial adapters), 21-36 are /dev/ttyACM0-15
// (USB CDC interfaces). Windows: N is COMN.
// An override (VARNOLIX_PORT_<N>=device in the environment) maps a number
// to any device, e.g. the pseudo-terminal of the simulated DCC box.
class PortMap {
public:
    PortMap() = default;
    explicit PortMap(QMap<int, QString> overrides);
    // Overrides taken from VARNOLIX_PORT_<N> environment variables.
    static PortMap fromEnvironment();

    // Empty for 0 and numbers with no device.
    QString device(int number) const;
    // The number standing for a device, 0 if none.
    int numberOf(const QString& device) const;
    // Numbers mapped by an override, in ascending order.
    QList<int> overriddenNumbers() const { return overrides_.keys(); }

private:
    QMap<int, QString> overrides_;
};
