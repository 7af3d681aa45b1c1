#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A D-Bus daemon of the test's own, on a socket in a temporary folder: the
// program's D-Bus conversations are tested against stand-ins on it, never
// against the machine's own daemons.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when the daemon did not start (the reason is in error()).
    QString address() const { return address_; }
    QString error() const { return error_; }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QString error_;
};
