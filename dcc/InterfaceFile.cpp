#include "InterfaceFile.h"

#include "DataFile.h"
#include "FieldFormat.h"

#include <QDir>
#include <QFileInfo>

namespace interface_file {

namespace {

// What is wrong with the record, or empty when it is a whole setting.
QString check(FieldReader& reader, InterfaceSettings& settings)
{
    const auto kindText = reader.readText();
    const auto kind = kindText ? kindFromName(*kindText) : std::nullopt;
    if (!kind)
        return QStringLiteral("the kind is not one of \"serial\", \"usb\", \"lan\", \"xntcp\"");
    settings.kind = *kind;
    const auto speed = reader.readNumber();
    if (!speed)
        return QStringLiteral("the speed is not a number");
    const auto handshake = reader.readText();
    if (!handshake || (*handshake != QLatin1String("none") && *handshake != QLatin1String("rtscts")))
        return QStringLiteral("the handshake is not \"none\" or \"rtscts\"");
    settings.rtsCts = *handshake == QLatin1String("rtscts");
    const auto host = reader.readText();
    const auto port = reader.readNumber();
    if (!host || !port)
        return QStringLiteral("the host (text) and TCP port (number) are missing");
    if (settings.network()) {
        if (host->trimmed().isEmpty())
            return QStringLiteral("a network interface needs a host");
        if (*port < 1 || *port > 65535)
            return QStringLiteral("the TCP port is not 1..65535");
        settings.speed = 0;
    } else {
        if (!InterfaceSettings::validSpeed(static_cast<int>(*speed)))
            return QStringLiteral("the speed is not 9600, 19200, 38400, 57600 or 115200");
        settings.speed = static_cast<int>(*speed);
    }
    settings.host = host->trimmed();
    settings.tcpPort = settings.network() ? static_cast<int>(*port) : 0;
    return {};
}

} // namespace

ReadResult read(const QString& path)
{
    ReadResult result;
    if (!QFileInfo::exists(path))
        return result;
    const auto file = data_file::readCreatingEmpty(path);
    if (!file.ok) {
        result.error = file.error;
        return result;
    }
    if (file.content.trimmed().isEmpty())
        return result;
    FieldReader reader(file.content);
    InterfaceSettings settings;
    if (const QString fault = check(reader, settings); !fault.isEmpty()) {
        result.error = QStringLiteral("%1 cannot be used: %2.").arg(QDir::toNativeSeparators(path), fault);
        return result;
    }
    if (settings.kind == InterfaceSettings::Kind::Usb && settings.speed != InterfaceSettings::UsbSpeed) {
        result.warning = QStringLiteral("%1 gives the LI-USB interface %2 baud, but it runs at %3 only; Varnolix uses %3.")
                             .arg(QDir::toNativeSeparators(path))
                             .arg(settings.speed)
                             .arg(InterfaceSettings::UsbSpeed);
        settings.speed = InterfaceSettings::UsbSpeed;
    }
    result.settings = settings;
    return result;
}

QByteArray format(const InterfaceSettings& settings)
{
    FieldWriter writer;
    writer.text(kindName(settings.kind))
        .number(settings.network() ? 0 : settings.speed)
        .text(settings.rtsCts ? QStringLiteral("rtscts") : QStringLiteral("none"))
        .text(settings.network() ? settings.host : QString())
        .number(settings.network() ? settings.tcpPort : 0)
        .endLine();
    return writer.bytes();
}

QString write(const QString& path, const InterfaceSettings& settings)
{
    return data_file::writeAtomically(path, format(settings));
}

} // namespace interface_file
