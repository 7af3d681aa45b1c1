#pragma once

#include "AvahiAdvertiser.h"
#include "PhoneServer.h"
#include "PhoneService.h"

namespace withrottle {

// The phone service of the phone module: the TCP server, published through
// the system's Avahi daemon.
class NetworkPhoneService final : public PhoneService {
public:
    NetworkPhoneService(PhoneLayout& layout, Clock& clock, QDBusConnection bus);
    ~NetworkPhoneService() override;

    QString start(const ServerSettings& settings, const QString& serviceName) override;
    void stop() override;
    bool listening() const override { return server_.listening(); }
    QStringList addresses() const override;
    QString advertisement() const override;
    QList<Phone> phones() const override;
    void disconnectPhone(int id) override { server_.disconnectPhone(id); }

private:
    void notify();

    PhoneServer server_;
    AvahiAdvertiser advertiser_;
    QString listenAddress_;
};

} // namespace withrottle
