// Finding the DCC box: at start-up, again after the interface dialog, and the
// dialog's Test on a link of its own. Nothing here waits on the user
// interface's thread: the detection runs on the clock's timers and the link's
// events.
#include "DCC.h"

#include "Clock.h"
#include "Dialogs.h"
#include "InterfaceTest.h"

void DCC::StartFinding(ConnectPurpose purpose)
{
    // One search at a time: one still running is given up without a word.
    connectPurpose_ = ConnectPurpose::None;
    detection_->cancel();
    connectPurpose_ = purpose;
    SetLinkState(LinkSession::State::Connecting);
    reconnectTimer_->stop();
    receiver_->reset();
    DropPendingDoubleHeader();
    shared_.FrameBuf[0] = 0xF0;
    shared_.FrameBuf[1] = 0xF0;
    link_.setInterface(Interface);
    detection_->start(Interface.network() ? 0 : shared_.PortNumber);
    Events.linkChanged();
}

BoxDetection::Result DCC::FindBox()
{
    StartFinding(ConnectPurpose::StartUp);
    // The event loop runs meanwhile, in short turns: the windows, the board's
    // guardian and the stops carry on. Bytes from the box end a turn early.
    while (detection_->running()) {
        if (detection_->awaitingLink())
            link_.waitForReceived(WaitSliceMs);
        if (detection_->running())
            clock_.processEvents(WaitSliceMs);
    }
    return detection_->result();
}

void DCC::FindingEnded(BoxDetection::Result result)
{
    const ConnectPurpose purpose = connectPurpose_;
    connectPurpose_ = ConnectPurpose::None;
    Events.linkChanged();
    if (purpose == ConnectPurpose::Again)
        ConnectAgainEnded(result);
}

void DCC::CancelConnect()
{
    detection_->cancel();
}

void DCC::GiveUpConnecting(bool cancelled)
{
    link_.close();
    receiver_->reset();
    lostPort_ = Interface.network() || cancelled ? 0 : shared_.PortNumber;
    if (!Interface.network())
        shared_.PortNumber = 0;
    if (cancelled)
        SetLinkState(LinkSession::State::OfflineByChoice);
    else
        StartReconnecting();
    Events.linkChanged();
}

void DCC::ConnectDccBox()
{
    for (;;) {
        const BoxDetection::Result result = FindBox();
        if (result == BoxDetection::Result::Answered)
            break;
        if (Interface.network()) {
            if (result == BoxDetection::Result::Cancelled) {
                GiveUpConnecting(true);
                return;
            }
            // No port to ask for: say what failed and keep looking.
            const QString reason = detection_->failure().isEmpty() ? QStringLiteral("no answer") : detection_->failure();
            link_.close();
            dialogs_.message(QStringLiteral("The DCC interface at %1 did not answer (%2).\n"
                                            "Varnolix goes on offline and connects by itself as soon as it answers; "
                                            "\"DCC interface\" on the toolbar changes the setting.")
                                 .arg(link_.where(), reason),
                             QStringLiteral("DCC Box disconnected"), Dialogs::Critical);
            StartReconnecting();
            return;
        }
        AskForPort();
        if (shared_.PortNumber == 0 && !Interface.network()) {
            link_.close();
            receiver_->reset();
            SetLinkState(LinkSession::State::OfflineByChoice);
            return;
        }
    }
    Events.linkChanged();
    dialogs_.message(ConnectedText(), QStringLiteral("Varnolix ") + shared_.ControlSystem, Dialogs::Information);
}

void DCC::ConnectAgain()
{
    StartFinding(ConnectPurpose::Again);
}

void DCC::ConnectAgainEnded(BoxDetection::Result result)
{
    if (result == BoxDetection::Result::Answered) {
        // Told without waiting, and in place of an earlier "lost" notice.
        dialogs_.notice(QStringLiteral("dcc-link"), ConnectedText(), QStringLiteral("Varnolix ") + shared_.ControlSystem,
                        Dialogs::Information);
        return;
    }
    if (result == BoxDetection::Result::Cancelled) {
        GiveUpConnecting(true);
        return;
    }
    const QString reason = detection_->failure().isEmpty() ? QStringLiteral("no answer") : detection_->failure();
    const QString where = link_.where().isEmpty() ? QStringLiteral("port 0") : link_.where();
    GiveUpConnecting(false);
    dialogs_.notice(QStringLiteral("dcc-link"),
                    QStringLiteral("The DCC box on %1 did not answer (%2).\nVarnolix goes on offline%3.")
                        .arg(where, reason,
                             Reconnecting() ? QStringLiteral(" and connects by itself as soon as it answers") : QString()),
                    QStringLiteral("DCC Box disconnected"), Dialogs::Critical);
}

void DCC::TestInterface(const InterfaceSettings& settings, std::uint8_t port, std::function<void(const QString&)> done)
{
    CancelTest();
    // The setting in use answers already; a second link could not even open its serial device.
    const bool inUse = settings == Interface && (settings.network() || port == shared_.PortNumber);
    if (inUse && session_.state() == LinkSession::State::Online && link_.isOpen()) {
        const QString identity = linkState().identity.isEmpty() ? QStringLiteral("a DCC box") : linkState().identity;
        done(QStringLiteral("%1 answered on %2.").arg(identity, link_.where()));
        return;
    }
    if (!test_) {
        std::unique_ptr<DccLink> link = MakeTestLink ? MakeTestLink() : nullptr;
        if (!link) {
            done(QStringLiteral("Nothing answered: no second link to test with."));
            return;
        }
        test_ = std::make_unique<InterfaceTest>(std::move(link), clock_);
    }
    test_->start(settings, port, std::move(done));
}

void DCC::CancelTest()
{
    if (test_)
        test_->cancel();
}

bool DCC::Testing() const
{
    return test_ && test_->running();
}
