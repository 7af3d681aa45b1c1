#include "NetworkPhoneService.h"

#include <QNetworkInterface>

namespace withrottle {

NetworkPhoneService::NetworkPhoneService(PhoneLayout& layout, Clock& clock, QDBusConnection bus)
    : server_(layout, clock)
    , advertiser_(std::move(bus))
{
    server_.changed = [this] { notify(); };
    advertiser_.changed = [this] { notify(); };
}

NetworkPhoneService::~NetworkPhoneService()
{
    server_.changed = {};
    advertiser_.changed = {};
}

QString NetworkPhoneService::start(const ServerSettings& settings, const QString& serviceName)
{
    stop();
    listenAddress_ = settings.listenAddress;
    const QString error = server_.start(settings);
    if (error.isEmpty())
        advertiser_.publish(serviceName, server_.port());
    notify();
    return error;
}

void NetworkPhoneService::stop()
{
    advertiser_.withdraw();
    server_.stop();
    notify();
}

QStringList NetworkPhoneService::addresses() const
{
    QStringList out;
    if (!server_.listening())
        return out;
    const QString port = QString::number(server_.port());
    if (!listenAddress_.isEmpty())
        return {listenAddress_ + QLatin1Char(':') + port};
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            out << address.toString() + QLatin1Char(':') + port;
    if (out.isEmpty())
        out << QStringLiteral("127.0.0.1:") + port;
    return out;
}

QString NetworkPhoneService::advertisement() const
{
    switch (advertiser_.state()) {
    case ServiceAdvertiser::State::Off:
        return {};
    case ServiceAdvertiser::State::Publishing:
        return QStringLiteral("Publishing the server on the network...");
    case ServiceAdvertiser::State::Published:
        return QStringLiteral("Phones on this network list it as \"%1\".").arg(advertiser_.name());
    case ServiceAdvertiser::State::Unavailable:
        break;
    }
    return QStringLiteral("Phones do not find it by themselves: %1. Type the address into the phone.")
        .arg(advertiser_.problem());
}

QList<PhoneService::Phone> NetworkPhoneService::phones() const
{
    QList<Phone> out;
    for (const PhoneServer::PhoneInfo& info : server_.phones())
        out.append({info.id, info.name, info.deviceId, info.address, info.locos});
    return out;
}

void NetworkPhoneService::notify()
{
    if (changed)
        changed();
}

} // namespace withrottle
