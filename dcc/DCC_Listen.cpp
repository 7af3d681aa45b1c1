// Listening to the box: answers, broadcasts, a lost link and finding it
// again, the layout-wide commands and the acknowledged double header.
#include "DCC.h"

#include "Clock.h"
#include "Dialogs.h"
#include "LocoFrames.h"
#include "StationFrames.h"


bool DCC::Online() const
{
    if (!Interface.network())
        return shared_.PortNumber != 0;
    return session_.state() == LinkSession::State::Online || session_.state() == LinkSession::State::NotAnswering;
}

bool DCC::AwaitingAnswers() const
{
    return receiver_->owes();
}

LinkState DCC::linkState() const
{
    LinkState state = receiver_->state();
    state.stopNotSent = session_.stopNotSent();
    state.notSent = session_.notSent();
    return state;
}

void DCC::SetLinkState(LinkSession::State state)
{
    if (!session_.setState(state))
        return;
    if (state == LinkSession::State::Online)
        SendKept();
    Events.linkChanged();
}

void DCC::SendKept()
{
    for (const QByteArray& frame : session_.takeKept())
        WriteOwed(frame);
}

bool DCC::RefusedWhileDown()
{
    if (!session_.refuse())
        return false;
    Events.linkChanged();
    return true;
}

void DCC::ReceiverChanged()
{
    const bool silent = receiver_->state().boxSilent;
    if (silent && session_.state() == LinkSession::State::Online)
        SetLinkState(LinkSession::State::NotAnswering);
    else if (!silent && session_.state() == LinkSession::State::NotAnswering)
        SetLinkState(LinkSession::State::Online);
    Events.linkChanged();
}

void DCC::EmergencyStop()
{
    // Every loco a throttle (a phone among them) last told to move.
    const auto running = Locos.running();
    shared_.FrameBuf = station_frames::emergencyStop();
    SendFrame();
    SpeedByte = DirectionBit;
    if (EngineChosen)
        SendSpeed(EngineAddrHigh, EngineAddrLow);
    const bool pilot = PilotIndex != NoPilot && (PilotAddrHigh != 0 || PilotAddrLow != 0);
    if (pilot)
        SendSpeed(PilotAddrHigh, PilotAddrLow);
    // The others too: a command station that keeps each loco's last speed
    // would start them again on resume.
    for (const auto& [address, forward] : running) {
        const auto bytes = loco_frames::addressOf(address);
        if (!bytes || address == EngineNumber()
            || (pilot && address == loco_frames::numberOf({PilotAddrHigh, PilotAddrLow})))
            continue;
        shared_.FrameBuf = loco_frames::speedFrame(*bytes, loco_frames::speedByteOfStep(0, forward));
        SendFrame();
        Pause(0.005f);
    }
}

void DCC::AskStationStatus()
{
    const auto query = station_frames::statusQuery();
    WriteOwed(QByteArray(reinterpret_cast<const char*>(query.data()), 3));
}

void DCC::TrackPowerOff()
{
    shared_.FrameBuf = station_frames::trackPowerOff();
    SendFrame();
}

void DCC::ResumeOperation()
{
    shared_.FrameBuf = station_frames::resumeOperation();
    SendFrame();
}

void DCC::Received(const DccLink::Received& in)
{
    Log.add(false, in.bytes, in.good);
    receiver_->received(in);
    if (detection_->running())
        detection_->heard();
    if (Reconnecting() && in.good && link_.isOpen())
        Reconnected();
}

void DCC::Probe()
{
    if (!link_.isOpen())
        return;
    const QByteArray query("\xF0\xF0", 2);
    WriteOwed(query);
}

void DCC::LinkLost(const QString& device, const QString& reason)
{
    // While the box is looked for, a link that goes is one that did not answer.
    if (detection_->running()) {
        detection_->lost();
        return;
    }
    // From now on the link counts as offline, so the status line says
    // "modem OFF" and nothing more is written to a dead port; the port is
    // remembered and looked for every second.
    if (!Interface.network()) {
        lostPort_ = shared_.PortNumber;
        shared_.PortNumber = 0;
    }
    receiver_->reset();
    DropPendingDoubleHeader();
    StartReconnecting();
    Events.linkChanged();
    dialogs_.notice(QStringLiteral("dcc-link"),
                    QStringLiteral("The link to the DCC box on %1 was lost (%2).\n"
                                   "Varnolix goes on offline and reconnects by itself when it is back; "
                                   "a click on the modem picture tries at once. Stops wait and go first; "
                                   "other commands are not sent.")
                        .arg(device, reason),
                    QStringLiteral("DCC Box disconnected"), Dialogs::Critical);
}

void DCC::StartReconnecting()
{
    if (!Interface.network() && lostPort_ == 0) {
        SetLinkState(LinkSession::State::OfflineByChoice);
        return;
    }
    SetLinkState(LinkSession::State::Lost);
    reconnectTimer_->start(ReconnectIntervalMs);
}

void DCC::ReconnectNow()
{
    if (Reconnecting())
        ReconnectTick();
}

void DCC::ReconnectTick()
{
    if (!Reconnecting())
        return;
    reconnectTimer_->start(ReconnectIntervalMs);
    if (link_.opening())
        return;
    if (link_.isOpen()) {
        // Open but silent so far: ask again.
        Probe();
        return;
    }
    link_.setInterface(Interface);
    link_.openInBackground(lostPort_);
}

void DCC::LinkOpened()
{
    if (detection_->running()) {
        detection_->opened();
        return;
    }
    if (!Reconnecting() || !link_.isOpen())
        return;
    receiver_->reset();
    link_.discardReceived();
    Probe();
}

void DCC::Reconnected()
{
    reconnectTimer_->stop();
    if (!Interface.network())
        shared_.PortNumber = lostPort_;
    lostPort_ = 0;
    // The kept stops go first; who answered and the track's state follow,
    // for the monitor and the status; nobody waits for them.
    SetLinkState(LinkSession::State::Online);
    const auto query = station_frames::versionQuery();
    WriteOwed(QByteArray(reinterpret_cast<const char*>(query.data()), 3));
    AskStationStatus();
    Events.linkChanged();
}

void DCC::StoreInterface(const InterfaceSettings& settings, std::uint8_t port)
{
    Interface = settings;
    if (!settings.network()) {
        shared_.PortNumber = port;
        WritePortFile();
    }
    WriteInterfaceFile();
}

DCC::PilotChoice DCC::CoupleDoubleHeader()
{
    const int pilot = PilotIndex;
    // A command station couples only locos this device has driven and that
    // stand still: both get speed 0 in the current direction first.
    SpeedByte = DirectionBit;
    SendSpeed(EngineAddrHigh, EngineAddrLow);
    if (PilotAddrHigh != 0 || PilotAddrLow != 0)
        SendSpeed(PilotAddrHigh, PilotAddrLow);
    // The pilot may have been released by a click during the pauses.
    if (PilotIndex != pilot)
        return PilotChoice::Ignored;
    const auto frame = loco_frames::doubleHeaderFrame({EngineAddrHigh, EngineAddrLow}, {PilotAddrHigh, PilotAddrLow});
    PilotPending = link_.isOpen() && session_.state() == LinkSession::State::Online;
    pendingDoubleHeader_ = PilotPending ? QByteArray(reinterpret_cast<const char*>(frame.data()), 7) : QByteArray();
    SendDoubleHeader();
    return PilotChoice::Coupled;
}

void DCC::DropPendingDoubleHeader()
{
    pendingDoubleHeader_.clear();
    if (!PilotPending)
        return;
    PilotPending = false;
    PilotIndex = NoPilot;
    PilotAddrHigh = 0;
    PilotAddrLow = 0;
    Events.pilotChanged();
}

void DCC::Answered(const DccReceiver::Answer& answer)
{
    // The emergency stop goes again until the command station has it: sent
    // now, or kept if the link is down by then.
    using Outcome = DccReceiver::Answer::Outcome;
    if (answer.frame == QByteArray("\x80\x80", 2) && (answer.outcome == Outcome::NoAnswer || answer.outcome == Outcome::NotPassedOn)) {
        Submit(answer.frame);
        return;
    }
    if (pendingDoubleHeader_.isEmpty() || answer.frame != pendingDoubleHeader_)
        return;
    pendingDoubleHeader_.clear();
    if (!PilotPending || PilotIndex == NoPilot)
        return;
    PilotPending = false;
    if (answer.outcome == DccReceiver::Answer::Outcome::Accepted) {
        Events.pilotChanged();
        return;
    }
    QString why = answer.why;
    if (answer.outcome == DccReceiver::Answer::Outcome::NoAnswer)
        why = QStringLiteral("the DCC box did not answer");
    else if (answer.outcome == DccReceiver::Answer::Outcome::NotPassedOn)
        why = QStringLiteral("the command station did not take the command");
    const QString text = QStringLiteral("%1 and %2 were not coupled: %3.")
                             .arg(roster.LocoName[EngineIndex], roster.LocoName[static_cast<std::size_t>(PilotIndex)], why);
    PilotIndex = NoPilot;
    PilotAddrHigh = 0;
    PilotAddrLow = 0;
    Events.pilotChanged();
    dialogs_.notice(QStringLiteral("double-header"), text, QStringLiteral("locomotive/multiple unit"), Dialogs::Information);
}
