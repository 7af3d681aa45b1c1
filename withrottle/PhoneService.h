#pragma once

#include "ServerSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace withrottle {

// The phone server as the program and its dialog see it: listening,
// published on the network, the phones connected. Its sockets and D-Bus
// live in the phone module (PhoneServiceModule.h), loaded when the server
// is first switched on, so a run without phones never loads Qt Network.
class PhoneService {
public:
    struct Phone {
        int id = 0;
        QString name;
        QString deviceId;
        QString address;
        QStringList locos;
    };

    virtual ~PhoneService() = default;

    // Listens as the settings say and publishes the service as
    // `serviceName`; empty when listening, otherwise why not, in words.
    virtual QString start(const ServerSettings& settings, const QString& serviceName) = 0;
    // Every phone is let go (its locos stop unless another throttle holds them).
    virtual void stop() = 0;
    virtual bool listening() const = 0;
    // The addresses phones type: every IPv4 address of this machine with
    // the port ("192.168.1.20:12090"), or the one listened on.
    virtual QStringList addresses() const = 0;
    // How phones find it by themselves, or why they cannot, in words.
    virtual QString advertisement() const = 0;
    virtual QList<Phone> phones() const = 0;
    virtual void disconnectPhone(int id) = 0;

    // Anything the dialog shows changed.
    std::function<void()> changed;
};

} // namespace withrottle
