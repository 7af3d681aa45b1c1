// What the box says, heard through the whole path: a real pseudo-terminal
// (or a local TCP socket) to the simulated DCC box, the link, the DCC
// module's state and the words of the status line.
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "HearUntil.h"
#include "FakeWindowHost.h"
#include "QtDccLink.h"
#include "SR.h"
#include "TestFolder.h"

#include "dccbox/BoxReplies.h"
#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <functional>

namespace {

using namespace std::chrono_literals;

class ListenPath : public ::testing::Test {
protected:
    void startBox(dccbox::Options options = {})
    {
        options.linkPath = dir.path().toStdString() + "/box.tty";
        box = std::make_unique<dccbox::SimulatedBox>(options);
        std::string error;
        ASSERT_TRUE(box->start(&error)) << error;
        if (!link)
            startProgram();
    }

    void startProgram()
    {
        sr.reset();
        dcc.reset();
        // Port 5 is the box's stable name, as a by-id link would be: it outlives one box.
        link = std::make_unique<QtDccLink>(PortMap({{5, dir.path() + QStringLiteral("/box.tty")}}));
        dcc = std::make_unique<DCC>(shared, *link, clock, dialogs, dir.folder());
        sr = std::make_unique<SR>(shared, dialogs, clock, dir.folder(), *dcc, windows);
    }

    void connect(InterfaceSettings settings = {})
    {
        shared.ControlSystem = QStringLiteral("DCC");
        shared.PortNumber = 5;
        dcc->Interface = settings;
        dcc->ConnectDccBox();
        ASSERT_TRUE(dcc->Online());
        dialogs.shown.clear();
    }

    bool until(const std::function<bool()>& done) { return hearUntil(*link, done); }
    // Every answer heard before the box is made silent: a late answer would
    // leave an older frame owed, and its timeout would not count as a miss.
    void settle() { ASSERT_TRUE(until([&] { return !dcc->AwaitingAnswers(); })); }

    QString status()
    {
        sr->BuildStatusText();
        return sr->ShowStatusCaption().title;
    }

    void sendSpeed()
    {
        shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
        dcc->SendFrame();
    }

    TestFolder dir;
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeWindowHost windows;
    std::unique_ptr<dccbox::SimulatedBox> box;
    std::unique_ptr<QtDccLink> link;
    std::unique_ptr<DCC> dcc;
    std::unique_ptr<SR> sr;
};

TEST_F(ListenPath, TheCommandStationsBroadcastsAreTheStatusLinesWords)
{
    startBox();
    connect();
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem ON")));
    const struct {
        dccbox::Frame frame;
        const char* tail;
    } rows[] = {{dccbox::trackPowerOff, "  modem ON  TRACK POWER OFF"},
                {dccbox::emergencyStop, "  modem ON  EMERGENCY STOP"},
                {dccbox::serviceMode, "  modem ON  SERVICE MODE"},
                {dccbox::normalOperation, "  modem ON"}};
    for (const auto& row : rows) {
        ASSERT_TRUE(box->send(row.frame));
        EXPECT_TRUE(until([&] { return status().endsWith(QString::fromLatin1(row.tail)); }))
            << row.tail << " / " << status().toStdString();
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ListenPath, TheToolbarCommandsReachTheBoxAndTheStatusFollowsItsBroadcast)
{
    startBox();
    connect();
    dcc->EmergencyStop();
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  EMERGENCY STOP")); })) << status().toStdString();
    dcc->TrackPowerOff();
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  TRACK POWER OFF")); })) << status().toStdString();
    dcc->ResumeOperation();
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON")); })) << status().toStdString();
    const auto frames = box->frames();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[3], (dccbox::Frame{0x80, 0x80}));
    EXPECT_EQ(frames[4], (dccbox::Frame{0x21, 0x80, 0xA1}));
    EXPECT_EQ(frames[5], (dccbox::Frame{0x21, 0x81, 0xA0}));
}

TEST_F(ListenPath, AFrameTheInterfaceCouldNotPassOnIsSentOnceMore)
{
    startBox();
    connect();
    box->failNext(1);
    sendSpeed();
    ASSERT_TRUE(until([&] { return box->frames().size() >= 5; })) << "the frame and its one retry";
    EXPECT_EQ(box->frames()[4], box->frames()[3]);
    EXPECT_TRUE(until([&] { return !dcc->linkState().notPassedOn && !QByteArray(status().toUtf8()).contains("passed"); }));

    box->failNext(2);
    sendSpeed();
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  last command not passed on")); }))
        << status().toStdString();
    EXPECT_EQ(box->frames().size(), 7u) << "one retry only";
    sendSpeed();
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON")); })) << status().toStdString();
}

TEST_F(ListenPath, ASilentBoxIsNoticedAfterTwoFramesAndForgottenWhenItAnswersAgain)
{
    startBox();
    connect();
    settle();
    box->setSilent(true);
    sendSpeed();
    ASSERT_TRUE(box->waitForFrames(4, 5s));
    clock.advance(0.6);
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem ON"))) << "one frame unanswered is not yet silence";
    sendSpeed();
    ASSERT_TRUE(box->waitForFrames(5, 5s));
    clock.advance(0.6);
    EXPECT_TRUE(status().endsWith(QStringLiteral("  DCC box not answering"))) << status().toStdString();

    // Back: the next sign-of-life query is answered, without any click.
    box->setSilent(false);
    clock.advance(1.0);
    ASSERT_TRUE(box->waitForFrames(6, 5s));
    EXPECT_EQ(box->frames()[5], (dccbox::Frame{0xF0, 0xF0}));
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON")); })) << status().toStdString();
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ListenPath, ALostTimeSlotAndATakeOverAreHeard)
{
    startBox();
    connect();
    ASSERT_TRUE(box->loseTimeSlot());
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON  command station not answering")); }))
        << status().toStdString();
    ASSERT_TRUE(box->restoreTimeSlot());
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON")); })) << status().toStdString();
    ASSERT_TRUE(box->takeOver(1234));
    EXPECT_TRUE(until([&] { return dcc->linkState().takenOver == 1234; }));
}

TEST_F(ListenPath, TheLinkComesBackByItselfWhenTheDeviceReappears)
{
    startBox();
    connect();
    box->stop(); // the far side closes, as when the cable is pulled
    ASSERT_TRUE(until([&] { return shared.PortNumber == 0; }));
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem OFF")));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("reconnects by itself")));

    clock.advance(1.0); // looked for, not there yet
    EXPECT_EQ(shared.PortNumber, 0);
    box.reset();
    startBox(); // the same stable name, a new device behind it
    clock.advance(1.0);
    EXPECT_TRUE(until([&] { return shared.PortNumber == 5; }));
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem ON"))) << status().toStdString();
    EXPECT_EQ(box->frames().at(0), (dccbox::Frame{0xF0, 0xF0})) << "the detection ran again";
    EXPECT_EQ(dialogs.shown.size(), 1u) << "no dialog on the way back";
    EXPECT_TRUE(until([&] { return clock.activeTimers() == 0; })) << "nothing is looked for any more";
    sendSpeed();
    ASSERT_TRUE(box->waitForFrames(4, 5s));
}

TEST_F(ListenPath, ADoubleHeaderIsTickedOnlyWhenTheCommandStationAcceptsIt)
{
    startBox();
    dir.write(QStringLiteral("data/text/loco.txt"), "\"0003\",\"A3\"\r\n\"1234\",\"B1234\"\r\n\"0005\",\"C5\"\r\n");
    shared.LocoFilePath = dir.path() + QStringLiteral("/data/text/loco.txt");
    const auto session = [&] {
        connect();
        ASSERT_TRUE(dcc->roster.ReadLocoFile()); // A3, B1234, C5
    };
    session();
    ASSERT_TRUE(dcc->SelectTrainEngine(0));
    EXPECT_EQ(dcc->SelectPilot(1), DCC::PilotChoice::Coupled);
    EXPECT_TRUE(dcc->PilotPending) << "not ticked before the box has answered";
    EXPECT_TRUE(until([&] { return !dcc->PilotPending; }));
    EXPECT_EQ(dcc->PilotIndex, 1);

    // The program starts again; the command station still holds A3 + B1234.
    startProgram();
    session();
    ASSERT_TRUE(dcc->SelectTrainEngine(2));
    dcc->SelectPilot(1);
    EXPECT_TRUE(until([&] { return !dcc->PilotPending; }));
    EXPECT_EQ(dcc->PilotIndex, DCC::NoPilot);
    EXPECT_EQ((std::pair{dcc->PilotAddrHigh, dcc->PilotAddrLow}), (std::pair<std::uint8_t, std::uint8_t>{0, 0}));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{QStringLiteral("C5 and B1234 were not coupled: a loco is already in another double header.")});
}

TEST_F(ListenPath, StopsWaitForTheBoxAndGoFirstOtherCommandsAreRefusedWithAWord)
{
    const dccbox::Frame stop{0xE4, 0x12, 0x00, 0x03, 0x80, 0x75};
    const auto keepStopRefuseGo = [&] {
        shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x80, 0x75, 0};
        EXPECT_TRUE(dcc->SendFrame());
        shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
        EXPECT_FALSE(dcc->SendFrame());
    };
    startBox();
    connect();

    // The pty's far side closes and opens again.
    box->stop();
    ASSERT_TRUE(until([&] { return dcc->Reconnecting(); }));
    dcc->EmergencyStop();
    keepStopRefuseGo();
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem OFF  STOP NOT SENT  not sent: DCC box lost"))) << status().toStdString();
    box.reset();
    startBox();
    clock.advance(1.0);
    ASSERT_TRUE(until([&] { return box->frames().size() >= 5; }));
    EXPECT_EQ(box->frames(), (std::vector<dccbox::Frame>{{0xF0, 0xF0}, {0x80, 0x80}, stop, {0x21, 0x21, 0x00}, {0x21, 0x24, 0x05}}));
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON  EMERGENCY STOP")); })) << status().toStdString();

    // The box goes silent and comes back.
    settle();
    box->setSilent(true);
    for (std::size_t i = 6; i <= 7; ++i) {
        sendSpeed();
        ASSERT_TRUE(box->waitForFrames(i, 5s));
        clock.advance(0.6);
    }
    keepStopRefuseGo();
    EXPECT_TRUE(status().endsWith(QStringLiteral("  DCC box not answering  EMERGENCY STOP  STOP NOT SENT  not sent: DCC box not answering")))
        << status().toStdString();
    box->setSilent(false);
    clock.advance(1.0);
    ASSERT_TRUE(until([&] { return box->frames().size() >= 9; }));
    EXPECT_EQ(box->frames()[7], (dccbox::Frame{0xF0, 0xF0}));
    EXPECT_EQ(box->frames()[8], stop);
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON  EMERGENCY STOP")); })) << status().toStdString();
}

TEST_F(ListenPath, ABusyAnswerAfterANewerFrameToTheLocoIsNotRetried)
{
    startBox();
    connect();
    box->busyNext(1);
    const std::uint64_t before = dcc->Log.total();
    sendSpeed();
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x80, 0x75, 0};
    dcc->SendFrame();
    ASSERT_TRUE(until([&] { return dcc->Log.total() >= before + 4; }));
    QStringList lines;
    for (std::size_t i = dcc->Log.size() - 4; i < dcc->Log.size(); ++i) {
        const FrameLog::Entry& e = dcc->Log.at(i);
        lines << (e.outgoing ? QStringLiteral("-> ") : QStringLiteral("<- "))
                + QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(e.bytes.data()), e.length).toHex(' ').toUpper());
    }
    EXPECT_EQ(lines, (QStringList{QStringLiteral("-> E4 12 00 03 89 7C"), QStringLiteral("-> E4 12 00 03 80 75"),
                                  QStringLiteral("<- 61 81 E0"), QStringLiteral("<- 01 04 05")}));
    EXPECT_EQ(box->frames().size(), 5u);
}

TEST_F(ListenPath, TheCommandStationsStateIsAskedForAtConnect)
{
    startBox();
    box->send(dccbox::trackPowerOff); // before the program is there: nobody hears it
    connect();
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON  TRACK POWER OFF")); })) << status().toStdString();
}

TEST_F(ListenPath, ABroadcastBetweenADoubleHeaderAndItsAnswerSettlesNothing)
{
    dccbox::Options options;
    options.framing = xpressnet::Framing::Usb;
    startBox(options);
    dir.write(QStringLiteral("data/text/loco.txt"), "\"0003\",\"A3\"\r\n\"1234\",\"B1234\"\r\n\"0005\",\"C5\"\r\n");
    shared.LocoFilePath = dir.path() + QStringLiteral("/data/text/loco.txt");
    const auto session = [&] {
        connect(defaultsFor(InterfaceSettings::Kind::Usb));
        ASSERT_TRUE(dcc->roster.ReadLocoFile());
    };
    session();
    ASSERT_TRUE(dcc->SelectTrainEngine(0));
    dcc->SelectPilot(1); // A3 + B1234, held by the command station from now on
    ASSERT_TRUE(until([&] { return !dcc->PilotPending; }));

    startProgram();
    session();
    ASSERT_TRUE(dcc->SelectTrainEngine(2));
    box->setAnswerDelay(300);
    dcc->SelectPilot(1); // C5 + B1234: refused, late
    ASSERT_TRUE(box->send(dccbox::commandAccepted)); // FF FD 01 04 05, to every device
    EXPECT_TRUE(until([&] { return !dcc->PilotPending; }));
    EXPECT_EQ(dcc->PilotIndex, DCC::NoPilot);
    ASSERT_EQ(dialogs.notices().size(), 1u);
    EXPECT_EQ(dialogs.notices()[0].text, QStringLiteral("C5 and B1234 were not coupled: a loco is already in another double header."));
}

TEST_F(ListenPath, TheUsbFramingCarriesFramesBothWays)
{
    dccbox::Options options;
    options.framing = xpressnet::Framing::Usb;
    startBox(options);
    connect(defaultsFor(InterfaceSettings::Kind::Usb));
    sendSpeed();
    ASSERT_TRUE(box->waitForFrames(4, 5s));
    const auto bytes = box->receivedBytes();
    const std::vector<std::uint8_t> last(bytes.end() - 8, bytes.end());
    EXPECT_EQ(last, (std::vector<std::uint8_t>{0xFF, 0xFE, 0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C}));
    ASSERT_TRUE(box->send(dccbox::emergencyStop));
    EXPECT_TRUE(until([&] { return dcc->linkState().track == LinkState::Track::EmergencyStop; }));
    EXPECT_EQ(box->badFrames(), 0u);
}

class NetworkPath : public ListenPath, public ::testing::WithParamInterface<InterfaceSettings::Kind> {};

TEST_P(NetworkPath, DetectsSendsHearsAndReconnects)
{
    const InterfaceSettings::Kind kind = GetParam();
    dccbox::Options options;
    options.tcpPort = 0;
    options.framing = kind == InterfaceSettings::Kind::Lan ? xpressnet::Framing::Usb : xpressnet::Framing::Bare;
    options.stationType = 0x12;
    startBox(options);
    InterfaceSettings settings = defaultsFor(kind);
    settings.host = QStringLiteral("127.0.0.1");
    settings.tcpPort = box->tcpPort();
    shared.ControlSystem = QStringLiteral("DCC");
    shared.PortNumber = 0; // port.txt plays no part
    dcc->Interface = settings;
    dcc->ConnectDccBox();
    ASSERT_TRUE(dcc->Online());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("DCC box connected on 127.0.0.1:%1\ninterface 0.1 / 3.6, command station z21 3.6").arg(box->tcpPort()));

    sendSpeed();
    ASSERT_TRUE(box->waitForFrames(4, 5s));
    const auto bytes = box->receivedBytes();
    const std::vector<std::uint8_t> frame{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C};
    std::vector<std::uint8_t> expected = frame;
    if (kind == InterfaceSettings::Kind::Lan)
        expected.insert(expected.begin(), {0xFF, 0xFE});
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - static_cast<long>(expected.size()), bytes.end()), expected);
    ASSERT_TRUE(box->send(dccbox::trackPowerOff));
    EXPECT_TRUE(until([&] { return status().endsWith(QStringLiteral("  modem ON  TRACK POWER OFF")); }))
        << status().toStdString();

    // The box goes away and comes back on the same port.
    const std::uint16_t port = box->tcpPort();
    box->stop();
    ASSERT_TRUE(until([&] { return !dcc->Online(); }));
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem OFF")));
    box.reset();
    options.tcpPort = port;
    startBox(options);
    for (int i = 0; i < 5 && !dcc->Online(); ++i) {
        clock.advance(1.0);
        until([&] { return dcc->Online(); });
    }
    EXPECT_TRUE(dcc->Online());
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem ON"))) << status().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Kinds, NetworkPath,
                         ::testing::Values(InterfaceSettings::Kind::Lan, InterfaceSettings::Kind::XnTcp));

// Network interfaces that cannot be reached: a message names the address and
// what failed, and the program goes on offline.
struct Unreachable {
    const char* host;
    int port;
    const char* expected;
};

class UnreachableHosts : public ListenPath, public ::testing::WithParamInterface<Unreachable> {};

TEST_P(UnreachableHosts, AreNamedAndTheProgramGoesOnOffline)
{
    const Unreachable row = GetParam();
    startBox();
    InterfaceSettings settings = defaultsFor(InterfaceSettings::Kind::XnTcp);
    settings.host = QLatin1String(row.host);
    settings.tcpPort = row.port;
    shared.ControlSystem = QStringLiteral("DCC");
    dcc->Interface = settings;
    dcc->ConnectDccBox();
    EXPECT_FALSE(dcc->Online());
    ASSERT_EQ(dialogs.messages().size(), 1u) << dialogs.messageTexts().join(QStringLiteral(" | ")).toStdString();
    const QString text = dialogs.messages()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("%1:%2").arg(QLatin1String(row.host)).arg(row.port))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String(row.expected), Qt::CaseInsensitive)) << text.toStdString();
    EXPECT_TRUE(status().endsWith(QStringLiteral("  modem OFF")));
}

INSTANTIATE_TEST_SUITE_P(ListenPath, UnreachableHosts,
                         ::testing::Values(Unreachable{"127.0.0.1", 1, "refused"}, // nothing listens there
                                           Unreachable{"no-such-station.invalid", 61235, "not found"}));

} // namespace
