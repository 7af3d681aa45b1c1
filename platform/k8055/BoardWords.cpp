#include "BoardWords.h"

namespace k8055 {

namespace {

QString relayNote(int coil)
{
    if (coil < 1 || coil > 4)
        return {};
    const int knob = coil <= 2 ? coil : coil - 2;
    return QStringLiteral(" (knob %1 %2 relay)").arg(knob).arg(coil <= 2 ? QStringLiteral("forward") : QStringLiteral("reverse"));
}

} // namespace

QString describeDigital(std::uint8_t digital)
{
    const QString bits = QStringLiteral("outputs %1: ").arg(digital, 8, 2, QLatin1Char('0'));
    const int coil = digital >> 1;
    const bool fire = digital & 1;
    if (digital == 0)
        return bits + QStringLiteral("all off");
    if (coil == 0)
        return bits + QStringLiteral("fire bit alone");
    return bits + QStringLiteral("coil %1 %2").arg(coil).arg(fire ? QStringLiteral("fire") : QStringLiteral("select"))
        + relayNote(coil);
}

QStringList describeOutputChanges(const OutputState& before, const OutputState& after)
{
    QStringList lines;
    if (before.digital != after.digital)
        lines << describeDigital(after.digital);
    if (before.analog1 != after.analog1)
        lines << QStringLiteral("analog 1: %1").arg(after.analog1);
    if (before.analog2 != after.analog2)
        lines << QStringLiteral("analog 2: %1").arg(after.analog2);
    return lines;
}

} // namespace k8055
