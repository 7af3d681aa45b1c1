#include "ServerSettings.h"

#include "DataFile.h"
#include "FieldFormat.h"

#include <QDir>
#include <QFileInfo>

namespace withrottle {

namespace {

QString garbled(const QString& path, const QString& why)
{
    return QStringLiteral("%1 could not be read: %2. The phone server stays off until it is set again in "
                          "\"Phone throttles\".")
        .arg(QDir::toNativeSeparators(path), why);
}

// An IPv4 or IPv6 address in figures; whether this machine has it is for
// the listening socket to say.
bool looksLikeAddress(const QString& text)
{
    for (QChar c : text)
        if (!(c.isDigit() || c == u'.' || c == u':' || (c.toLower() >= u'a' && c.toLower() <= u'f')))
            return false;
    return text.contains(u'.') || text.contains(u':');
}

} // namespace

SettingsFile readSettings(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    const auto file = data_file::readCreatingEmpty(path);
    if (!file.ok)
        return {std::nullopt, file.error};
    FieldReader reader(file.content);
    if (reader.atEnd())
        return {};
    ServerSettings settings;
    const auto enabled = reader.readTruth();
    const auto port = reader.readNumber();
    const auto address = reader.readText();
    const auto power = reader.readTruth();
    const auto accessories = reader.readTruth();
    if (!enabled || !port || !address || !power || !accessories)
        return {std::nullopt, garbled(path, QStringLiteral("line %1 is not enabled, port, address, power, accessories")
                                                .arg(reader.line()))};
    if (*port < 1 || *port > 65535)
        return {std::nullopt, garbled(path, QStringLiteral("the port %1 is not 1 to 65535").arg(*port))};
    if (!address->isEmpty() && !looksLikeAddress(*address))
        return {std::nullopt, garbled(path, QStringLiteral("\"%1\" is not an IP address").arg(*address))};
    settings.enabled = *enabled;
    settings.port = static_cast<std::uint16_t>(*port);
    settings.listenAddress = *address;
    settings.allowPower = *power;
    settings.allowAccessories = *accessories;
    return {settings, {}};
}

QString writeSettings(const QString& path, const ServerSettings& settings)
{
    FieldWriter writer;
    writer.truth(settings.enabled)
        .number(settings.port)
        .text(settings.listenAddress)
        .truth(settings.allowPower)
        .truth(settings.allowAccessories)
        .endLine();
    return data_file::writeAtomically(path, writer);
}

} // namespace withrottle
