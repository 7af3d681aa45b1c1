#pragma once

#include "PhoneService.h"

#include <memory>

class Clock;

namespace withrottle {

class PhoneLayout;

// The phone service of the phone module (PhoneServiceModule.h), loaded when
// the server is first switched on. A module that cannot be loaded leaves the
// server off, and start() says why.
class LoadedPhoneService final : public PhoneService {
public:
    // The module file is looked for in these folders, in order.
    LoadedPhoneService(QString moduleFile, QStringList folders, PhoneLayout& layout, Clock& clock);
    ~LoadedPhoneService() override;
    LoadedPhoneService(const LoadedPhoneService&) = delete;
    LoadedPhoneService& operator=(const LoadedPhoneService&) = delete;

    QString start(const ServerSettings& settings, const QString& serviceName) override;
    void stop() override;
    bool listening() const override { return service_ && service_->listening(); }
    QStringList addresses() const override { return service_ ? service_->addresses() : QStringList(); }
    QString advertisement() const override { return service_ ? service_->advertisement() : QString(); }
    QList<Phone> phones() const override { return service_ ? service_->phones() : QList<Phone>(); }
    void disconnectPhone(int id) override;

private:
    QString moduleFile_;
    QStringList folders_;
    PhoneLayout& layout_;
    Clock& clock_;
    std::unique_ptr<PhoneService> service_;
};

} // namespace withrottle
