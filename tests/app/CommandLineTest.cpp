#include "CommandLine.h"
#include "FakeDialogs.h"
#include "Launch.h"
#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using Action = CommandLine::Action;

struct OptionCase {
    QStringList arguments; // after the program's name
    Action action;
    const char* textHas;   // a piece of the printed text
    QString dataFolder;
    bool demo;
    bool unattended;
};

class Options : public ::testing::TestWithParam<OptionCase> {};

TEST_P(Options, AreReadAsTheUserMeansThem)
{
    const OptionCase& c = GetParam();
    const CommandLine line = CommandLine::parse(QStringList{QStringLiteral("varnolix")} + c.arguments, QStringLiteral("1.2.3"));
    EXPECT_EQ(line.action, c.action);
    EXPECT_TRUE(line.text.contains(QString::fromUtf8(c.textHas))) << line.text.toStdString();
    EXPECT_EQ(line.dataFolder, c.dataFolder);
    EXPECT_EQ(line.demo, c.demo);
    EXPECT_EQ(line.unattended, c.unattended);
}

QStringList args(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* a : list)
        out << QString::fromUtf8(a);
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Options,
    ::testing::Values(
        OptionCase{{}, Action::Run, "", {}, false, false},
        OptionCase{args({"--version"}), Action::Print, "Varnolix 1.2.3\n", {}, false, false},
        OptionCase{args({"-v"}), Action::Print, "Varnolix 1.2.3\n", {}, false, false},
        OptionCase{args({"--help"}), Action::Print, "--demo", {}, false, false},
        OptionCase{args({"--help-all"}), Action::Print, "--data <DIR>", {}, false, false},
        OptionCase{args({"--data", "/srv/rail/"}), Action::Run, "", QStringLiteral("/srv/rail"), false, false},
        OptionCase{args({"--data=rail"}), Action::Run, "", QDir::current().absoluteFilePath(QStringLiteral("rail")),
             false, false},
        OptionCase{args({"--demo", "--unattended"}), Action::Run, "", {}, true, true},
        OptionCase{args({"--data"}), Action::Fail, "data", {}, false, false},
        OptionCase{args({"--demo", "--data", "/x"}), Action::Fail, "leave out --data", {}, true, false},
        OptionCase{args({"--fast"}), Action::Fail, "fast", {}, false, false},
        OptionCase{args({"layout.bmp"}), Action::Fail, "\"layout.bmp\"", {}, false, false}));

TEST(CommandLineInterface, AsksForTheInterfaceDialogFirst)
{
    const auto parse = [](QStringList arguments) {
        return CommandLine::parse(QStringList{QStringLiteral("varnolix")} + arguments, QStringLiteral("1.2.3"));
    };
    EXPECT_TRUE(parse(args({"--interface"})).chooseInterface);
    EXPECT_FALSE(parse({}).chooseInterface);
    EXPECT_TRUE(parse(args({"--help"})).text.contains(QStringLiteral("--interface")));
}

TEST(CommandLinePhones, SwitchesThePhoneServerOnWithOrWithoutAPort)
{
    const auto parse = [](QStringList arguments) {
        return CommandLine::parse(QStringList{QStringLiteral("varnolix")} + arguments, QStringLiteral("1.2.3"));
    };
    struct PhoneCase {
        const char* argument;
        bool on;
        int port;
        const char* fails; // empty: runs
    };
    const PhoneCase cases[] = {
        {"--withrottle", true, 0, ""},         {"--withrottle=12091", true, 12091, ""},
        {"--withrottle=0", false, 0, "1 to 65535"}, {"--withrottle=70000", false, 0, "1 to 65535"},
        {"--withrottle=x", false, 0, "\"x\""},
    };
    for (const PhoneCase& c : cases) {
        SCOPED_TRACE(c.argument);
        const CommandLine line = parse(args({c.argument}));
        EXPECT_EQ(line.phones, c.on);
        EXPECT_EQ(line.phonePort, c.port);
        EXPECT_EQ(line.action == CommandLine::Action::Fail, *c.fails != 0);
        EXPECT_TRUE(line.text.contains(QString::fromUtf8(c.fails))) << line.text.toStdString();
    }
    EXPECT_FALSE(parse({}).phones);
    EXPECT_TRUE(parse(args({"--help"})).text.contains(QStringLiteral("--withrottle")));
}

// One Varnolix per data folder: a second start on it ends at once and says
// which process holds the folder; a lock left by a process that has gone
// does not keep anybody out.
TEST(DataFolderLock, ASecondStartOnTheSameFolderEndsAndNamesTheHolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath(QStringLiteral("data"));
    const QStringList arguments{QStringLiteral("varnolix"), QStringLiteral("--unattended"), QStringLiteral("--data"), data};
    FakeDialogs shown;
    auto first = std::make_unique<Launch>(shown);
    ASSERT_EQ(first->prepare(arguments), std::nullopt);

    Launch second(shown);
    testing::internal::CaptureStderr();
    EXPECT_EQ(second.prepare(arguments), std::optional<int>(1));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("process " + std::to_string(QCoreApplication::applicationPid())), std::string::npos) << said;
    EXPECT_NE(said.find(QDir::toNativeSeparators(data).toStdString()), std::string::npos) << said;
    EXPECT_TRUE(shown.shown.empty()) << "unattended: standard error only";

    first.reset();
    EXPECT_EQ(Launch(shown).prepare(arguments), std::nullopt) << "free again once the first has ended";

    // A lock whose process has gone, however fresh.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    QFile stale(QDir(data).filePath(QStringLiteral("varnolix.lock")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(gone) + '\n' + QCoreApplication::applicationName().toUtf8() + "\n\n");
    stale.close();
    EXPECT_EQ(Launch(shown).prepare(arguments), std::nullopt) << "a stale lock is taken over";
}

} // namespace
