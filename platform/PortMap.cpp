#include "PortMap.h"

#include <QProcessEnvironment>

PortMap::PortMap(QMap<int, QString> overrides)
    : overrides_(std::move(overrides))
{
}

PortMap PortMap::fromEnvironment()
{
    static const QString prefix = QStringLiteral("VARNOLIX_PORT_");
    QMap<int, QString> overrides;
    const auto env = QProcessEnvironment::systemEnvironment();
    for (const QString& key : env.keys()) {
        if (!key.startsWith(prefix))
            continue;
        bool ok = false;
        const int number = key.mid(prefix.size()).toInt(&ok);
        if (ok && number >= 1 && number <= 255)
            overrides.insert(number, env.value(key));
    }
    return PortMap(overrides);
}

QString PortMap::device(int number) const
{
    if (number < 1 || number > 255)
        return {};
    if (overrides_.contains(number))
        return overrides_.value(number);
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    if (number <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    if (number <= 20)
        return QStringLiteral("/dev/ttyUSB%1").arg(number - 5);
    if (number <= 36)
        return QStringLiteral("/dev/ttyACM%1").arg(number - 21);
    return {};
#endif
}

int PortMap::numberOf(const QString& device) const
{
    for (auto it = overrides_.cbegin(); it != overrides_.cend(); ++it) {
        if (it.value() == device)
            return it.key();
    }
    for (int number = 1; number <= 255; ++number) {
        if (!overrides_.contains(number) && this->device(number) == device)
            return number;
    }
    return 0;
}
