#include "AvahiStandIn.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

AvahiStandIn::AvahiStandIn(QDBusConnection bus)
    : bus_(std::move(bus))
{
    bus_.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
    bus_.registerService(QStringLiteral("org.freedesktop.Avahi"));
}

AvahiStandIn::~AvahiStandIn()
{
    bus_.unregisterService(QStringLiteral("org.freedesktop.Avahi"));
    bus_.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
}

QString AvahiStandIn::introspect(const QString&) const
{
    return {};
}

bool AvahiStandIn::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    calls.push_back({message.path(), message.member(), message.arguments()});
    QVariantList reply;
    const QString member = message.member();
    if (member == QStringLiteral("EntryGroupNew")) {
        reply << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/Client1/EntryGroup%1").arg(++groups_)));
    } else if (member == QStringLiteral("GetAlternativeServiceName")) {
        reply << message.arguments().value(0).toString() + QStringLiteral(" #2");
    } else if (member == QStringLiteral("AddService")) {
        pendingName_ = message.arguments().value(3).toString();
    }
    connection.send(message.createReply(reply));
    if (member == QStringLiteral("Commit")) {
        const bool collides = taken.removeOne(pendingName_);
        groupState(message.path(), 1);
        groupState(message.path(), collides ? 3 : 2);
    }
    return true;
}

QStringList AvahiStandIn::members() const
{
    QStringList out;
    for (const Call& call : calls)
        out << call.member;
    return out;
}

void AvahiStandIn::groupState(const QString& path, int state)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.Avahi.EntryGroup"), QStringLiteral("StateChanged"));
    signal << state << QString();
    bus_.send(signal);
}
