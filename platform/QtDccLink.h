#pragma once

#include "DccLink.h"
#include "PortMap.h"

#include "xpressnet/FrameAssembler.h"

#include <QSerialPort>
#include <QTcpSocket>

// The production link: a QSerialPort for the serial and USB kinds, a
// QTcpSocket for the network kinds, both held by composition; received
// bytes go through the one XpressNet frame assembler.
class QtDccLink final : public DccLink {
public:
    // How long a network connection may take before opening gives up.
    static constexpr int ConnectTimeoutMs = 3000;

    explicit QtDccLink(PortMap map);
    ~QtDccLink() override;
    QtDccLink(const QtDccLink&) = delete;
    QtDccLink& operator=(const QtDccLink&) = delete;

    void setInterface(const InterfaceSettings& settings) override;
    InterfaceSettings interfaceSettings() const override { return settings_; }
    bool open(int number) override;
    bool openInBackground(int number) override;
    bool opening() const override;
    QString openError() const override { return error_; }
    void close() override;
    bool isOpen() const override;
    QString where() const override { return where_; }
    bool write(const QByteArray& frame) override;
    void discardReceived() override;
    void discardPending() override;
    bool waitForReceived(int maxMs) override;
    void setReceiveHandler(std::function<void(const Received&)> handler) override;
    void setLostHandler(std::function<void(const QString&, const QString&)> handler) override;
    void setOpenedHandler(std::function<void()> handler) override;
    QList<PortInfo> ports() const override;

private:
    bool openSerial(int number);
    bool openSerialAt(const QString& device, int speed);
    // What stopped a serial device from opening, in words for the user.
    QString whyNotOpened(const QString& device, int speed);
    bool startConnecting();
    // A connection being made in the background failed: said through the
    // opened handler, with openError() saying why.
    void connectFailed();
    // Until the connection is made or fails, at most maxMs.
    void waitWhileOpening(int maxMs);
    QIODevice* device();
    const QIODevice* device() const;
    void onReadyRead();
    void onSerialError(QSerialPort::SerialPortError error);
    void onSocketGone();
    void lose();

    PortMap map_;
    InterfaceSettings settings_;
    QSerialPort serial_;
    QTcpSocket socket_;
    xpressnet::FrameAssembler assembler_;
    QString where_;
    QString error_;
    bool connecting_ = false;
    // Counted so a wait can tell that something came.
    bool connected_ = false;
    quint64 delivered_ = 0;
    quint64 bytesSeen_ = 0;
    std::function<void(const Received&)> receiveHandler_;
    std::function<void(const QString&, const QString&)> lostHandler_;
    std::function<void()> openedHandler_;
};
