// The start-up sequence, the control-system choice and the message routine.
#include "SR.h"

#include "Clock.h"
#include "DCC.h"
#include "DataFile.h"
#include "Dialogs.h"
#include "ProgramEnd.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Every data file this program writes, in data/text.
const QStringList DataFileNames{QStringLiteral("version.txt"), QStringLiteral("layout.txt"),   QStringLiteral("coord.txt"),
                                QStringLiteral("port.txt"),    QStringLiteral("loco.txt"),     QStringLiteral("function.txt"),
                                QStringLiteral("interface.txt")};

} // namespace

SR::SR(Shared& shared, Dialogs& dialogs, Clock& clock, const ProgramFolder& folder, DCC& dcc, WindowHost& windows)
    : shared_(shared)
    , dialogs_(dialogs)
    , clock_(clock)
    , folder_(folder)
    , dcc_(dcc)
    , windows_(windows)
{
}

void SR::Form1Load()
{
    // An atomic write cut short by a kill leaves its temporary file behind.
    data_file::removeStaleTemporaries(path("\\data\\text"), DataFileNames);
    ReadLayoutName();
    shared_.FunctionFilePath = path("\\data\\text\\function.txt");
    shared_.LocoFilePath = path("\\data\\text\\loco.txt");
    SetUpControlSystem();
    BuildStatusText();
    WriteLayoutName();
}

void SR::SetUpControlSystem()
{
    using namespace control_system;
    ReadControlSystem();
    if (shared_.ControlSystem == DccAndDc || shared_.ControlSystem == Dcc) {
        dcc_.ReadPortFile();
        dcc_.ReadInterfaceFile();
        if (!dcc_.roster.ReadLocoFile())
            Prompt(18);
        dcc_.ReadFunctionFile();
        dcc_.ConnectDccBox();
        Prompt(17);
        if (shared_.ControlSystem == DccAndDc) {
            windows_.loadBoardPanel();
            windows_.loadLocoWindow();
        } else {
            windows_.setCoilWindowCaptionAndSize(QStringLiteral("DCC solenoid control"), 4700, 4210);
        }
        windows_.loadCoilWindow();
        windows_.raiseByteArrayToggle();
    } else if (shared_.ControlSystem == DC) {
        windows_.loadBoardPanel();
        windows_.loadCoilWindow();
        Prompt(17);
    } else {
        Prompt(16);
        SetUpControlSystem();
    }
    ReadWindowCoords();
}

void SR::Prompt(int number)
{
    switch (number) {
    case 13:
        shared_.MsgTitle = QStringLiteral("locomotive/multiple unit");
        shared_.MsgPrompt = QStringLiteral("no train engine selected");
        shared_.MsgStyle = Dialogs::Question;
        ShowMessage();
        break;
    case 16:
        ChooseControlSystem();
        break;
    case 17:
        AskForLayout();
        break;
    case 18:
        shared_.MsgTitle = QStringLiteral("no spaces allowed after last line");
        // Named from the folder that holds the data folder, which is the
        // program folder only in portable use.
        shared_.MsgPrompt = QFileInfo(folder_.dataPath()).absolutePath() + QStringLiteral("\\data\\loco.txt data error");
        shared_.MsgStyle = Dialogs::Critical;
        ShowMessage();
        break;
    default:
        break;
    }
}

void SR::ShowMessage()
{
    dialogs_.message(shared_.MsgPrompt, shared_.MsgTitle, shared_.MsgStyle);
    shared_.MsgStyle = 0;
}

void SR::ChooseControlSystem()
{
    using namespace control_system;
    for (;;) {
        shared_.MsgTitle = QStringLiteral("~\\Varnolix-3D\\Data\\Sundries\\version.txt");
        shared_.MsgPrompt = QStringLiteral("please select your control system :-") + QString(120, QLatin1Char(' '))
            + QStringLiteral("DC   computer-controlled") + QString(48, QLatin1Char(' '))
            + QStringLiteral("DCC with accessory modules or intelligent motors") + QString(10, QLatin1Char(' '))
            + QStringLiteral("DCC + computer-controlled DC");
        shared_.ControlSystem = dialogs_.input(shared_.MsgPrompt, shared_.MsgTitle, DccAndDc);
        if (shared_.ControlSystem.isEmpty())
            throw ProgramEnd();
        if (shared_.ControlSystem == Dcc || shared_.ControlSystem == DccAndDc || shared_.ControlSystem == DC) {
            WriteControlSystem();
            dialogs_.message(shared_.ControlSystem + QStringLiteral(" version"), QStringLiteral("Tessaline-3D software"),
                             Dialogs::Information);
            return;
        }
    }
}

void SR::AskForLayout()
{
    for (;;) {
        shared_.MsgTitle = QStringLiteral("Display your layout as a bitmap in 'Paint'");
        shared_.MsgPrompt = QStringLiteral("name the file (or use the default name below) and") + QString(12, QLatin1Char(' '))
            + QStringLiteral("it will be saved to folder ~\\Varnolix\\Data\\Layouts");
        shared_.LayoutName = dialogs_.input(shared_.MsgPrompt, shared_.MsgTitle, shared_.LayoutName);
        if (shared_.LayoutName.isEmpty())
            throw ProgramEnd();
        const QString bitmap = folder_.resolve(QStringLiteral("\\Data\\Layouts\\") + shared_.LayoutName + QStringLiteral(".bmp"));
        QString error;
        if (windows_.loadMimic(bitmap, &error))
            return;
        // The picture reader says "file not found" for a folder too.
        if (const QString why = data_file::whyUnreadable(bitmap); !why.isEmpty())
            error = QStringLiteral("it ") + why;
        // A name that gives no picture: say which file and ask again.
        dialogs_.message(QStringLiteral("The layout picture %1 could not be shown: %2\n"
                                        "Draw your layout in a paint program, save it as a .bmp file in that folder, "
                                        "then give its name without .bmp.")
                             .arg(QDir::toNativeSeparators(bitmap), error),
                         QStringLiteral("Varnolix"), Dialogs::Critical);
    }
}
