#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The serial line to the DCC box, reduced to what the link code needs.
// Port numbers are the user's numbers (1 = first serial port); how a number
// becomes a device is the adapter's business (see PortMap).
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Opens port `number` at 19200 baud, 8N1, no handshaking, closing any
    // port opened before. Port 0 opens nothing. False when it did not open.
    virtual bool open(int number) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes all bytes at once. False (and the link closed) on failure.
    virtual bool write(const QByteArray& bytes) = 0;

    virtual void discardReceived() = 0;
    virtual void discardPending() = 0;
    // Waits at most maxMs for received bytes; returns as soon as one arrives.
    virtual bool waitForReceived(int maxMs) = 0;
    virtual QByteArray readAll() = 0;

    // After detection the link throws away whatever the box sends back, so
    // the acknowledgements of a long session never pile up.
    virtual void setDiscardIncoming(bool discard) = 0;

    // Called once when an open link fails (cable pulled, write error), with
    // the device name and what happened, in words for the user. The link is
    // closed by then.
    virtual void setLostHandler(std::function<void(const QString& device, const QString& reason)> handler) = 0;

    // One line per serial device present, with its port number, for the
    // port question.
    virtual QString describePorts() const = 0;
};
