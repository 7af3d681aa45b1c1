#include "PhoneServer.h"

#include "Replies.h"

#include <QTcpSocket>

namespace withrottle {

PhoneServer::PhoneServer(PhoneLayout& layout, Clock& clock)
    : layout_(layout, clock)
    , clock_(clock)
{
    layout_.locoChanged = [this](const LocoEvent& event) {
        for (auto& [id, connection] : connections_)
            connection.session->locoChanged(event);
    };
    layout_.powerChanged = [this](int state) {
        for (auto& [id, connection] : connections_)
            connection.session->powerChanged(state);
    };
    layout_.accessoryChanged = [this](int number, int state) {
        for (auto& [id, connection] : connections_)
            connection.session->accessoryChanged(number, state);
    };
    layout_.refusedLater = [this](int origin, const QString& refusal) { send(origin, alertLine(refusal)); };
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

PhoneServer::~PhoneServer()
{
    stop();
}

QString PhoneServer::start(const ServerSettings& settings)
{
    stop();
    settings_ = settings;
    const QHostAddress address = settings.listenAddress.isEmpty() ? QHostAddress(QHostAddress::Any)
                                                                   : QHostAddress(settings.listenAddress);
    if (server_.listen(address, settings.port))
        return {};
    const QString where = settings.listenAddress.isEmpty()
        ? QStringLiteral("port %1").arg(settings.port)
        : QStringLiteral("%1 port %2").arg(settings.listenAddress).arg(settings.port);
    if (server_.serverError() == QAbstractSocket::AddressInUseError)
        return QStringLiteral("The phone server cannot listen on %1: another program uses it. "
                              "Choose another port in \"Phone throttles\".")
            .arg(where);
    return QStringLiteral("The phone server cannot listen on %1: %2.").arg(where, server_.errorString());
}

void PhoneServer::stop()
{
    server_.close();
    std::vector<int> ids;
    for (const auto& [id, connection] : connections_)
        ids.push_back(id);
    for (int id : ids)
        closeSession(id, true);
}

void PhoneServer::accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (connections_.size() >= MaxPhones) {
            socket->write(alertLine(QStringLiteral("%1 phones are connected already: ask one to leave, then try again.")
                                        .arg(MaxPhones)));
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            continue;
        }
        const int id = nextId_++;
        Connection& connection = connections_[id];
        connection.socket = socket;
        connection.session = std::make_unique<PhoneSession>(
            id, layout_, clock_, settings_,
            PhoneSession::Hooks{[this, id](const QByteArray& line) { send(id, line); },
                                // Not from inside the session's own call: it is still running.
                                [this, id](const QString&) {
                                    QMetaObject::invokeMethod(this, [this, id] { closeSession(id, false); },
                                                              Qt::QueuedConnection);
                                },
                                [this, id](int address) { return heldByOther(id, address); },
                                [this, id](const QString& deviceId) { replaceOlder(id, deviceId); }});
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { received(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { closeSession(id, true); });
        connection.session->greet();
        notify();
    }
}

void PhoneServer::received(int id)
{
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    const QStringList before = found->second.session->heldKeys();
    found->second.session->received(found->second.socket->readAll());
    // The entry may be gone: a session can end another (the same phone again).
    const auto after = connections_.find(id);
    if (after != connections_.end() && after->second.session->heldKeys() != before)
        notify();
}

void PhoneServer::send(int id, const QByteArray& line)
{
    const auto found = connections_.find(id);
    if (found == connections_.end() || found->second.closing)
        return;
    QTcpSocket* socket = found->second.socket;
    if (socket->bytesToWrite() > MaxUnsentBytes) {
        // It reads nothing: it is as good as gone.
        found->second.closing = true;
        QMetaObject::invokeMethod(this, [this, id] { closeSession(id, true); }, Qt::QueuedConnection);
        return;
    }
    socket->write(line);
}

void PhoneServer::closeSession(int id, bool lost)
{
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    Connection connection = std::move(found->second);
    connections_.erase(found);
    if (lost)
        connection.session->connectionLost();
    connection.socket->disconnect(this);
    connection.socket->disconnectFromHost();
    connection.socket->deleteLater();
    notify();
}

bool PhoneServer::heldByOther(int id, int address) const
{
    for (const auto& [other, connection] : connections_)
        if (other != id && connection.session->holds(address))
            return true;
    return false;
}

void PhoneServer::replaceOlder(int id, const QString& deviceId)
{
    for (auto& [other, connection] : connections_)
        if (other != id && connection.session->deviceId() == deviceId) {
            // The same phone came back (after a Wi-Fi drop, say): the old
            // connection goes, its locos keep running for the new one.
            const int older = other;
            QMetaObject::invokeMethod(this, [this, older] { closeSession(older, false); }, Qt::QueuedConnection);
        }
    notify();
}

QList<PhoneServer::PhoneInfo> PhoneServer::phones() const
{
    QList<PhoneInfo> out;
    for (const auto& [id, connection] : connections_) {
        // A phone on IPv4 reached a dual-stack socket as ::ffff:a.b.c.d: shown as a.b.c.d.
        const QHostAddress peer = connection.socket->peerAddress();
        bool isIPv4 = false;
        const quint32 ipv4 = peer.toIPv4Address(&isIPv4);
        const QString address = isIPv4 ? QHostAddress(ipv4).toString() : peer.toString();
        out.append({id, connection.session->name(), connection.session->deviceId(), address,
                    connection.session->heldKeys()});
    }
    return out;
}

void PhoneServer::disconnectPhone(int id)
{
    send(id, alertLine(QStringLiteral("Disconnected at the Varnolix panel.")));
    if (const auto found = connections_.find(id); found != connections_.end())
        found->second.socket->flush();
    closeSession(id, true);
}

void PhoneServer::notify()
{
    if (changed)
        changed();
}

} // namespace withrottle
