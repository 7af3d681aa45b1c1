#include "QtSerialLink.h"

#include <QSerialPortInfo>

QtSerialLink::QtSerialLink(PortMap map)
    : map_(std::move(map))
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { onReadyRead(); });
}

bool QtSerialLink::open(int number)
{
    close();
    const QString device = map_.device(number);
    if (device.isEmpty())
        return false;
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud19200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    return port_.open(QIODevice::ReadWrite);
}

void QtSerialLink::close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialLink::isOpen() const
{
    return port_.isOpen();
}

bool QtSerialLink::write(const QByteArray& bytes)
{
    if (!port_.isOpen())
        return false;
    if (port_.write(bytes) != bytes.size()) {
        lose();
        return false;
    }
    // Hand the bytes to the driver now rather than at the next event loop
    // turn: a frame must not wait behind a pause.
    port_.flush();
    return port_.isOpen();
}

void QtSerialLink::discardReceived()
{
    if (port_.isOpen()) {
        port_.clear(QSerialPort::Input);
        port_.readAll();
    }
}

void QtSerialLink::discardPending()
{
    if (port_.isOpen())
        port_.clear(QSerialPort::Output);
}

bool QtSerialLink::waitForReceived(int maxMs)
{
    if (!port_.isOpen())
        return false;
    if (port_.bytesAvailable() > 0)
        return true;
    return port_.waitForReadyRead(maxMs) || port_.bytesAvailable() > 0;
}

QByteArray QtSerialLink::readAll()
{
    return port_.isOpen() ? port_.readAll() : QByteArray();
}

void QtSerialLink::setDiscardIncoming(bool discard)
{
    discardIncoming_ = discard;
    if (discard)
        onReadyRead();
}

void QtSerialLink::setLostHandler(std::function<void(const QString&, const QString&)> handler)
{
    lostHandler_ = std::move(handler);
}

QString QtSerialLink::describePorts() const
{
    QStringList lines;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const int number = map_.numberOf(info.systemLocation());
        if (number == 0)
            continue;
        QString line = QStringLiteral("%1 = %2").arg(number).arg(info.systemLocation());
        const QString what = info.description().isEmpty() ? info.manufacturer() : info.description();
        if (!what.isEmpty())
            line += QStringLiteral("  (%1)").arg(what);
        lines << line;
    }
    // Pseudo-terminals (the simulated box) are not listed by the system.
    for (int number : map_.overriddenNumbers()) {
        const QString device = map_.device(number);
        if (lines.filter(QStringLiteral(" = ") + device).isEmpty())
            lines << QStringLiteral("%1 = %2").arg(number).arg(device);
    }
    return lines.join(QLatin1Char('\n'));
}

void QtSerialLink::onError(QSerialPort::SerialPortError error)
{
    if (!port_.isOpen())
        return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::WriteError
        || error == QSerialPort::ReadError)
        lose();
}

void QtSerialLink::onReadyRead()
{
    if (discardIncoming_ && port_.isOpen())
        port_.readAll();
}

void QtSerialLink::lose()
{
    const QString device = port_.portName();
    close();
    // The system's text names whichever call noticed first ("Resource
    // temporarily unavailable", "No such file or directory"); what happened
    // is that the device is gone.
    if (lostHandler_)
        lostHandler_(device, QStringLiteral("the device went away"));
}
