#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

CommandLine CommandLine::parse(const QStringList& arguments, const QString& version)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Varnolix %1: a control panel for a model railway (XpressNet DCC and the K8055 board).")
            .arg(version));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption showVersion(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                         QStringLiteral("Print \"Varnolix\" and the version, then end."));
    const QCommandLineOption data(
        QStringLiteral("data"),
        QStringLiteral("Keep the data in DIR instead of the usual folder; DIR is made and filled with the "
                       "shipped data when it lacks them, and no file in it is ever replaced."),
        QStringLiteral("DIR"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Try Varnolix without hardware: a fresh temporary data folder with the demo settings, "
                       "a simulated DCC box on a pseudo-terminal (port 5) and a simulated K8055 board."));
    const QCommandLineOption unattended(
        QStringLiteral("unattended"),
        QStringLiteral("Answer the start-up questions with their default answers and print messages on "
                       "standard error instead of showing them (for scripts and tests)."));
    const QCommandLineOption interfaceFirst(
        QStringLiteral("interface"),
        QStringLiteral("Open the \"DCC interface\" dialog first: the kind of interface (serial, LI-USB, network), "
                       "its port, speed and handshake or host and port, with a test; then start as usual."));
    parser.addOptions({showVersion, data, demo, unattended, interfaceFirst});

    CommandLine line;
    auto fail = [&](const QString& why) {
        line.action = Action::Fail;
        line.text = QStringLiteral("%1\nTry \"varnolix --help\".\n").arg(why);
        return line;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        line.action = Action::Print;
        // Before the application object exists the parser knows no program name.
        line.text = parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("varnolix"));
        return line;
    }
    if (parser.isSet(showVersion)) {
        line.action = Action::Print;
        line.text = QStringLiteral("Varnolix %1\n").arg(version);
        return line;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("Unexpected argument \"%1\".").arg(parser.positionalArguments().constFirst()));
    line.demo = parser.isSet(demo);
    line.unattended = parser.isSet(unattended);
    line.chooseInterface = parser.isSet(interfaceFirst);
    if (parser.isSet(data)) {
        if (line.demo)
            return fail(QStringLiteral("--demo keeps its data in a fresh folder of its own: leave out --data."));
        const QString folder = parser.value(data);
        if (folder.isEmpty())
            return fail(QStringLiteral("--data wants a folder."));
        line.dataFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    }
    return line;
}
