#include "BoardWatch.h"

#include "Dialogs.h"
#include "K8055.h"
#include "Shared.h"

BoardWatch::BoardWatch(Shared& shared, K8055Board& board, Dialogs& dialogs)
    : shared_(shared)
    , board_(board)
    , dialogs_(dialogs)
{
    timer_.setInterval(LookMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { timBoardWatch_Timer(); });
}

void BoardWatch::cardConnected(int cardAddress, bool opened)
{
    const bool back = missing() && opened;
    card_ = cardAddress;
    present_ = opened;
    watching_ = true;
    showState();
    timer_.start();
    if (back && reopened)
        reopened();
}

void BoardWatch::timBoardWatch_Timer()
{
    if (!watching_)
        return;
    if (present_) {
        // A board that went shows on the next call to it.
        board_.ReadAllDigital();
        const QString fault = board_.fault();
        if (fault.isEmpty())
            return;
        present_ = false;
        showState();
        // A notice, not a box that waits: STOP and Escape stay at hand, and
        // a board that goes again replaces the notice instead of adding one.
        dialogs_.notice(QStringLiteral("k8055-lost"),
                        QStringLiteral("K8055 card %1 is not answering: %2\nCoils and motors do nothing until it is "
                                       "back. Varnolix looks for it about once a second and opens it again by itself.")
                            .arg(card_)
                            .arg(fault),
                        QStringLiteral("K8055 board"), Dialogs::Critical);
        return;
    }
    if (reconnect)
        reconnect();
    else
        cardConnected(card_, board_.OpenDevice(card_) == card_);
}

void BoardWatch::showState()
{
    shared_.BoardState = present_ ? QString() : QStringLiteral("K8055 card %1 not answering").arg(card_);
}
