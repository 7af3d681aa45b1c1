// The K8055 guardian: its protocol line by line, and the board behind the
// real guardian program - calls reach it, and every output goes off when the
// connection ends or falls silent.
#include "BoardFixture.h"
#include "GuardProtocol.h"
#include "GuardedK8055.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace {

using namespace k8055_guard;

TEST(GuardProtocol, CallsAndAnswersAreOneLineEach)
{
    EXPECT_EQ(command("WriteAllDigital", {6}), QByteArray("WriteAllDigital 6\n"));
    EXPECT_EQ(command("OutputAnalogChannel", {2, 90}), QByteArray("OutputAnalogChannel 2 90\n"));
    EXPECT_EQ(command("ClearAllAnalog"), QByteArray("ClearAllAnalog\n"));
    const struct {
        Reply reply;
        QByteArray line;
    } answers[] = {
        {{{0}, {}}, "= 0\t\n"},
        {{{10, 200}, {}}, "= 10 200\t\n"},
        {{{-1}, QStringLiteral("no K8055\tat card 3\nhere")}, "= -1\tno K8055 at card 3 here\n"},
    };
    for (const auto& a : answers) {
        EXPECT_EQ(replyLine(a.reply), a.line);
        const std::optional<Reply> back = parseReply(a.line);
        ASSERT_TRUE(back.has_value()) << a.line.constData();
        EXPECT_EQ(back->numbers, a.reply.numbers);
    }
    for (const char* garbled : {"", "0\t", "= 1 x\t", "= 5"})
        EXPECT_FALSE(parseReply(QByteArray(garbled)).has_value()) << garbled;
}

TEST(GuardProtocol, TheServerTurnsLinesIntoBoardCalls)
{
    SimulatedK8055 sim;
    Server server(sim.board);
    const struct {
        const char* line;
        const char* answer;
        k8055::OutputState outputs;
    } steps[] = {
        {"OpenDevice 0", "= 0\t\n", {}},
        {"WriteAllDigital 6", "", {6, 0, 0}},
        {"OutputAnalogChannel 1 90", "", {6, 90, 0}},
        {"SetDigitalChannel 8", "", {134, 90, 0}},
        {"ReadAllDigital", "= 0\t\n", {134, 90, 0}},
        {"ReadAllAnalog", "= 0 0\t\n", {134, 90, 0}},
        {"no such call 5", "", {134, 90, 0}},
        {"SetAllAnalog", "", {134, 255, 255}},
        {"OpenDevice 2", "= -1\tno K8055 at card address 2", {}}, // card 0 let go, all off
    };
    for (const auto& s : steps) {
        const QByteArray answer = server.handle(QByteArray(s.line));
        EXPECT_TRUE(answer.startsWith(s.answer)) << s.line << " answered " << answer.constData();
        EXPECT_EQ(sim.device.outputs(), s.outputs) << s.line;
    }
    ASSERT_EQ(sim.board.OpenDevice(0), 0);
    sim.board.WriteAllDigital(7);
    sim.board.OutputAnalogChannel(2, 30);
    server.allOff();
    EXPECT_EQ(sim.device.outputs(), k8055::OutputState{});
}

TEST(GuardProtocol, AfterASilenceTheBoardCountsAsLostUntilOpenedAgain)
{
    SimulatedK8055 sim;
    Server server(sim.board);
    server.handle("OpenDevice 0");
    server.handle("OutputAnalogChannel 1 90");
    server.silence(QStringLiteral("quiet"));
    EXPECT_EQ(sim.device.outputs(), k8055::OutputState{});
    EXPECT_EQ(server.handle("WriteAllDigital 6"), QByteArray());
    EXPECT_EQ(server.handle("ReadAllAnalog"), QByteArray("= 0 0\tquiet\n"));
    EXPECT_EQ(sim.device.outputs(), k8055::OutputState{}) << "nothing reaches a lost board";
    EXPECT_EQ(server.handle("OpenDevice 0"), QByteArray("= 0\t\n"));
    server.handle("WriteAllDigital 6");
    EXPECT_EQ(sim.device.outputs().digital, 6);
}

// The real guardian program with a simulated board, telling its log file
// what happens to the board.
class Guardian : public ::testing::Test {
protected:
    std::unique_ptr<GuardedK8055> startGuardian(int watchMs)
    {
        return std::make_unique<GuardedK8055>(
            QStringLiteral(VARNOLIX_GUARD_PROGRAM),
            QStringList{QStringLiteral("--simulated"), QStringLiteral("--watch-ms"), QString::number(watchMs),
                        QStringLiteral("--log"), logPath()});
    }
    QString logPath() const { return dir.filePath(QStringLiteral("guard.log")); }
    QByteArray log() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The guardian works on its own: wait for its words, at most a generous while.
    bool logShows(const QByteArray& words) const
    {
        const QDeadlineTimer deadline(20000);
        while (!log().contains(words) && !deadline.hasExpired())
            QThread::msleep(10);
        return log().contains(words);
    }
    // The lines after the last "outputs" or "analog" line of each kind say the board's last state.
    static bool everyOutputOff(const QByteArray& log)
    {
        const qsizetype digital = log.lastIndexOf("outputs ");
        return (digital < 0 || log.mid(digital).startsWith("outputs 00000000"))
            && (!log.contains("analog 1: ") || log.mid(log.lastIndexOf("analog 1: ")).startsWith("analog 1: 0\n"))
            && (!log.contains("analog 2: ") || log.mid(log.lastIndexOf("analog 2: ")).startsWith("analog 2: 0\n"));
    }

    QTemporaryDir dir;
};

TEST_F(Guardian, CallsReachTheBoardAndAnswersComeBack)
{
    const auto board = startGuardian(60000);
    ASSERT_EQ(board->OpenDevice(0), 0) << board->fault().toStdString();
    board->WriteAllDigital(6);
    board->OutputAnalogChannel(1, 90);
    int a1 = -1;
    int a2 = -1;
    board->ReadAllAnalog(&a1, &a2); // answered after everything sent before
    EXPECT_EQ(a1, 0);
    EXPECT_TRUE(board->fault().isEmpty());
    EXPECT_TRUE(log().contains("outputs 00000110: coil 3 select"));
    EXPECT_TRUE(log().contains("analog 1: 90"));
    EXPECT_EQ(board->OpenDevice(3), -1);
    EXPECT_TRUE(board->fault().contains(QStringLiteral("card address 3")));
}

TEST_F(Guardian, EveryOutputGoesOffWhenTheConnectionEndsOrFallsSilent)
{
    const struct {
        const char* how;
        int watchMs;
        const char* words;
    } cases[] = {
        {"connection ended", 60000, "Varnolix has gone: every output off"},
        {"silent", 500, "no word from Varnolix for 500 ms: every output off"},
    };
    for (const auto& c : cases) {
        QFile::remove(logPath());
        auto board = startGuardian(c.watchMs);
        ASSERT_EQ(board->OpenDevice(0), 0);
        board->WriteAllDigital(7);
        board->OutputAnalogChannel(2, 150);
        board->ReadAllDigital();
        ASSERT_FALSE(everyOutputOff(log())) << c.how;
        if (c.watchMs == 60000)
            board.reset(); // closes the connection as a killed Varnolix does
        EXPECT_TRUE(logShows(c.words)) << c.how << ":\n" << log().constData();
        EXPECT_TRUE(everyOutputOff(log())) << c.how << ":\n" << log().constData();
        if (board) {
            board->ReadAllDigital();
            EXPECT_TRUE(board->fault().contains(QStringLiteral("no word from Varnolix"))) << "Varnolix learns of it";
        }
    }
}

TEST_F(Guardian, AMissingGuardianSaysWhyAndOneThatWentIsStartedAgainByTheNextOpen)
{
    GuardedK8055 missing(QStringLiteral("/nonexistent/varnolix-k8055-guard"), {});
    EXPECT_EQ(missing.OpenDevice(0), -1);
    EXPECT_TRUE(missing.fault().contains(QStringLiteral("/nonexistent/varnolix-k8055-guard")));
    missing.WriteAllDigital(6); // nothing to write to, and no crash

    const auto board = startGuardian(60000);
    ASSERT_EQ(board->OpenDevice(0), 0);
    board->WriteAllDigital(6);
    board->ReadAllDigital();
    const pid_t first = board->guardianPid();
    ::kill(first, SIGKILL);
    EXPECT_EQ(board->ReadAllDigital(), 0);
    EXPECT_TRUE(board->fault().contains(QStringLiteral("has ended")));
    ASSERT_EQ(board->OpenDevice(0), 0) << board->fault().toStdString();
    EXPECT_NE(board->guardianPid(), first);
    EXPECT_TRUE(board->fault().isEmpty());
    EXPECT_EQ(log().count("card 0 opened"), 2) << "opening writes every output off (see Driver):\n" << log().constData();
}

TEST_F(Guardian, RunsInASessionOfItsOwnAndOneThatStoppedAnsweringIsEndedBeforeTheNext)
{
    const auto board = startGuardian(60000);
    ASSERT_EQ(board->OpenDevice(0), 0);
    const pid_t first = board->guardianPid();
    EXPECT_EQ(::getsid(first), first) << "out of reach of the terminal's job control";
    EXPECT_NE(::getpgid(first), ::getpgrp());
    // Ctrl+Z sent to it all the same changes nothing.
    ::kill(first, SIGTSTP);
    board->WriteAllDigital(6);
    board->ReadAllDigital();
    EXPECT_TRUE(board->fault().isEmpty()) << board->fault().toStdString();
    EXPECT_TRUE(log().contains("outputs 00000110")) << log().constData();

    // One that stops answering is killed and reaped before a new one starts.
    board->setAnswerTimeout(100);
    ::kill(first, SIGSTOP);
    board->ReadAllDigital();
    EXPECT_TRUE(board->fault().contains(QStringLiteral("stopped answering"))) << board->fault().toStdString();
    ASSERT_EQ(board->OpenDevice(0), 0) << board->fault().toStdString();
    EXPECT_NE(board->guardianPid(), first);
    errno = 0;
    EXPECT_EQ(::kill(first, 0), -1) << "the stopped guardian is gone";
    EXPECT_EQ(errno, ESRCH) << "and reaped";
}

} // namespace
