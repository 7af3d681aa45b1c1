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
    const QCommandLineOption phones(
        QStringLiteral("withrottle"),
        QStringLiteral("Switch the phone server on for phone throttles (WiThrottle) on the stored port, or with "
                       "--withrottle=PORT on PORT, whatever \"Phone throttles\" says."));
    parser.addOptions({showVersion, data, demo, unattended, interfaceFirst, phones});

    CommandLine line;
    auto fail = [&](const QString& why) {
        line.action = Action::Fail;
        line.text = QStringLiteral("%1\nTry \"varnolix --help\".\n").arg(why);
        return line;
    };
    // The parser takes no optional values: --withrottle=PORT is read here.
    QStringList rest = arguments;
    for (QString& argument : rest) {
        if (!argument.startsWith(QStringLiteral("--withrottle=")))
            continue;
        bool ok = false;
        const int port = argument.mid(13).toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return fail(QStringLiteral("--withrottle=PORT wants a TCP port 1 to 65535, not \"%1\".").arg(argument.mid(13)));
        line.phonePort = static_cast<std::uint16_t>(port);
        argument = QStringLiteral("--withrottle");
    }
    if (!parser.parse(rest))
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
    line.phones = parser.isSet(phones);
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
