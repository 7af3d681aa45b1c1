// Listening to the box: answers, broadcasts, a lost link and finding it
// again, the layout-wide commands and the acknowledged double header.
#include "DCC.h"

#include "Clock.h"
#include "Dialogs.h"
#include "LocoFrames.h"
#include "StationFrames.h"

#include <QMetaObject>

bool DCC::Online() const
{
    return Interface.network() ? networkUp_ : shared_.PortNumber != 0;
}

void DCC::EmergencyStop()
{
    shared_.FrameBuf = station_frames::emergencyStop();
    SendFrame();
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
    answered_ = true;
    receiver_->received(in);
    if (reconnecting_ && in.good && link_.isOpen())
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
    // From now on the link counts as offline, so the status line says
    // "modem OFF" and nothing more is written to a dead port; the port is
    // remembered and looked for every second.
    if (!Interface.network()) {
        lostPort_ = shared_.PortNumber;
        shared_.PortNumber = 0;
    }
    networkUp_ = false;
    receiver_->reset();
    DropPendingDoubleHeader();
    StartReconnecting();
    Events.linkChanged();
    dialogs_.message(QStringLiteral("The link to the DCC box on %1 was lost (%2).\n"
                                    "Varnolix goes on offline and reconnects by itself when it is back; "
                                    "a click on the modem picture tries at once.")
                         .arg(device, reason),
                     QStringLiteral("DCC Box disconnected"), Dialogs::Critical);
}

void DCC::StartReconnecting()
{
    if (!Interface.network() && lostPort_ == 0)
        return;
    reconnecting_ = true;
    reconnectTimer_->start(ReconnectIntervalMs);
}

void DCC::ReconnectNow()
{
    if (reconnecting_)
        ReconnectTick();
}

void DCC::ReconnectTick()
{
    if (!reconnecting_)
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
    if (!reconnecting_)
        return;
    receiver_->reset();
    link_.discardReceived();
    Probe();
}

void DCC::Reconnected()
{
    reconnecting_ = false;
    reconnectTimer_->stop();
    if (!Interface.network())
        shared_.PortNumber = lostPort_;
    lostPort_ = 0;
    networkUp_ = Interface.network();
    // Who answered, for the monitor and the status; nobody waits for it.
    const auto query = station_frames::versionQuery();
    WriteOwed(QByteArray(reinterpret_cast<const char*>(query.data()), 3));
    Events.linkChanged();
}

QString DCC::TestInterface(const InterfaceSettings& settings, std::uint8_t port)
{
    const InterfaceSettings kept = Interface;
    const std::uint8_t keptPort = reconnecting_ ? lostPort_ : shared_.PortNumber;
    const bool wasInUse = Online() || reconnecting_;
    Interface = settings;
    shared_.PortNumber = port;
    QString result;
    if (QueryBox()) {
        const QString identity = linkState().identity.isEmpty() ? QStringLiteral("a DCC box") : linkState().identity;
        result = QStringLiteral("%1 answered on %2.").arg(identity, link_.where());
    } else if (!link_.openError().isEmpty()) {
        result = QStringLiteral("Nothing answered: %1.").arg(link_.openError());
    } else {
        result = QStringLiteral("%1 opened, but nothing answered the query.").arg(link_.where());
    }
    // Back to the link as it was.
    Interface = kept;
    shared_.PortNumber = keptPort;
    if (!wasInUse) {
        link_.close();
        receiver_->reset();
    } else if (!QueryBox()) {
        link_.close();
        receiver_->reset();
        lostPort_ = keptPort;
        if (!Interface.network())
            shared_.PortNumber = 0;
        StartReconnecting();
    }
    Events.linkChanged();
    return result;
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

void DCC::ConnectAgain()
{
    if (QueryBox()) {
        Events.linkChanged();
        dialogs_.message(ConnectedText(), QStringLiteral("Varnolix ") + shared_.ControlSystem, Dialogs::Information);
        return;
    }
    const QString reason = link_.openError().isEmpty() ? QStringLiteral("no answer") : link_.openError();
    const QString where = link_.where().isEmpty() ? QStringLiteral("port 0") : link_.where();
    link_.close();
    receiver_->reset();
    lostPort_ = Interface.network() ? 0 : shared_.PortNumber;
    if (!Interface.network())
        shared_.PortNumber = 0;
    StartReconnecting();
    Events.linkChanged();
    dialogs_.message(QStringLiteral("The DCC box on %1 did not answer (%2).\nVarnolix goes on offline%3.")
                         .arg(where, reason,
                              reconnecting_ ? QStringLiteral(" and connects by itself as soon as it answers") : QString()),
                     QStringLiteral("DCC Box disconnected"), Dialogs::Critical);
}

void DCC::ShowLater(const QString& text, const QString& title, int style)
{
    // Not from inside the receive path: the message box runs its own loop.
    QMetaObject::invokeMethod(
        &Events, [this, text, title, style] { dialogs_.message(text, title, style); }, Qt::QueuedConnection);
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
    PilotPending = link_.isOpen() && !reconnecting_;
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
    ShowLater(text, QStringLiteral("locomotive/multiple unit"), Dialogs::Information);
}
