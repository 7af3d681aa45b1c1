#include "LoadedPhoneService.h"

#include "PhoneServiceModule.h"
#include "ProgramModule.h"

namespace withrottle {

LoadedPhoneService::LoadedPhoneService(QString moduleFile, QStringList folders, PhoneLayout& layout, Clock& clock)
    : moduleFile_(std::move(moduleFile))
    , folders_(std::move(folders))
    , layout_(layout)
    , clock_(clock)
{
}

LoadedPhoneService::~LoadedPhoneService() = default;

QString LoadedPhoneService::start(const ServerSettings& settings, const QString& serviceName)
{
    if (!service_) {
        QString error;
        const auto create = reinterpret_cast<CreatePhoneService>(
            program_module::resolve(moduleFile_, folders_, CreatePhoneServiceSymbol, &error));
        if (!create)
            return QStringLiteral("The phone server could not be started: the phone module could not be loaded (%1). "
                                  "Reinstall Varnolix.")
                .arg(error);
        service_.reset(create(layout_, clock_));
        service_->changed = [this] {
            if (changed)
                changed();
        };
    }
    return service_->start(settings, serviceName);
}

void LoadedPhoneService::stop()
{
    if (service_)
        service_->stop();
}

void LoadedPhoneService::disconnectPhone(int id)
{
    if (service_)
        service_->disconnectPhone(id);
}

} // namespace withrottle
