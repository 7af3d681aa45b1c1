#include "Keys.h"

namespace withrottle {

std::optional<LocoKey> parseKey(QStringView text)
{
    if (text.size() < 2 || text.size() > 6 || (text[0] != u'S' && text[0] != u'L'))
        return std::nullopt;
    int number = 0;
    for (QChar c : text.mid(1)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c.unicode() - u'0');
    }
    return LocoKey{text[0] == u'L', number};
}

QString keyText(LocoKey key)
{
    return (key.isLong ? QStringLiteral("L") : QStringLiteral("S")) + QString::number(key.number);
}

KeyCheck checkKey(LocoKey key)
{
    const QString name = keyText(key);
    if (!key.isLong) {
        if (key.number < 1 || key.number > 99)
            return {0, QStringLiteral("%1: a short address is 1 to 99.").arg(name)};
        return {key.number, {}};
    }
    if (key.number < 1 || key.number > 9999)
        return {0, QStringLiteral("%1: a long address is 100 to 9999.").arg(name)};
    if (key.number < 100)
        return {0, QStringLiteral("%1: XpressNet sends every address below 100 as a short one, so a long %2 "
                                  "would drive loco S%2. Use S%2.")
                       .arg(name)
                       .arg(key.number)};
    return {key.number, {}};
}

LocoKey keyForAddress(int address)
{
    return {address > 99, address};
}

} // namespace withrottle
