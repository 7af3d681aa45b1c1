#include "DCC.h"

#include "Clock.h"
#include "DataFile.h"
#include "Dialogs.h"
#include "FieldFormat.h"
#include "Frames.h"
#include "ProgramEnd.h"
#include "ProgramFolder.h"
#include "InterfaceFile.h"
#include "InterfaceTest.h"
#include "StationFrames.h"

#include <cmath>

DCC::DCC(Shared& shared, DccLink& link, Clock& clock, Dialogs& dialogs, const ProgramFolder& folder)
    : Log(clock)
    , roster(shared, dialogs)
    , shared_(shared)
    , link_(link)
    , clock_(clock)
    , dialogs_(dialogs)
    , folder_(folder)
    , receiver_(std::make_unique<DccReceiver>(
          clock, DccReceiver::Hooks{[this](const QByteArray& frame) {
                                        Log.add(true, frame);
                                        link_.write(frame);
                                    },
                                    [this] {
                                        // While reconnecting, the reconnect tick asks.
                                        if (!Reconnecting())
                                            Probe();
                                    },
                                    [this] { ReceiverChanged(); },
                                    [this](const DccReceiver::Answer& answer) { Answered(answer); }}))
    , reconnectTimer_(clock.createTimer([this] { ReconnectTick(); }))
    , detection_(std::make_unique<BoxDetection>(link, clock,
                                                BoxDetection::Hooks{[this](const QByteArray& frame) { WriteOwed(frame); },
                                                                    [this] { SetLinkState(LinkSession::State::Online); },
                                                                    [this](BoxDetection::Result result) { FindingEnded(result); }}))
{
    Locos.changed = [this](int address, LocoStates::Change change, int function, int origin) {
        LocoChanged(address, change, function, origin);
    };
    link_.setReceiveHandler([this](const DccLink::Received& in) { Received(in); });
    link_.setLostHandler([this](const QString& where, const QString& reason) { LinkLost(where, reason); });
    link_.setOpenedHandler([this] { LinkOpened(); });
    roster.Inserted = [this](int index) { FollowInserted(index); };
}

DCC::~DCC()
{
    test_.reset();
    connectPurpose_ = ConnectPurpose::None;
    detection_->cancel();
    // The link may outlive this module; it must not call back into it.
    link_.setReceiveHandler({});
    link_.setLostHandler({});
    link_.setOpenedHandler({});
}

QString DCC::PortFilePath() const
{
    return folder_.resolve(QStringLiteral("\\data\\text\\port.txt"));
}

QString DCC::InterfaceFilePath() const
{
    return folder_.resolve(QStringLiteral("\\data\\text\\interface.txt"));
}

bool DCC::SendFrame()
{
    const std::size_t length = frames::lengthOf(shared_.FrameBuf[0]);
    return Submit(QByteArray(reinterpret_cast<const char*>(shared_.FrameBuf.data()), static_cast<qsizetype>(length)));
}

bool DCC::Submit(const QByteArray& frame)
{
    switch (session_.admit(frame)) {
    case LinkSession::Verdict::Refused:
        Events.linkChanged();
        return false;
    case LinkSession::Verdict::Kept:
        Locos.sent(frame, Origin.id);
        Events.linkChanged();
        return true;
    case LinkSession::Verdict::Send:
        break;
    }
    Locos.sent(frame, Origin.id);
    if (!link_.isOpen())
        return true;
    // A command of our own for a loco ends what another throttle took over.
    if (frame[0] == '\xE4' || frame[0] == '\xE5')
        receiver_->clearTakenOver();
    WriteOwed(frame);
    return true;
}

bool DCC::WriteOwed(const QByteArray& frame)
{
    // Owed first: a link may hand the answer over before write() returns.
    receiver_->sent(frame);
    Log.add(true, frame, true, Origin.name);
    return link_.write(frame);
}

void DCC::Pause(float seconds)
{
    // A monotonic clock: a pause that spans midnight still ends on time.
    clock_.wait(static_cast<double>(seconds));
}

QString DCC::ConnectedText() const
{
    QString text = Interface.network() ? QStringLiteral("DCC box connected on %1").arg(link_.where())
                                       : QStringLiteral("DCC box connected on Port %1").arg(shared_.PortNumber);
    if (!linkState().identity.isEmpty())
        text += QLatin1Char('\n') + linkState().identity;
    return text;
}

void DCC::AskForPort()
{
    shared_.MsgTitle = QStringLiteral("DCC Box disconnected");
    QString devices = link_.describePorts();
    devices = devices.isEmpty() ? QStringLiteral("\n(no serial device found)\n") : QLatin1Char('\n') + devices + QLatin1Char('\n');
    // Say first what went wrong with the port tried, if anything did.
    const QString failure = shared_.PortNumber != 0 && !link_.openError().isEmpty()
        ? QStringLiteral("Port %1: %2\n\n").arg(shared_.PortNumber).arg(link_.openError())
        : QString();
    shared_.MsgPrompt = failure + QStringLiteral("use zero for offline operation") + QString(40, QLatin1Char(' ')) + devices
        + QStringLiteral("u.s.b. port connected below");
    for (;;) {
        bool chosen = false;
        const QString current = QString::number(shared_.PortNumber);
        const QString answer = ChooseInterface
            ? dialogs_.inputWithChoice(shared_.MsgPrompt, shared_.MsgTitle, current, QStringLiteral("DCC interface..."), &chosen)
            : dialogs_.input(shared_.MsgPrompt, shared_.MsgTitle, current);
        // The dialog stores its choice itself; the caller then tries it.
        if (chosen) {
            if (ChooseInterface())
                return;
            continue;
        }
        bool ok = false;
        const int number = answer.trimmed().toInt(&ok);
        if (!ok || number < 0 || number > 255)
            throw ProgramEnd();
        shared_.PortNumber = static_cast<std::uint8_t>(number);
        WritePortFile();
        return;
    }
}

void DCC::ReadPortFile()
{
    const auto file = data_file::readCreatingEmpty(PortFilePath());
    shared_.PortNumber = 0;
    if (file.tooLarge)
        dialogs_.message(file.error, QStringLiteral("Varnolix"), Dialogs::Critical);
    if (!file.ok)
        return;
    FieldReader reader(file.content);
    const auto number = reader.readNumber();
    // Anything but a number 0..255 is taken as no port: detection then
    // fails and the port question is asked.
    if (number && *number >= 0 && *number <= 255)
        shared_.PortNumber = static_cast<std::uint8_t>(*number);
}

void DCC::WritePortFile()
{
    FieldWriter writer;
    writer.number(shared_.PortNumber).endLine();
    dialogs_.reportUnsaved(data_file::writeAtomically(PortFilePath(), writer),
                           QStringLiteral("The port number is used for this run only."));
}

void DCC::ReadInterfaceFile()
{
    const auto file = interface_file::read(InterfaceFilePath());
    Interface = file.settings.value_or(InterfaceSettings{});
    if (!file.error.isEmpty())
        dialogs_.message(file.error + QStringLiteral("\nVarnolix uses a serial interface at 19200 baud; "
                                                      "\"DCC interface\" on the toolbar sets it right."),
                         QStringLiteral("Varnolix"), Dialogs::Critical);
    if (!file.warning.isEmpty())
        dialogs_.message(file.warning + QStringLiteral("\n\"DCC interface\" on the toolbar writes the file right."),
                         QStringLiteral("Varnolix"), Dialogs::Information);
}

bool DCC::WriteInterfaceFile()
{
    const QString error = interface_file::write(InterfaceFilePath(), Interface);
    dialogs_.reportUnsaved(error, QStringLiteral("The interface setting is used for this run only."));
    return error.isEmpty();
}

