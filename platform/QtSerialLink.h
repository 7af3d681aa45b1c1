#pragma once

#include "PortMap.h"
#include "SerialLink.h"

#include <QSerialPort>

// The production serial link: a QSerialPort held by composition.
class QtSerialLink final : public SerialLink {
public:
    explicit QtSerialLink(PortMap map);

    bool open(int number) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    void discardReceived() override;
    void discardPending() override;
    bool waitForReceived(int maxMs) override;
    QByteArray readAll() override;
    void setDiscardIncoming(bool discard) override;
    void setLostHandler(std::function<void(const QString&, const QString&)> handler) override;
    QString describePorts() const override;

private:
    void onError(QSerialPort::SerialPortError error);
    void onReadyRead();
    void lose();

    PortMap map_;
    QSerialPort port_;
    bool discardIncoming_ = false;
    std::function<void(const QString&, const QString&)> lostHandler_;
};
