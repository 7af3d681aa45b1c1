#pragma once

#include "SerialLink.h"

#include <QByteArrayList>
#include <QSet>
#include <QStringList>

// A serial link in memory: ports listed in `present` open, `answering` ports
// answer the query, writes are recorded.
class FakeSerialLink final : public SerialLink {
public:
    bool open(int number) override
    {
        close();
        ++opens;
        if (!present.contains(number))
            return false;
        openPort = number;
        return true;
    }
    void close() override { openPort = 0; }
    bool isOpen() const override { return openPort != 0; }
    bool write(const QByteArray& bytes) override
    {
        if (!isOpen())
            return false;
        written << bytes;
        if (answering.contains(openPort))
            received += QByteArray::fromHex("02013635");
        return true;
    }
    void discardReceived() override { received.clear(); }
    void discardPending() override {}
    bool waitForReceived(int maxMs) override
    {
        waitedMs += maxMs;
        return isOpen() && !received.isEmpty();
    }
    QByteArray readAll() override
    {
        QByteArray out = received;
        received.clear();
        return out;
    }
    void setDiscardIncoming(bool discard) override { discarding = discard; }
    void setLostHandler(std::function<void(const QString&, const QString&)> handler) override { lost = std::move(handler); }
    static QString deviceName(int number) { return QStringLiteral("/dev/fake%1").arg(number); }
    QString describePorts() const override { return QStringLiteral("5 = /dev/fake5"); }

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

    QSet<int> present;
    QSet<int> answering;
    int openPort = 0;
    int opens = 0;
    int waitedMs = 0;
    bool discarding = false;
    QByteArray received;
    QByteArrayList written;
    std::function<void(const QString&, const QString&)> lost;
};
