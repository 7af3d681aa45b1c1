#pragma once

#include "DccLink.h"

#include <QByteArrayList>
#include <QSet>
#include <QStringList>

#include <deque>

// A DCC link in memory: ports listed in `present` open, `answering` ports
// answer every frame at once (02 01 36 35 to F0 F0, 63 21 36 00 74 to
// 21 21 00, 62 22 00 40 to 21 24 05, 01 04 05 to the rest, or what `replies` holds next); writes are
// recorded.
class FakeDccLink final : public DccLink {
public:
    void setInterface(const InterfaceSettings& settings) override { interface = settings; }
    InterfaceSettings interfaceSettings() const override { return interface; }
    bool open(int number) override
    {
        close();
        ++opens;
        if (!present.contains(number))
            return false;
        openPort = number;
        if (opened)
            opened();
        return true;
    }
    bool openInBackground(int number) override { return open(number); }
    bool opening() const override { return false; }
    QString openError() const override { return openPort == 0 ? failure : QString(); }
    void close() override { openPort = 0; }
    bool isOpen() const override { return openPort != 0; }
    QString where() const override { return deviceName(openPort); }
    bool write(const QByteArray& bytes) override
    {
        if (!isOpen())
            return false;
        written << bytes;
        if (!answering.contains(openPort))
            return true;
        QByteArray reply = QByteArray::fromHex("010405");
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        } else if (bytes == QByteArray::fromHex("F0F0")) {
            reply = QByteArray::fromHex("02013635");
        } else if (bytes == QByteArray::fromHex("212100")) {
            reply = QByteArray::fromHex("6321360074");
        } else if (bytes == QByteArray::fromHex("212405")) {
            reply = QByteArray::fromHex("62220040");
        }
        if (!reply.isEmpty())
            deliver(reply);
        return true;
    }
    void discardReceived() override {}
    void discardPending() override {}
    bool waitForReceived(int maxMs) override
    {
        waitedMs += maxMs;
        return false;
    }
    void setReceiveHandler(std::function<void(const Received&)> handler) override { receive = std::move(handler); }
    void setLostHandler(std::function<void(const QString&, const QString&)> handler) override { lost = std::move(handler); }
    void setOpenedHandler(std::function<void()> handler) override { opened = std::move(handler); }
    static QString deviceName(int number) { return QStringLiteral("/dev/fake%1").arg(number); }
    QList<PortInfo> ports() const override { return {PortInfo{5, QStringLiteral("/dev/fake5"), {}, {}}}; }

    // The box sends a frame (or bad bytes) of its own.
    void deliver(const QByteArray& bytes, bool good = true, bool broadcast = false)
    {
        if (receive)
            receive({bytes, good, broadcast});
    }

    // The frames written so far as hex text ("E4 12 00 03 89 7C"); forgets them.
    QStringList takeWritten()
    {
        QStringList out;
        for (const QByteArray& frame : written)
            out << QString::fromLatin1(frame.toHex(' ').toUpper());
        written.clear();
        return out;
    }

    // Simulates a pulled cable.
    void unplug()
    {
        const QString device = deviceName(openPort);
        close();
        if (lost)
            lost(device, QStringLiteral("No such device"));
    }

    InterfaceSettings interface;
    QSet<int> present;
    QSet<int> answering;
    // What a port that did not open says went wrong.
    QString failure = QStringLiteral("no such device");
    // Replies to the next frames, in order; an empty one answers nothing.
    std::deque<QByteArray> replies;
    int openPort = 0;
    int opens = 0;
    int waitedMs = 0;
    QByteArrayList written;
    std::function<void(const Received&)> receive;
    std::function<void(const QString&, const QString&)> lost;
    std::function<void()> opened;
};
