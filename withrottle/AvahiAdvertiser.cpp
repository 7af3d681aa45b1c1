#include "AvahiAdvertiser.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Avahi");
const QString ServerInterface = QStringLiteral("org.freedesktop.Avahi.Server");
const QString GroupInterface = QStringLiteral("org.freedesktop.Avahi.EntryGroup");

// Avahi's numbers: any network interface, any protocol; the entry group's states.
constexpr int AnyInterface = -1;
constexpr int AnyProtocol = -1;
constexpr int GroupEstablished = 2;
constexpr int GroupCollision = 3;
constexpr int GroupFailure = 4;

} // namespace

AvahiAdvertiser::AvahiAdvertiser(QDBusConnection bus)
    : bus_(std::move(bus))
{
    qDBusRegisterMetaType<QList<QByteArray>>();
}

AvahiAdvertiser::~AvahiAdvertiser()
{
    withdraw();
}

void AvahiAdvertiser::publish(const QString& name, std::uint16_t port)
{
    withdraw();
    wanted_ = name;
    port_ = port;
    if (!bus_.isConnected()) {
        unavailable(QStringLiteral("the system bus cannot be reached (%1)").arg(bus_.lastError().message()));
        return;
    }
    setState(State::Publishing);
    call(QStringLiteral("/"), ServerInterface, QStringLiteral("EntryGroupNew"), {}, [this](const QDBusMessage& reply) {
        groupPath_ = qvariant_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
        bus_.connect(Service, groupPath_, GroupInterface, QStringLiteral("StateChanged"), this,
                     SLOT(groupStateChanged(int, QString)));
        addService();
    });
}

void AvahiAdvertiser::withdraw()
{
    dropGroup();
    if (state() != State::Off)
        setState(State::Off);
}

void AvahiAdvertiser::dropGroup()
{
    ++generation_;
    if (groupPath_.isEmpty())
        return;
    bus_.disconnect(Service, groupPath_, GroupInterface, QStringLiteral("StateChanged"), this,
                    SLOT(groupStateChanged(int, QString)));
    // Free() takes the service off the network; nobody waits for the answer.
    bus_.asyncCall(QDBusMessage::createMethodCall(Service, groupPath_, GroupInterface, QStringLiteral("Free")));
    groupPath_.clear();
}

void AvahiAdvertiser::addService()
{
    const QList<QVariant> arguments{AnyInterface,
                                    AnyProtocol,
                                    0u,
                                    wanted_,
                                    QString::fromLatin1(ServiceType),
                                    QString(),
                                    QString(),
                                    QVariant::fromValue<quint16>(port_),
                                    QVariant::fromValue(QList<QByteArray>{})};
    call(groupPath_, GroupInterface, QStringLiteral("AddService"), arguments, [this](const QDBusMessage&) {
        call(groupPath_, GroupInterface, QStringLiteral("Commit"), {}, [](const QDBusMessage&) {});
    });
}

void AvahiAdvertiser::groupStateChanged(int state, const QString& error)
{
    if (state == GroupEstablished)
        setState(State::Published, wanted_);
    else if (state == GroupCollision)
        renameAfterCollision();
    else if (state == GroupFailure)
        unavailable(QStringLiteral("Avahi could not publish it (%1)").arg(error));
}

void AvahiAdvertiser::renameAfterCollision()
{
    call(QStringLiteral("/"), ServerInterface, QStringLiteral("GetAlternativeServiceName"), {wanted_},
         [this](const QDBusMessage& reply) {
             wanted_ = reply.arguments().value(0).toString();
             call(groupPath_, GroupInterface, QStringLiteral("Reset"), {}, [this](const QDBusMessage&) { addService(); });
         });
}

void AvahiAdvertiser::call(const QString& path, const QString& interface, const QString& method,
                           const QList<QVariant>& arguments, std::function<void(const QDBusMessage& reply)> then)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, interface, method);
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message), this);
    const int generation = generation_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, generation, method, then = std::move(then)] {
                watcher->deleteLater();
                if (generation != generation_)
                    return;
                const QDBusMessage reply = watcher->reply();
                if (reply.type() == QDBusMessage::ErrorMessage) {
                    unavailable(reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown")
                                    ? QStringLiteral("Avahi is not running on this computer")
                                    : QStringLiteral("Avahi refused %1 (%2)").arg(method, reply.errorMessage()));
                    return;
                }
                then(reply);
            });
}

void AvahiAdvertiser::unavailable(const QString& why)
{
    dropGroup();
    setState(State::Unavailable, {}, why);
}
