#include "Replies.h"

namespace withrottle {

namespace {

const QString Items = QStringLiteral("]\\[");
const QString Fields = QStringLiteral("}|{");
const QString Parts = QStringLiteral("<;>");

QByteArray line(const QString& text)
{
    return (text + QLatin1Char('\n')).toUtf8();
}

QString throttleHead(QChar throttle, QChar op, const QString& key)
{
    return QStringLiteral("M") + throttle + op + key + Parts;
}

} // namespace

QString sanitized(const QString& name)
{
    QString out = name;
    for (const QString& separator : {Items, Fields, Parts, QStringLiteral("<:>")})
        out.replace(separator, QStringLiteral(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

QByteArray versionLine()
{
    return line(QStringLiteral("VN2.0"));
}

QByteArray rosterLine(const QList<RosterEntry>& roster)
{
    QString text = QStringLiteral("RL") + QString::number(roster.size());
    for (const RosterEntry& entry : roster)
        text += Items + sanitized(entry.name) + Fields + QString::number(entry.address) + Fields
            + (entry.address > 99 ? QStringLiteral("L") : QStringLiteral("S"));
    return line(text);
}

QByteArray powerLine(int state)
{
    return line(QStringLiteral("PPA") + QString::number(state));
}

QByteArray turnoutTitlesLine()
{
    return line(QStringLiteral("PTT") + Items + QStringLiteral("Turnouts") + Fields + QStringLiteral("Turnout") + Items
                + QStringLiteral("Closed") + Fields + QStringLiteral("2") + Items + QStringLiteral("Thrown") + Fields
                + QStringLiteral("4"));
}

QByteArray turnoutListLine(const QList<TurnoutEntry>& turnouts)
{
    QString text = QStringLiteral("PTL");
    for (const TurnoutEntry& turnout : turnouts)
        text += Items + QStringLiteral("LT") + QString::number(turnout.number) + Fields + QString::number(turnout.number)
            + Fields + QString::number(turnout.state);
    return line(text);
}

QByteArray turnoutStateLine(const TurnoutEntry& turnout)
{
    return line(QStringLiteral("PTA%1LT%2").arg(turnout.state).arg(turnout.number));
}

QByteArray heartbeatLine(int seconds)
{
    return line(QStringLiteral("*") + QString::number(seconds));
}

QByteArray alertLine(const QString& text)
{
    return line(QStringLiteral("HM") + sanitized(text));
}

QByteArray acquiredLine(QChar throttle, const QString& key)
{
    return line(throttleHead(throttle, u'+', key));
}

QByteArray releasedLine(QChar throttle, const QString& key)
{
    return line(throttleHead(throttle, u'-', key));
}

QByteArray labelsLine(QChar throttle, const QString& key, const QList<QString>& captions)
{
    QString text = throttleHead(throttle, u'L', key);
    for (const QString& caption : captions)
        text += Items + sanitized(caption);
    return line(text);
}

QByteArray functionLine(QChar throttle, const QString& key, int function, bool on)
{
    return line(throttleHead(throttle, u'A', key) + QStringLiteral("F") + (on ? QLatin1Char('1') : QLatin1Char('0'))
                + QString::number(function));
}

QByteArray speedLine(QChar throttle, const QString& key, int speed)
{
    return line(throttleHead(throttle, u'A', key) + QStringLiteral("V") + QString::number(speed));
}

QByteArray directionLine(QChar throttle, const QString& key, bool forward)
{
    return line(throttleHead(throttle, u'A', key) + (forward ? QStringLiteral("R1") : QStringLiteral("R0")));
}

QByteArray stepModeLine(QChar throttle, const QString& key)
{
    return line(throttleHead(throttle, u'A', key) + QStringLiteral("s2"));
}

QByteArray momentaryLine(QChar throttle, const QString& key, int function, bool momentary)
{
    return line(throttleHead(throttle, u'A', key) + QStringLiteral("m") + (momentary ? QLatin1Char('1') : QLatin1Char('0'))
                + QString::number(function));
}

} // namespace withrottle
