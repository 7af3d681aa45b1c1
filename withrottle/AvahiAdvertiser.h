#pragma once

#include "ServiceAdvertiser.h"

#include <QDBusConnection>
#include <QObject>

class QDBusPendingCall;

// Publishes through the system's Avahi daemon over D-Bus, as the desktop's
// own services do, so no second mDNS responder competes with it on the
// network. Every call is asynchronous: a missing or slow daemon never holds
// up the window.
class AvahiAdvertiser final : public QObject, public ServiceAdvertiser {
    Q_OBJECT
public:
    static constexpr const char* ServiceType = "_withrottle._tcp";

    explicit AvahiAdvertiser(QDBusConnection bus);
    ~AvahiAdvertiser() override;

    void publish(const QString& name, std::uint16_t port) override;
    void withdraw() override;

private slots:
    void groupStateChanged(int state, const QString& error);

private:
    void addService();
    void renameAfterCollision();
    void call(const QString& path, const QString& interface, const QString& method, const QList<QVariant>& arguments,
              std::function<void(const QDBusMessage& reply)> then);
    void unavailable(const QString& why);
    // Frees the entry group, if any, and ignores answers still to come.
    void dropGroup();

    QDBusConnection bus_;
    QString groupPath_;
    QString wanted_;
    std::uint16_t port_ = 0;
    // Bumped by withdraw(): answers to older calls are ignored.
    int generation_ = 0;
};
