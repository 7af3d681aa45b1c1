#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QVariantList>

#include <vector>

// Plays the Avahi daemon on a private bus: answers the calls a publisher
// makes, records them, and reports each entry group's state as Avahi does.
// Names in `taken` collide once, like a second layout on the network.
class AvahiStandIn final : public QDBusVirtualObject {
public:
    struct Call {
        QString path;
        QString member;
        QVariantList arguments;
    };

    explicit AvahiStandIn(QDBusConnection bus);
    ~AvahiStandIn() override;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

    QStringList members() const;

    std::vector<Call> calls;
    QStringList taken;

private:
    void groupState(const QString& path, int state);

    QDBusConnection bus_;
    int groups_ = 0;
    QString pendingName_;
};
