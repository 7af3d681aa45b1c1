#include "QtDccLink.h"

#include "xpressnet/UsbFraming.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTimer>

#include <algorithm>
#include <array>

QtDccLink::QtDccLink(PortMap map)
    : map_(std::move(map))
{
    QObject::connect(&serial_, &QSerialPort::errorOccurred, &serial_,
                     [this](QSerialPort::SerialPortError error) { onSerialError(error); });
    QObject::connect(&serial_, &QSerialPort::readyRead, &serial_, [this] { onReadyRead(); });
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { onReadyRead(); });
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] {
        connecting_ = false;
        connected_ = true;
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (openedHandler_)
            openedHandler_();
    });
    QObject::connect(&socket_, &QTcpSocket::disconnected, &socket_, [this] { onSocketGone(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, &socket_, [this](QAbstractSocket::SocketError) {
        if (connecting_)
            connectFailed();
        else if (socket_.state() != QAbstractSocket::ConnectedState)
            onSocketGone();
    });
}

QtDccLink::~QtDccLink()
{
    // A connected socket says "disconnected" from its own destructor, after
    // the members it would report through are gone: nobody listens by then.
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    QObject::disconnect(&serial_, nullptr, nullptr, nullptr);
}

void QtDccLink::setInterface(const InterfaceSettings& settings)
{
    settings_ = settings;
    assembler_ = xpressnet::FrameAssembler(settings_.prefixed() ? xpressnet::Framing::Usb : xpressnet::Framing::Bare);
}

QIODevice* QtDccLink::device()
{
    return settings_.network() ? static_cast<QIODevice*>(&socket_) : static_cast<QIODevice*>(&serial_);
}

const QIODevice* QtDccLink::device() const
{
    return settings_.network() ? static_cast<const QIODevice*>(&socket_) : static_cast<const QIODevice*>(&serial_);
}

bool QtDccLink::open(int number)
{
    if (!openInBackground(number))
        return false;
    if (!settings_.network() || socket_.waitForConnected(ConnectTimeoutMs))
        return true;
    connecting_ = false;
    error_ = QStringLiteral("cannot connect to %1: %2").arg(where_, socket_.errorString());
    close();
    return false;
}

void QtDccLink::connectFailed()
{
    connecting_ = false;
    error_ = QStringLiteral("cannot connect to %1: %2").arg(where_, socket_.errorString());
    close();
    if (openedHandler_)
        openedHandler_();
}

bool QtDccLink::openInBackground(int number)
{
    close();
    error_.clear();
    assembler_.reset();
    if (settings_.network())
        return startConnecting();
    return openSerial(number);
}

bool QtDccLink::openSerial(int number)
{
    const QString device = map_.device(number);
    where_ = device;
    if (device.isEmpty()) {
        error_ = number == 0 ? QStringLiteral("no port chosen (0 = offline)")
                             : QStringLiteral("port %1 stands for no serial device").arg(number);
        return false;
    }
    const int speed = settings_.speed > 0 ? settings_.speed : InterfaceSettings::DefaultSpeed;
    if (!openSerialAt(device, speed)) {
        error_ = whyNotOpened(device, speed);
        return false;
    }
    if (openedHandler_)
        openedHandler_();
    return true;
}

bool QtDccLink::openSerialAt(const QString& device, int speed)
{
    serial_.setPortName(device);
    serial_.setBaudRate(speed);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(settings_.rtsCts ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);
    return serial_.open(QIODevice::ReadWrite);
}

QString QtDccLink::whyNotOpened(const QString& device, int speed)
{
    const QSerialPort::SerialPortError error = serial_.error();
    const QString system = serial_.errorString();
    if (error == QSerialPort::DeviceNotFoundError)
        return QStringLiteral("%1 does not exist: plug the interface in or choose another port").arg(device);
    if (error == QSerialPort::PermissionError)
        return QStringLiteral("%1 is in use or not open to this user (%2): close other programs using it; "
                              "on Linux, join the \"dialout\" group").arg(device, system);
    // The system names a refused speed and a device that is no serial port
    // alike; opening at the default speed tells them apart.
    if (speed != InterfaceSettings::DefaultSpeed && openSerialAt(device, InterfaceSettings::DefaultSpeed)) {
        serial_.close();
        return QStringLiteral("%1 refused the speed %2 baud: choose a speed it supports").arg(device).arg(speed);
    }
    return QStringLiteral("%1 cannot be opened as a serial port (%2)").arg(device, system);
}

bool QtDccLink::startConnecting()
{
    where_ = QStringLiteral("%1:%2").arg(settings_.host).arg(settings_.tcpPort);
    if (settings_.host.trimmed().isEmpty() || settings_.tcpPort <= 0 || settings_.tcpPort > 65535) {
        error_ = QStringLiteral("no network address set (host \"%1\", port %2)").arg(settings_.host).arg(settings_.tcpPort);
        return false;
    }
    connecting_ = true;
    socket_.connectToHost(settings_.host.trimmed(), static_cast<quint16>(settings_.tcpPort));
    return true;
}

bool QtDccLink::opening() const
{
    return settings_.network() && (socket_.state() == QAbstractSocket::HostLookupState
                                   || socket_.state() == QAbstractSocket::ConnectingState);
}

void QtDccLink::close()
{
    connecting_ = false;
    connected_ = false;
    if (serial_.isOpen())
        serial_.close();
    // abort() says "disconnected" at once: with connected_ cleared first,
    // closing it ourselves is no loss.
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
}

bool QtDccLink::isOpen() const
{
    if (settings_.network())
        return socket_.state() == QAbstractSocket::ConnectedState;
    return serial_.isOpen();
}

bool QtDccLink::write(const QByteArray& frame)
{
    if (!isOpen())
        return false;
    QIODevice* out = device();
    bool complete = false;
    if (settings_.prefixed()) {
        const auto bytes = xpressnet::withUsbPrefix(
            xpressnet::Bytes(reinterpret_cast<const std::uint8_t*>(frame.constData()), static_cast<std::size_t>(frame.size())));
        const auto size = static_cast<qint64>(bytes.size());
        complete = out->write(reinterpret_cast<const char*>(bytes.data()), size) == size;
    } else {
        complete = out->write(frame) == frame.size();
    }
    if (!complete) {
        lose();
        return false;
    }
    // Hand the bytes to the driver now rather than at the next event loop
    // turn: a frame must not wait behind a pause.
    if (settings_.network())
        socket_.flush();
    else
        serial_.flush();
    return isOpen();
}

void QtDccLink::discardReceived()
{
    if (serial_.isOpen())
        serial_.clear(QSerialPort::Input);
    if (isOpen())
        device()->readAll();
    assembler_.reset();
}

void QtDccLink::discardPending()
{
    if (serial_.isOpen())
        serial_.clear(QSerialPort::Output);
}

bool QtDccLink::waitForReceived(int maxMs)
{
    if (opening()) {
        waitWhileOpening(maxMs);
        return false;
    }
    const quint64 delivered = delivered_;
    const quint64 seen = bytesSeen_;
    QElapsedTimer elapsed;
    elapsed.start();
    while (isOpen() && delivered_ == delivered) {
        if (device()->bytesAvailable() > 0) {
            onReadyRead();
            continue;
        }
        const qint64 left = maxMs - elapsed.elapsed();
        if (left <= 0 || !device()->waitForReadyRead(static_cast<int>(left)))
            break;
    }
    return delivered_ != delivered || bytesSeen_ != seen;
}

void QtDccLink::waitWhileOpening(int maxMs)
{
    // Not waitForConnected(): during the name lookup it looks the name up
    // again on this thread and blocks until the resolver answers. Events are
    // handled meanwhile, the connection's own among them.
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket_, &QAbstractSocket::stateChanged, &loop, [&] {
        if (!opening())
            loop.quit();
    });
    limit.start(std::max(0, maxMs));
    loop.exec();
}

void QtDccLink::setReceiveHandler(std::function<void(const Received&)> handler)
{
    receiveHandler_ = std::move(handler);
}

void QtDccLink::setLostHandler(std::function<void(const QString&, const QString&)> handler)
{
    lostHandler_ = std::move(handler);
}

void QtDccLink::setOpenedHandler(std::function<void()> handler)
{
    openedHandler_ = std::move(handler);
}

void QtDccLink::onReadyRead()
{
    // Read in bounded pieces: a flood of bytes never makes a big buffer.
    std::array<char, 1024> chunk{};
    QIODevice* in = device();
    while (isOpen() && in->bytesAvailable() > 0) {
        const qint64 n = in->read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (n <= 0)
            break;
        bytesSeen_ += static_cast<quint64>(n);
        const auto events = assembler_.feed(
            xpressnet::Bytes(reinterpret_cast<const std::uint8_t*>(chunk.data()), static_cast<std::size_t>(n)));
        for (const xpressnet::Assembled& event : events) {
            ++delivered_;
            if (!receiveHandler_)
                continue;
            Received received;
            received.bytes = QByteArray(reinterpret_cast<const char*>(event.bytes.data()),
                                        static_cast<qsizetype>(event.bytes.size()));
            received.good = event.kind == xpressnet::Assembled::Kind::Good;
            received.broadcast = event.prefix == xpressnet::UsbPrefix::Broadcast;
            receiveHandler_(received);
        }
    }
}

void QtDccLink::onSerialError(QSerialPort::SerialPortError error)
{
    if (!serial_.isOpen())
        return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::WriteError || error == QSerialPort::ReadError)
        lose();
}

void QtDccLink::onSocketGone()
{
    // A connection that never came is the opener's business, not a loss.
    if (!connected_ || socket_.state() == QAbstractSocket::ConnectedState)
        return;
    lose();
}

void QtDccLink::lose()
{
    // The system's text names whichever call noticed first ("Resource
    // temporarily unavailable", "Input/output error"); what happened is that
    // the device or the connection is gone.
    const QString reason = settings_.network() ? QStringLiteral("the connection was closed")
                                               : QStringLiteral("the device went away");
    const QString where = where_;
    const auto handler = lostHandler_;
    close();
    if (handler)
        handler(where, reason);
}

QList<DccLink::PortInfo> QtDccLink::ports() const
{
    // Stable names: /dev/serial/by-id links to each USB serial device.
    QMap<QString, QString> stable;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        stable.insert(link.canonicalFilePath(), link.absoluteFilePath());

    QList<PortInfo> list;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortInfo port;
        port.device = info.systemLocation();
        port.number = map_.numberOf(port.device);
        port.stableName = stable.value(QFileInfo(port.device).canonicalFilePath());
        port.description = info.description().isEmpty() ? info.manufacturer() : info.description();
        if (port.number != 0)
            list << port;
    }
    // Pseudo-terminals (the simulated box) are not listed by the system.
    for (int number : map_.overriddenNumbers()) {
        const QString device = map_.device(number);
        const bool listed = std::any_of(list.begin(), list.end(), [&](const PortInfo& p) { return p.device == device; });
        if (!listed)
            list << PortInfo{number, device, stable.value(QFileInfo(device).canonicalFilePath()), {}};
    }
    return list;
}
