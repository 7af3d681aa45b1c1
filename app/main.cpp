#include "App.h"
#include "HidK8055.h"
#include "HidapiBackend.h"
#include "Launch.h"
#include "LoadedDccLink.h"
#include "LoadedPhoneService.h"
#include "LoadedSound.h"
#include "PlainButtonStyle.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QtLauncher.h"
#include "SimulatedBoard.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#ifndef _WIN32
#include "GuardedK8055.h"
#endif

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The board and what stands behind it, kept alive together.
struct Board {
    std::unique_ptr<HidBackend> usb;
    std::unique_ptr<K8055Board> calls;
};

// The environment variable VARNOLIX_SIMULATED_BOARD=1 puts a simulated K8055
// (card address 0) in place of the USB board; it prints every change of its
// outputs in words. The demo run sets it. Either board sits behind the
// guardian program beside Varnolix, which turns every output off if Varnolix
// dies; without that program Varnolix drives the board itself and says so.
Board openBoard(const Clock& clock)
{
    const bool simulated = qEnvironmentVariable("VARNOLIX_SIMULATED_BOARD") == QStringLiteral("1");
#ifndef Q_OS_WIN
    const QString guardian = QCoreApplication::applicationDirPath() + QStringLiteral("/varnolix-k8055-guard");
    if (QFileInfo::exists(guardian))
        return {nullptr, std::make_unique<GuardedK8055>(guardian, simulated ? QStringList{QStringLiteral("--simulated")} : QStringList{})};
    std::fprintf(stderr, "varnolix: %s is missing: the K8055 board is driven without its guardian, so a crash could "
                         "leave an output on.\n", qPrintable(guardian));
#endif
    Board board;
    if (simulated) {
        auto device = std::make_unique<SimulatedBoard>(clock);
        device->setLineHandler([](double seconds, const QString& words) {
            std::fprintf(stdout, "k8055 %9.3f s  %s\n", seconds, words.toLocal8Bit().constData());
            std::fflush(stdout);
        });
        board.usb = std::move(device);
    } else {
        board.usb = std::make_unique<HidapiBackend>();
    }
    board.calls = std::make_unique<HidK8055>(*board.usb);
    return board;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> done = Launch::answerWithoutDisplay(argc, argv, QStringLiteral(VARNOLIX_VERSION)))
        return *done;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnolix"));
    QApplication::setApplicationVersion(QStringLiteral(VARNOLIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnolix"));
    QApplication::setStyle(new PlainButtonStyle); // the application owns it

    QtDialogs dialogBoxes;
    Launch launch(dialogBoxes);
    if (const std::optional<int> done = launch.prepare(QCoreApplication::arguments()))
        return *done;
    const ProgramFolder& folder = launch.folder();
    Dialogs& dialogs = launch.dialogs();
    QtClock clock;
    // The modules: beside the program, then where they are installed.
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList moduleFolders{programDir, QDir(programDir).filePath(QStringLiteral(VARNOLIX_MODULES_FROM_BIN))};
    LoadedDccLink link(moduleFolders);
    LoadedSound sound(moduleFolders);
    QtLauncher launcher;
    const Board board = openBoard(clock);

    const auto phones = [&moduleFolders](withrottle::PhoneLayout& layout, Clock& timing) {
        return std::make_unique<withrottle::LoadedPhoneService>(QStringLiteral(VARNOLIX_PHONES_MODULE_FILE), moduleFolders,
                                                                layout, timing);
    };
    // Destroyed before the board: its end clears the board's outputs.
    App app(folder, dialogs, clock, link, *board.calls, DesktopServices{&sound, &launcher, phones});
    // The interface dialog's Test runs on a link of its own, from the same module.
    app.dcc().MakeTestLink = [moduleFolders]() -> std::unique_ptr<DccLink> {
        return std::make_unique<LoadedDccLink>(moduleFolders);
    };
    app.watchExitPaths();
    // --interface: the "DCC interface" dialog first, then the usual start.
    if (launch.interfaceFirst())
        app.chooseInterfaceBeforeStart();
    if (!app.start())
        return 0;
    app.startPhones(launch.phonesOn());
    launch.announceRunning();
    return app.runEventLoop();
}
