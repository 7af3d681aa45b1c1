#include "LinkState.h"

#include <QStringList>

namespace link_words {

QString track(LinkState::Track track)
{
    switch (track) {
    case LinkState::Track::PowerOff:
        return QStringLiteral("TRACK POWER OFF");
    case LinkState::Track::EmergencyStop:
        return QStringLiteral("EMERGENCY STOP");
    case LinkState::Track::ServiceMode:
        return QStringLiteral("SERVICE MODE");
    case LinkState::Track::Normal:
        break;
    }
    return {};
}

QString statusTail(const LinkState& state, const QString* frameText)
{
    QString tail;
    if (state.boxSilent)
        tail = QStringLiteral("  DCC box not answering");
    else if (frameText)
        tail = QStringLiteral("  modem ON ") + *frameText;
    else
        tail = QStringLiteral("  modem ON");
    if (state.stationSilent)
        tail += QStringLiteral("  command station not answering");
    if (const QString word = track(state.track); !word.isEmpty())
        tail += QStringLiteral("  ") + word;
    if (state.notPassedOn)
        tail += QStringLiteral("  last command not passed on");
    return tail + heldTail(state);
}

QString heldTail(const LinkState& state)
{
    QString tail;
    if (state.stopNotSent)
        tail += QStringLiteral("  STOP NOT SENT");
    if (!state.notSent.isEmpty())
        tail += QStringLiteral("  not sent: ") + state.notSent;
    return tail;
}

QString locoBanner(const LinkState& state, unsigned engine)
{
    QStringList lines;
    if (state.stopNotSent)
        lines << QStringLiteral("STOP NOT SENT");
    if (const QString word = track(state.track); !word.isEmpty())
        lines << word;
    if (engine != 0 && state.takenOver == engine)
        lines << QStringLiteral("taken over by another throttle");
    return lines.join(QLatin1Char('\n'));
}

} // namespace link_words
