#include "DCC.h"

#include "Clock.h"
#include "DataFile.h"
#include "Dialogs.h"
#include "FieldFormat.h"
#include "Frames.h"
#include "ProgramEnd.h"
#include "ProgramFolder.h"
#include "SerialLink.h"

#include <QDir>

#include <cmath>

DCC::DCC(Shared& shared, SerialLink& link, Clock& clock, Dialogs& dialogs, const ProgramFolder& folder)
    : shared_(shared)
    , link_(link)
    , clock_(clock)
    , dialogs_(dialogs)
    , folder_(folder)
{
    link_.setLostHandler([this](const QString& device, const QString& reason) { LinkLost(device, reason); });
}

DCC::~DCC()
{
    // The link may outlive this module; it must not call back into it.
    link_.setLostHandler({});
}

QString DCC::PortFilePath() const
{
    return folder_.resolve(QStringLiteral("\\data\\text\\port.txt"));
}

void DCC::SendFrame()
{
    if (!link_.isOpen())
        return;
    const std::size_t length = frames::lengthOf(shared_.FrameBuf[0]);
    link_.write(QByteArray(reinterpret_cast<const char*>(shared_.FrameBuf.data()), static_cast<qsizetype>(length)));
}

void DCC::Pause(float seconds)
{
    // A monotonic clock: a pause that spans midnight still ends on time.
    clock_.wait(static_cast<double>(seconds));
}

bool DCC::QueryBox()
{
    link_.setDiscardIncoming(false);
    link_.open(shared_.PortNumber);
    link_.discardReceived();
    link_.discardPending();
    Pause(1.0f);
    // Stale bytes are dropped before the query rather than after it: a box
    // on a fast link may already have answered by then.
    link_.discardReceived();
    shared_.FrameBuf[0] = 0xF0;
    shared_.FrameBuf[1] = 0xF0;
    SendFrame();
    if (!link_.isOpen() || !link_.waitForReceived(AnswerWaitMs))
        return false;
    return !link_.readAll().isEmpty();
}

void DCC::ConnectDccBox()
{
    while (!QueryBox()) {
        AskForPort();
        if (shared_.PortNumber == 0) {
            link_.close();
            return;
        }
    }
    link_.setDiscardIncoming(true);
    dialogs_.message(QStringLiteral("DCC box connected on Port %1").arg(shared_.PortNumber),
                     QStringLiteral("Varnolix ") + shared_.ControlSystem, Dialogs::Information);
}

void DCC::AskForPort()
{
    shared_.MsgTitle = QStringLiteral("DCC Box disconnected");
    QString devices = link_.describePorts();
    devices = devices.isEmpty() ? QStringLiteral("\n(no serial device found)\n") : QLatin1Char('\n') + devices + QLatin1Char('\n');
    shared_.MsgPrompt = QStringLiteral("use zero for offline operation") + QString(40, QLatin1Char(' ')) + devices
        + QStringLiteral("u.s.b. port connected below");
    const QString answer = dialogs_.input(shared_.MsgPrompt, shared_.MsgTitle, QString::number(shared_.PortNumber)).trimmed();
    bool ok = false;
    const int number = answer.toInt(&ok);
    if (!ok || number < 0 || number > 255)
        throw ProgramEnd();
    shared_.PortNumber = static_cast<std::uint8_t>(number);
    WritePortFile();
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

void DCC::LinkLost(const QString& device, const QString& reason)
{
    // From now on the link counts as offline, so the status line says
    // "modem OFF" and nothing more is written to a dead port.
    shared_.PortNumber = 0;
    dialogs_.message(QStringLiteral("The DCC box on %1 stopped answering (%2).\n"
                                    "Varnolix goes on offline. Check the cable and restart the program to reconnect.")
                         .arg(device, reason),
                     QStringLiteral("DCC Box disconnected"), Dialogs::Critical);
}

void DCC::ReportNotRewritten(const QString& path, const QString& consequence, const QString& title)
{
    dialogs_.message(QDir::toNativeSeparators(path) + QStringLiteral(" could not be read at start, so it is not rewritten: ")
                         + consequence,
                     title, Dialogs::Critical);
}
