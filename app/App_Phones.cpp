// Phone throttles: the WiThrottle server beside the loco window, on the
// same loco states and link rules.
#include "App.h"

#include "Dialogs.h"
#include "PhoneDialog.h"
#include "ProgramFolder.h"

#include <QPushButton>

void App::wirePhones(DesktopServices& desktop)
{
    form1_.cmdPhones->setEnabled(static_cast<bool>(desktop.phoneService));
    if (!desktop.phoneService)
        return;
    phoneService_ = desktop.phoneService(phoneLayout_, clock_);
    phones_ = std::make_unique<withrottle::PhoneThrottles>(
        *phoneService_, folder_.resolve(QStringLiteral("\\data\\text\\withrottle.txt")));
    phoneLayout_.nameOf = [this](int id) {
        for (const withrottle::PhoneService::Phone& phone : phoneService_->phones())
            if (phone.id == id)
                return phone.name.isEmpty() ? QStringLiteral("phone %1").arg(id) : phone.name;
        return QString();
    };
    QObject::connect(&form1_, &Form1::phonesRequested, &form1_, [this] { showPhoneDialog(); });
}

QString App::phoneServiceName() const
{
    return shared_.LayoutName.trimmed().isEmpty() ? QStringLiteral("Varnolix") : shared_.LayoutName.trimmed();
}

void App::startPhones(std::optional<std::uint16_t> port)
{
    if (!phones_)
        return;
    const QString problem = port ? phones_->startNow(*port, phoneServiceName()) : phones_->startFromFile(phoneServiceName());
    if (!problem.isEmpty())
        dialogs_.notice(QStringLiteral("phones"), problem, QStringLiteral("Phone throttles"), Dialogs::Critical);
}

void App::showPhoneDialog()
{
    if (!phones_)
        return;
    // Not modal: STOP and Escape stay at hand while it is open.
    if (!phoneDialog_)
        phoneDialog_ = std::make_unique<PhoneDialog>(*phones_, phoneServiceName(), &form1_);
    phoneDialog_->setWindowFlag(Qt::Window);
    phoneDialog_->show();
    phoneDialog_->raise();
    phoneDialog_->activateWindow();
}
