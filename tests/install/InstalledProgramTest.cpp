// The installed program as a user meets it: `cmake --install` with DESTDIR
// into a temporary folder, then the installed executable started headless
// with a HOME of its own, ended by SIGTERM once it says it is running.
#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int EventTimeoutMs = 60000; // a guard against a hang, never a wait

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below a folder, relative to it, hidden ones too.
QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Size and time of every file, to see that a run changed nothing.
QMap<QString, QString> snapshot(const QString& folder)
{
    QMap<QString, QString> state;
    for (const QString& file : filesBelow(folder)) {
        const QFileInfo info(folder + QLatin1Char('/') + file);
        state[file] = QString::number(info.size()) + QLatin1Char(' ')
            + info.lastModified().toString(Qt::ISODateWithMs);
    }
    return state;
}

class InstalledProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QTemporaryDir* dir : {&root, &home, &work, &temp, &runtime, &cache})
            ASSERT_TRUE(dir->isValid());
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), root.path());
        install.setProcessEnvironment(env);
        install.start(QStringLiteral(VARNOLIX_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(VARNOLIX_BINARY_DIR)});
        ASSERT_TRUE(install.waitForFinished(EventTimeoutMs));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    }

    QString prefix() const { return root.path() + QStringLiteral(VARNOLIX_INSTALL_PREFIX); }
    QString shippedData() const { return prefix() + QStringLiteral("/share/varnolix/data"); }
    QString userData() const { return home.path() + QStringLiteral("/.local/share/varnolix/data"); }

    // Offscreen, or with no display at all.
    std::unique_ptr<QProcess> start(const QStringList& arguments, bool display = true)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& key : env.keys())
            if (key.startsWith(QLatin1String("XDG_")) || key.startsWith(QLatin1String("VARNOLIX_")))
                env.remove(key);
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path()); // font caches are not the program's
        env.insert(QStringLiteral("VARNOLIX_SIMULATED_BOARD"), QStringLiteral("1"));
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (display)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(work.path());
        process->start(prefix() + QStringLiteral("/bin/varnolix"), arguments);
        EXPECT_TRUE(process->waitForStarted(EventTimeoutMs));
        return process;
    }

    // Reads standard output until `piece` shows or the program ends.
    bool waitForOutput(QProcess& process, const QString& piece)
    {
        while (!output.contains(piece)) {
            if (!process.waitForReadyRead(EventTimeoutMs))
                return output.contains(piece);
            output += QString::fromLocal8Bit(process.readAllStandardOutput());
        }
        return true;
    }

    // Ends the run as the system does (SIGTERM); the program's exit code.
    int terminate(QProcess& process)
    {
        process.terminate();
        return finish(process);
    }

    int finish(QProcess& process)
    {
        EXPECT_TRUE(process.waitForFinished(EventTimeoutMs));
        output += QString::fromLocal8Bit(process.readAllStandardOutput());
        errors += QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    void expectOnlyTheUsersFolderWritten(const QMap<QString, QString>& installed)
    {
        EXPECT_EQ(snapshot(root.path()), installed) << "the installed files changed";
        EXPECT_EQ(filesBelow(work.path()), QStringList()) << "written in the working folder";
        for (const QString& file : filesBelow(home.path()))
            EXPECT_TRUE(file.startsWith(QLatin1String(".local/share/varnolix/data/"))) << file.toStdString();
    }

    QTemporaryDir root, home, work, temp, runtime, cache;
    QString output, errors;
};

TEST_F(InstalledProgram, PutsEachFileWhereTheSystemLooksForIt)
{
    const QString udev = QStringLiteral(VARNOLIX_UDEV_RULES_DIR);
    const QString rule = (QDir::isAbsolutePath(udev) ? root.path() + udev : prefix() + QLatin1Char('/') + udev)
        + QStringLiteral("/60-varnolix-k8055.rules");
    EXPECT_EQ(readFile(rule), readFile(QStringLiteral(VARNOLIX_SOURCE_DIR "/data/udev/60-varnolix-k8055.rules")));
    for (const char* program : {"bin/varnolix", "bin/varnolix-dccbox", "bin/varnolix-k8055-guard"})
        EXPECT_TRUE(QFileInfo(prefix() + QLatin1Char('/') + QLatin1String(program)).isExecutable()) << program;
    for (const char* file : {"share/varnolix/data/Layouts/Millbrook Junction.bmp", "share/varnolix/data/VM110/KnobFwd0.bmp",
                             "share/varnolix/data/text/varnohelp.rtf", "share/varnolix/data/text/function.txt",
                             "share/varnolix/telephone.wav", "share/varnolix/demo/text/version.txt",
                             "share/varnolix/demo/text/layout.txt", "share/applications/varnolix.desktop",
                             "share/icons/hicolor/scalable/apps/varnolix.svg",
                             "share/icons/hicolor/48x48/apps/varnolix.png", "share/doc/varnolix/README.md",
                             "share/doc/varnolix/copyright", VARNOLIX_INSTALLED_SOUND_MODULE,
                             VARNOLIX_INSTALLED_DCC_LINK_MODULE})
        EXPECT_TRUE(QFileInfo(prefix() + QLatin1Char('/') + QLatin1String(file)).isFile()) << file;
    // The shipped data carry no settings: a new user is asked, as in a new build folder.
    EXPECT_FALSE(QFileInfo::exists(shippedData() + QStringLiteral("/text/version.txt")));
    EXPECT_FALSE(QFileInfo::exists(shippedData() + QStringLiteral("/udev")));
}

TEST_F(InstalledProgram, HelpAndVersionAnswerWithoutADisplay)
{
    auto version = start({QStringLiteral("--version")}, false);
    EXPECT_EQ(finish(*version), 0) << errors.toStdString();
    EXPECT_EQ(output, QStringLiteral("Varnolix " VARNOLIX_VERSION "\n"));
    output.clear();
    auto help = start({QStringLiteral("--help")}, false);
    EXPECT_EQ(finish(*help), 0) << errors.toStdString();
    EXPECT_TRUE(output.startsWith(QLatin1String("Usage: ")) && output.contains(QLatin1String("--data <DIR>")))
        << output.toStdString();
    EXPECT_EQ(filesBelow(home.path()), QStringList());
}

TEST_F(InstalledProgram, MakesTheUsersDataFolderAndKeepsTheirFiles)
{
    const QMap<QString, QString> installed = snapshot(root.path());

    // First start: nobody has named a layout yet, so the unattended start
    // ends at that question, with the data folder made and filled.
    auto first = start({QStringLiteral("--unattended")});
    EXPECT_EQ(finish(*first), 0) << errors.toStdString();
    EXPECT_FALSE(output.contains(QLatin1String("running"))) << output.toStdString();
    for (const QString& file : filesBelow(shippedData()))
        EXPECT_EQ(readFile(userData() + QLatin1Char('/') + file), readFile(shippedData() + QLatin1Char('/') + file))
            << file.toStdString();
    EXPECT_TRUE(readFile(userData() + QStringLiteral("/text/version.txt")).contains("DCC + DC"));
    expectOnlyTheUsersFolderWritten(installed);

    // The user names the layout and renames a function; a picture is lost.
    QFile::remove(userData() + QStringLiteral("/text/layout.txt"));
    QFile layout(userData() + QStringLiteral("/text/layout.txt"));
    ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
    layout.write(readFile(prefix() + QStringLiteral("/share/varnolix/demo/text/layout.txt")));
    layout.close();
    QFile names(userData() + QStringLiteral("/text/function.txt"));
    ASSERT_TRUE(names.open(QIODevice::WriteOnly | QIODevice::Append));
    names.write("\"F9   OFF my whistle\",0\r\n");
    names.close();
    const QByteArray myNames = readFile(names.fileName());
    ASSERT_TRUE(QFile::remove(userData() + QStringLiteral("/VM110/KnobFwd3.bmp")));

    // Second start: up to the main window with the shipped layout, then SIGTERM.
    output.clear();
    auto second = start({QStringLiteral("--unattended")});
    ASSERT_TRUE(waitForOutput(*second, QStringLiteral("running; data folder ") + userData()))
        << output.toStdString() << errors.toStdString();
    EXPECT_EQ(terminate(*second), 0) << errors.toStdString();
    EXPECT_EQ(readFile(names.fileName()), myNames);
    EXPECT_EQ(readFile(userData() + QStringLiteral("/VM110/KnobFwd3.bmp")),
              readFile(shippedData() + QStringLiteral("/VM110/KnobFwd3.bmp")));
    EXPECT_TRUE(readFile(userData() + QStringLiteral("/text/layout.txt")).contains("Millbrook Junction"));
    expectOnlyTheUsersFolderWritten(installed);
}

TEST_F(InstalledProgram, ANamedDataFolderTakesThePlaceOfTheUsersOne)
{
    const QString mine = work.path() + QStringLiteral("/rail");
    auto run = start({QStringLiteral("--data"), QStringLiteral("rail"), QStringLiteral("--unattended")});
    EXPECT_EQ(finish(*run), 0) << errors.toStdString();
    EXPECT_EQ(readFile(mine + QStringLiteral("/text/varnohelp.rtf")),
              readFile(shippedData() + QStringLiteral("/text/varnohelp.rtf")));
    EXPECT_TRUE(QFileInfo::exists(mine + QStringLiteral("/text/version.txt")));
    EXPECT_EQ(filesBelow(home.path()), QStringList());
}

TEST_F(InstalledProgram, TheDemoNeedsNoHardwareAndLeavesNothingBehind)
{
    auto demo = start({QStringLiteral("--demo"), QStringLiteral("--unattended")});
    ASSERT_TRUE(waitForOutput(*demo, QStringLiteral("running; data folder ") + temp.path()))
        << output.toStdString() << errors.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("dccbox  <- F0 F0"))) << output.toStdString();
    EXPECT_EQ(filesBelow(temp.path()).filter(QStringLiteral("data/text/loco.txt")).size(), 1)
        << "the demo's settings are in its own folder";
    EXPECT_EQ(terminate(*demo), 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QLatin1String("DCC box connected on Port 5"))) << errors.toStdString();
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    EXPECT_EQ(filesBelow(home.path()), QStringList());
}

} // namespace
