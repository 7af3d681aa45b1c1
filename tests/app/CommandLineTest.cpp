#include "CommandLine.h"
#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

using Action = CommandLine::Action;

struct Case {
    QStringList arguments; // after the program's name
    Action action;
    const char* textHas;   // a piece of the printed text
    QString dataFolder;
    bool demo;
    bool unattended;
};

class Options : public ::testing::TestWithParam<Case> {};

TEST_P(Options, AreReadAsTheUserMeansThem)
{
    const Case& c = GetParam();
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
        Case{{}, Action::Run, "", {}, false, false},
        Case{args({"--version"}), Action::Print, "Varnolix 1.2.3\n", {}, false, false},
        Case{args({"-v"}), Action::Print, "Varnolix 1.2.3\n", {}, false, false},
        Case{args({"--help"}), Action::Print, "--demo", {}, false, false},
        Case{args({"--help-all"}), Action::Print, "--data <DIR>", {}, false, false},
        Case{args({"--data", "/srv/rail/"}), Action::Run, "", QStringLiteral("/srv/rail"), false, false},
        Case{args({"--data=rail"}), Action::Run, "", QDir::current().absoluteFilePath(QStringLiteral("rail")),
             false, false},
        Case{args({"--demo", "--unattended"}), Action::Run, "", {}, true, true},
        Case{args({"--data"}), Action::Fail, "data", {}, false, false},
        Case{args({"--demo", "--data", "/x"}), Action::Fail, "leave out --data", {}, true, false},
        Case{args({"--fast"}), Action::Fail, "fast", {}, false, false},
        Case{args({"layout.bmp"}), Action::Fail, "\"layout.bmp\"", {}, false, false}));

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

} // namespace
