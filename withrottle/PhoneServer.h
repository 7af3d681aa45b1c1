#pragma once

#include "FoldingLayout.h"
#include "PhoneSession.h"
#include "ServerSettings.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <functional>
#include <map>
#include <memory>

class QTcpSocket;

namespace withrottle {

// The WiThrottle server: accepts phones on TCP, gives each a session and
// passes every change on the layout to the phones that hold what changed.
// All socket work is asynchronous on the program's event loop.
class PhoneServer final : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxPhones = 16;
    // A phone that does not read what it is sent is let go beyond this.
    static constexpr qint64 MaxUnsentBytes = 256 * 1024;

    struct PhoneInfo {
        int id = 0;
        QString name;
        QString deviceId;
        QString address;
        QStringList locos;
    };

    PhoneServer(PhoneLayout& layout, Clock& clock);
    ~PhoneServer() override;

    // Empty when listening, otherwise why not, in words naming the port.
    QString start(const ServerSettings& settings);
    void stop();
    bool listening() const { return server_.isListening(); }
    quint16 port() const { return server_.serverPort(); }

    QList<PhoneInfo> phones() const;
    // Sends the phone away; its locos stop unless another throttle holds them.
    void disconnectPhone(int id);
    // Any phone or its locos changed: for the dialog.
    std::function<void()> changed;

private:
    struct Connection {
        QTcpSocket* socket = nullptr;
        std::unique_ptr<PhoneSession> session;
        bool closing = false;
    };

    void accept();
    void received(int id);
    void closeSession(int id, bool lost);
    void send(int id, const QByteArray& line);
    bool heldByOther(int id, int address) const;
    void replaceOlder(int id, const QString& deviceId);
    void notify();

    FoldingLayout layout_;
    Clock& clock_;
    ServerSettings settings_;
    QTcpServer server_;
    std::map<int, Connection> connections_;
    int nextId_ = 1;
};

} // namespace withrottle
