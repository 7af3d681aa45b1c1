#include "App.h"
#include "HidK8055.h"
#include "HidapiBackend.h"
#include "PortMap.h"
#include "ProgramFolder.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QtLauncher.h"
#include "QtDccLink.h"
#include "QtSound.h"
#include "SimulatedBoard.h"
#include "StopSignals.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

// The environment variable VARNOLIX_SIMULATED_BOARD=1 puts a simulated K8055
// (card address 0) in place of the USB board; it prints every change of its
// outputs in words on standard output. The demo run sets it.
std::unique_ptr<HidBackend> boardBackend(const Clock& clock)
{
    if (qEnvironmentVariable("VARNOLIX_SIMULATED_BOARD") != QStringLiteral("1"))
        return std::make_unique<HidapiBackend>();
    auto simulated = std::make_unique<SimulatedBoard>(clock);
    simulated->setLineHandler([](double seconds, const QString& words) {
        std::fprintf(stdout, "k8055 %9.3f s  %s\n", seconds, words.toLocal8Bit().constData());
        std::fflush(stdout);
    });
    return simulated;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnolix"));
    QApplication::setApplicationVersion(QStringLiteral(VARNOLIX_VERSION));

    const ProgramFolder folder(QCoreApplication::applicationDirPath());
    QtClock clock;
    QtDialogs dialogs;
    QtDccLink link(PortMap::fromEnvironment());
    QtSound sound;
    QtLauncher launcher;
    const std::unique_ptr<HidBackend> usb = boardBackend(clock);
    HidK8055 board(*usb);

    // Destroyed before the board: its end clears the board's outputs.
    App app(folder, dialogs, clock, link, board, DesktopServices{&sound, &launcher});
    QObject::connect(&app.form1(), &Form1::exitRequested, &application, &QCoreApplication::quit);
    bool stopped = false;
    onStopSignals(&application, [&] {
        stopped = true;
        app.dll().abortCoils();
        // exit(), not quit(): quit() does nothing before the main loop runs,
        // and a start-up dialog may be open; exit() ends every loop.
        QCoreApplication::exit(0);
    });
    // --interface: the "DCC interface" dialog first, then the usual start.
    if (QCoreApplication::arguments().contains(QStringLiteral("--interface")))
        app.chooseInterfaceBeforeStart();
    if (!app.start() || stopped)
        return 0;
    return QApplication::exec();
}
