#include "LoadedDccLink.h"

#include "DccLinkModule.h"
#include "ProgramModule.h"

LoadedDccLink::LoadedDccLink(QStringList folders)
    : folders_(std::move(folders))
{
}

LoadedDccLink::~LoadedDccLink() = default;

DccLink* LoadedDccLink::link() const
{
    if (tried_)
        return link_.get();
    tried_ = true;
    QString error;
    const auto create = reinterpret_cast<CreateDccLink>(program_module::resolve(
        QStringLiteral(VARNOLIX_DCC_LINK_MODULE_FILE), folders_, CreateDccLinkSymbol, &error));
    if (!create) {
        loadError_ = QStringLiteral("the DCC link module could not be loaded (%1): reinstall Varnolix").arg(error);
        return nullptr;
    }
    link_.reset(create());
    link_->setInterface(settings_);
    link_->setReceiveHandler(receive_);
    link_->setLostHandler(lost_);
    link_->setOpenedHandler(opened_);
    return link_.get();
}

void LoadedDccLink::setInterface(const InterfaceSettings& settings)
{
    settings_ = settings;
    if (link_)
        link_->setInterface(settings);
}

InterfaceSettings LoadedDccLink::interfaceSettings() const
{
    return link_ ? link_->interfaceSettings() : settings_;
}

bool LoadedDccLink::open(int number)
{
    DccLink* real = link();
    return real && real->open(number);
}

bool LoadedDccLink::openInBackground(int number)
{
    DccLink* real = link();
    return real && real->openInBackground(number);
}

bool LoadedDccLink::opening() const
{
    return link_ && link_->opening();
}

QString LoadedDccLink::openError() const
{
    return link_ ? link_->openError() : loadError_;
}

void LoadedDccLink::close()
{
    if (link_)
        link_->close();
}

bool LoadedDccLink::isOpen() const
{
    return link_ && link_->isOpen();
}

QString LoadedDccLink::where() const
{
    return link_ ? link_->where() : QString();
}

bool LoadedDccLink::write(const QByteArray& frame)
{
    return link_ && link_->write(frame);
}

void LoadedDccLink::discardReceived()
{
    if (link_)
        link_->discardReceived();
}

void LoadedDccLink::discardPending()
{
    if (link_)
        link_->discardPending();
}

bool LoadedDccLink::waitForReceived(int maxMs)
{
    return link_ && link_->waitForReceived(maxMs);
}

void LoadedDccLink::setReceiveHandler(std::function<void(const Received&)> handler)
{
    receive_ = std::move(handler);
    if (link_)
        link_->setReceiveHandler(receive_);
}

void LoadedDccLink::setLostHandler(std::function<void(const QString&, const QString&)> handler)
{
    lost_ = std::move(handler);
    if (link_)
        link_->setLostHandler(lost_);
}

void LoadedDccLink::setOpenedHandler(std::function<void()> handler)
{
    opened_ = std::move(handler);
    if (link_)
        link_->setOpenedHandler(opened_);
}

QList<DccLink::PortInfo> LoadedDccLink::ports() const
{
    const DccLink* real = link();
    return real ? real->ports() : QList<PortInfo>{};
}
