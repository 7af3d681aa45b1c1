#pragma once

#include "InterfaceSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The line to the DCC box, whatever kind of interface it is (serial port,
// LI-USB, TCP with or without the LI-USB prefixes). Callers write and read
// whole XpressNet frames; prefixes, sockets and serial settings stay inside.
// Port numbers are the user's numbers (1 = first serial port); how a number
// becomes a device is the adapter's business (see PortMap).
class DccLink {
public:
    // What came in: a whole frame (check byte right), or bytes that made no
    // good frame (wrong check byte, garbage, a frame left unfinished).
    struct Received {
        QByteArray bytes;
        bool good = true;
        // Marked by the interface as sent unprompted (FF FD); bare links
        // cannot tell.
        bool broadcast = false;
    };

    // A serial device present, for the port question and the dialog.
    struct PortInfo {
        int number = 0;      // the user's port number; 0 when it has none
        QString device;      // "/dev/ttyUSB0"
        QString stableName;  // "/dev/serial/by-id/usb-FTDI_..." where the system has one
        QString description; // maker and product, when known
    };

    virtual ~DccLink() = default;

    // The kind and its settings, used from the next open on.
    virtual void setInterface(const InterfaceSettings& settings) = 0;
    virtual InterfaceSettings interfaceSettings() const = 0;

    // Opens the link, closing whatever was open: for serial and USB kinds the
    // device of port `number` (0 opens nothing), for the network kinds the
    // configured host and port (number unused). False when it did not open;
    // openError() then says what failed, naming the device or host.
    virtual bool open(int number) = 0;
    // Starts opening without waiting (a network connection may take seconds);
    // the opened handler runs once the link is open, or once opening in the
    // background failed (isOpen() false, openError() says why). False when it
    // failed at once.
    virtual bool openInBackground(int number) = 0;
    virtual bool opening() const = 0;
    virtual QString openError() const = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Where the link goes, for people: "/dev/ttyUSB0", "192.168.0.200:5550".
    virtual QString where() const = 0;

    // Writes one frame, with the prefix the kind wants, at once. False (and
    // the link closed) on failure.
    virtual bool write(const QByteArray& frame) = 0;
    // Throws away received bytes not yet handed on, and a partial frame.
    virtual void discardReceived() = 0;
    virtual void discardPending() = 0;
    // Waits at most maxMs until something is received and handed to the
    // receive handler; true when something was. While the link is still
    // opening in the background, waits for that instead, handling events.
    virtual bool waitForReceived(int maxMs) = 0;

    // Every frame (and every run of bad bytes) as it comes in.
    virtual void setReceiveHandler(std::function<void(const Received&)> handler) = 0;
    // Called once when an open link fails (cable pulled, device gone,
    // connection closed), with where it went and what happened, in words for
    // the user. The link is closed by then.
    virtual void setLostHandler(std::function<void(const QString& where, const QString& reason)> handler) = 0;
    virtual void setOpenedHandler(std::function<void()> handler) = 0;

    // The serial devices present with their numbers.
    virtual QList<PortInfo> ports() const = 0;
    // One line per serial device present, with its port number.
    QString describePorts() const
    {
        QStringList lines;
        for (const PortInfo& port : ports()) {
            QString line = QStringLiteral("%1 = %2").arg(port.number).arg(port.device);
            if (!port.description.isEmpty())
                line += QStringLiteral("  (%1)").arg(port.description);
            lines << line;
        }
        return lines.join(QLatin1Char('\n'));
    }
};
