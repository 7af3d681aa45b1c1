// The phone module's one export (PhoneServiceModule.h).
#include "NetworkPhoneService.h"
#include "PhoneServiceModule.h"

#include <QDBusConnection>

extern "C" Q_DECL_EXPORT withrottle::PhoneService* varnolix_create_phone_service(withrottle::PhoneLayout& layout, Clock& clock)
{
    return new withrottle::NetworkPhoneService(layout, clock, QDBusConnection::systemBus());
}
