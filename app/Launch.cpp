#include "Launch.h"

#include "CommandLine.h"
#include "Demo.h"
#include "Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>

#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

Launch::Launch(Dialogs& shown)
    : shown_(shown)
{
}

Launch::~Launch() = default;

Dialogs& Launch::dialogs()
{
    if (answering_)
        return *answering_;
    return shown_;
}

void Launch::report(const QString& text)
{
    dialogs().message(text, QStringLiteral("Varnolix"), Dialogs::Critical);
}

std::optional<int> Launch::answerWithoutDisplay(int argc, char* argv[], const QString& version)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Anything else, a bad option too, waits for the application object: it
    // takes Qt's own options (such as -platform) off the list first.
    const CommandLine line = CommandLine::parse(arguments, version);
    if (line.action != CommandLine::Action::Print)
        return std::nullopt;
    print(stdout, line.text);
    return 0;
}

std::optional<int> Launch::prepare(const QStringList& arguments)
{
    const CommandLine line = CommandLine::parse(arguments, QCoreApplication::applicationVersion());
    if (line.action == CommandLine::Action::Print) {
        print(stdout, line.text);
        return 0;
    }
    if (line.action == CommandLine::Action::Fail) {
        print(stderr, line.text);
        return 2;
    }
    if (line.demo || line.unattended)
        answering_.emplace(line.unattended ? nullptr : &shown_);
    interfaceFirst_ = line.chooseInterface;
    if (line.phones)
        phonesOn_ = line.phonePort;

    // An installed program finds its shipped files from its own place, so an
    // install under any prefix (or DESTDIR) works.
    DataSearch search;
    search.executableFolder = QCoreApplication::applicationDirPath();
    search.installedShare = QDir::cleanPath(QDir(search.executableFolder).filePath(QStringLiteral(VARNOLIX_SHARE_FROM_BIN)));
    search.userDataFolder = userDataFolder();
    search.namedFolder = line.dataFolder;
    places_ = chooseDataPlaces(search);
    const std::optional<int> failed = line.demo ? startDemo() : fillDataFolder(search.installedShare);
    if (failed)
        return failed;
    folder_.emplace(places_.folder());
    return lockDataFolder(folder_->dataPath());
}

std::optional<int> Launch::lockDataFolder(const QString& dataPath)
{
    lock_ = std::make_unique<QLockFile>(QDir(dataPath).filePath(QStringLiteral("varnolix.lock")));
    // Only a lock whose process has gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock())
        return std::nullopt;
    if (lock_->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString program;
        const QString holder = lock_->getLockInfo(&pid, &host, &program)
            ? QStringLiteral("Another Varnolix (process %1 on %2)").arg(pid).arg(host)
            : QStringLiteral("Another Varnolix");
        report(QStringLiteral("%1 is running on the data folder %2.\nTwo at once would overwrite each other's files, "
                              "so this one ends. Use the one that is running, or end it first; a second layout "
                              "needs a data folder of its own (--data).")
                   .arg(holder, QDir::toNativeSeparators(dataPath)));
        return 1;
    }
    // A folder where no lock can be made (read-only beside the program): the
    // run goes on unguarded, as it always could.
    lock_.reset();
    return std::nullopt;
}

std::optional<int> Launch::startDemo()
{
    demo_ = std::make_unique<Demo>();
    QString error;
    if (!demo_->start(places_.programFolder + QStringLiteral("/demo/text"), places_.shippedData, &error)) {
        report(error);
        return 1;
    }
    places_.kind = DataPlaces::Kind::Named;
    places_.dataFolder = demo_->dataFolder();
    // Read where the serial ports and the board are chosen.
    qputenv("VARNOLIX_PORT_5", demo_->boxDevice().toLocal8Bit());
    qputenv("VARNOLIX_SIMULATED_BOARD", "1");
    print(stdout, QStringLiteral("Varnolix demo: data in %1 (removed at the end), simulated DCC box on %2 as "
                                 "port 5, simulated K8055 board as card 0.\n")
                      .arg(QDir::toNativeSeparators(places_.dataFolder), demo_->boxDevice()));
    return std::nullopt;
}

std::optional<int> Launch::fillDataFolder(const QString& installedShare)
{
    if (places_.kind == DataPlaces::Kind::BesideProgram)
        return std::nullopt; // used as it is, as always
    if (!QDir().mkpath(places_.dataFolder)) {
        report(QStringLiteral("Varnolix cannot create its data folder %1.\nCheck that you may write there, "
                              "or name another folder with --data.")
                   .arg(QDir::toNativeSeparators(places_.dataFolder)));
        return 1;
    }
    const QStringList failures = places_.shippedData.isEmpty()
        ? QStringList{QStringLiteral("The shipped data (pictures, help, function names) were not found "
                                     "beside the program or in %1: reinstall Varnolix.")
                          .arg(QDir::toNativeSeparators(installedShare))}
        : fillMissingFiles(places_.shippedData, places_.dataFolder);
    if (!failures.isEmpty())
        report(QStringLiteral("Varnolix could not fill its data folder %1:\n%2\nIt goes on with what is there.")
                   .arg(QDir::toNativeSeparators(places_.dataFolder), failures.join(QLatin1Char('\n'))));
    return std::nullopt;
}

void Launch::announceRunning() const
{
    print(stdout, QStringLiteral("Varnolix %1 running; data folder %2\n")
                      .arg(QCoreApplication::applicationVersion(), QDir::toNativeSeparators(folder_->dataPath())));
}
