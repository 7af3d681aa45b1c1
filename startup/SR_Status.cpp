// The status line in the main window's title bar.
#include "SR.h"

#include "Clock.h"
#include "DCC.h"
#include "LinkState.h"

#include <QLocale>

void SR::BuildStatusText()
{
    const QDateTime now = clock_.now();
    const QLocale locale;
    StatusText = locale.toString(now.date(), QStringLiteral("dddd, MMM d yyyy")) + QStringLiteral("  ")
        + locale.toString(now.time(), QStringLiteral("hh:mm AP")) + QStringLiteral("   ") + shared_.LayoutName
        + QStringLiteral(" in Varnolix ") + shared_.ControlSystem;
}

void SR::FormatFrameText()
{
    QStringList numbers;
    for (std::size_t i = 0; i < 6; ++i)
        numbers << QLatin1Char(' ') + QString::number(shared_.FrameBuf[i]);
    shared_.FrameText = numbers.join(QLatin1Char(' '));
}

SR::StatusCaption SR::ShowStatusCaption()
{
    StatusCaption caption = modemCaption();
    if (!shared_.BoardState.isEmpty())
        caption.title += QStringLiteral("  ") + shared_.BoardState;
    return caption;
}

SR::StatusCaption SR::modemCaption()
{
    StatusCaption caption;
    caption.modemOn = dcc_.Online();
    if (!caption.modemOn) {
        caption.title = StatusText + QStringLiteral("  modem OFF") + link_words::heldTail(dcc_.linkState());
        caption.frameLabel = QStringLiteral("hide");
        return caption;
    }
    // What the box said comes after the modem word, or in its place.
    if (ShowFrames) {
        FormatFrameText();
        caption.title = StatusText + link_words::statusTail(dcc_.linkState(), &shared_.FrameText);
        caption.frameLabel = QStringLiteral("show");
    } else {
        caption.title = StatusText + link_words::statusTail(dcc_.linkState(), nullptr);
        caption.frameLabel = QStringLiteral("hide");
    }
    return caption;
}
