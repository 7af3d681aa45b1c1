#include "App.h"
#include "PortMap.h"
#include "ProgramFolder.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QtSerialLink.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnolix"));
    QApplication::setApplicationVersion(QStringLiteral(VARNOLIX_VERSION));

    const ProgramFolder folder(QCoreApplication::applicationDirPath());
    QtClock clock;
    QtDialogs dialogs;
    QtSerialLink link(PortMap::fromEnvironment());

    App app(folder, dialogs, clock, link);
    QObject::connect(&app.form1(), &Form1::exitRequested, &application, &QCoreApplication::quit);
    if (!app.start())
        return 0;
    return QApplication::exec();
}
