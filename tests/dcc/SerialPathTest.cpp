// The whole serial path: DCC module, Qt serial port, a real pseudo-terminal
// and the simulated DCC box on its far side.
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "LoadedDccLink.h"
#include "QtDccLink.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>

namespace {

using namespace std::chrono_literals;

class SerialPath : public ::testing::Test {
protected:
    void startBox(dccbox::Options options = {})
    {
        box = std::make_unique<dccbox::SimulatedBox>(options);
        std::string error;
        ASSERT_TRUE(box->start(&error)) << error;
        dcc.reset(); // it uses the link to its end
        link = std::make_unique<QtDccLink>(PortMap({{5, QString::fromStdString(box->devicePath())}}));
        dcc = std::make_unique<DCC>(shared, *link, clock, dialogs, dir.folder());
        shared.ControlSystem = QStringLiteral("DCC");
        shared.PortNumber = 5;
    }

    TestFolder dir;
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    std::unique_ptr<dccbox::SimulatedBox> box;
    std::unique_ptr<QtDccLink> link;
    std::unique_ptr<DCC> dcc;
};

TEST_F(SerialPath, TheBoxAnswersTheQueryAndIsConnected)
{
    startBox();
    dcc->ConnectDccBox();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("DCC box connected on Port 5\ninterface 0.1 / 3.6")));
    ASSERT_TRUE(box->waitForFrames(1, 5s));
    EXPECT_EQ(box->frames()[0], (dccbox::Frame{0xF0, 0xF0}));
}

TEST_F(SerialPath, AnAnswerDelayedLikeAUsbAdapterStillCounts)
{
    dccbox::Options options;
    options.answerDelayMs = 16;
    startBox(options);
    dcc->ConnectDccBox();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("DCC box connected on Port 5\ninterface 0.1 / 3.6")));
}

TEST_F(SerialPath, ASilentPortLeadsToThePortQuestion)
{
    dccbox::Options options;
    options.silent = true;
    startBox(options);
    dialogs.answer(QStringLiteral("0"));
    dcc->ConnectDccBox();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].input);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QString::fromStdString(box->devicePath())));
    EXPECT_EQ(shared.PortNumber, 0);
    EXPECT_FALSE(link->isOpen());
}

TEST_F(SerialPath, PortZeroOpensNothingAndAsks)
{
    startBox();
    shared.PortNumber = 0;
    dialogs.answer(QStringLiteral("5"));
    dcc->ConnectDccBox();
    EXPECT_EQ(shared.PortNumber, 5);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("DCC box connected on Port 5\n")));
}

TEST_F(SerialPath, FramesArriveByteForByteOnTheFarSide)
{
    startBox();
    dcc->ConnectDccBox();
    const std::array<std::uint8_t, 7> frames[] = {{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C},
                                                  {0xE5, 0x43, 0x00, 0x03, 0xC4, 0xD2, 0xB3},
                                                  {0x52, 0x01, 0x8A, 0xD9}};
    for (const auto& frame : frames) {
        shared.FrameBuf = frame;
        dcc->SendFrame();
    }
    ASSERT_TRUE(box->waitForFrames(6, 5s));
    const auto received = box->frames();
    EXPECT_EQ(received[1], (dccbox::Frame{0x21, 0x21, 0x00}));
    EXPECT_EQ(received[2], (dccbox::Frame{0x21, 0x24, 0x05}));
    EXPECT_EQ(received[3], (dccbox::Frame{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C}));
    EXPECT_EQ(received[4], (dccbox::Frame{0xE5, 0x43, 0x00, 0x03, 0xC4, 0xD2, 0xB3}));
    EXPECT_EQ(received[5], (dccbox::Frame{0x52, 0x01, 0x8A, 0xD9}));
    EXPECT_EQ(box->badFrames(), 0u);
}

TEST_F(SerialPath, EveryAnswerIsHeardAndNothingPilesUp)
{
    startBox();
    dcc->ConnectDccBox();
    const std::size_t logged = dcc->Log.size();
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C};
    dcc->SendFrame();
    ASSERT_TRUE(link->waitForReceived(2000));
    ASSERT_EQ(dcc->Log.size(), logged + 2);
    const FrameLog::Entry& answer = dcc->Log.at(logged + 1);
    EXPECT_FALSE(answer.outgoing);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(answer.bytes.data()), answer.length), QByteArray("\x01\x04\x05", 3));
}

TEST_F(SerialPath, ABoxThatGoesAwayLeavesTheProgramOfflineAfterOneMessage)
{
    startBox();
    dcc->ConnectDccBox();
    dialogs.shown.clear();
    box->stop(); // the far side of the pseudo-terminal is gone, as with a pulled cable
    for (int i = 0; i < 200 && shared.PortNumber != 0; ++i) {
        shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
        dcc->SendFrame();
        link->waitForReceived(10);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(shared.PortNumber, 0);
    EXPECT_FALSE(link->isOpen());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    // What happened, not the system's text for whichever call noticed it.
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("(the device went away)"))) << dialogs.shown[0].text.toStdString();
}

// Devices that cannot be the interface: the port question says what failed
// and names the device, and zero then goes offline.
struct UnusableDevice {
    const char* name;     // inside the test folder
    bool makeFile;        // a regular file rather than nothing at all
    const char* expected; // words the question must hold
};

class UnusableDevices : public SerialPath, public ::testing::WithParamInterface<UnusableDevice> {};

TEST_P(UnusableDevices, AreNamedInThePortQuestionAndOfflineStaysPossible)
{
    const UnusableDevice row = GetParam();
    const QString device = dir.path() + QLatin1Char('/') + QLatin1String(row.name);
    if (row.makeFile)
        dir.write(QLatin1String(row.name), "not a serial port");
    link = std::make_unique<QtDccLink>(PortMap({{5, device}}));
    dcc = std::make_unique<DCC>(shared, *link, clock, dialogs, dir.folder());
    shared.ControlSystem = QStringLiteral("DCC");
    shared.PortNumber = 5;
    dcc->Interface.speed = 57600;
    dialogs.answer(QStringLiteral("0"));
    dcc->ConnectDccBox();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const QString question = dialogs.shown[0].text;
    EXPECT_TRUE(question.startsWith(QStringLiteral("Port 5: ") + device + QLatin1Char(' '))) << question.toStdString();
    EXPECT_TRUE(question.contains(QLatin1String(row.expected))) << question.toStdString();
    EXPECT_EQ(shared.PortNumber, 0);
    EXPECT_FALSE(link->isOpen());
}

INSTANTIATE_TEST_SUITE_P(SerialPath, UnusableDevices,
                         ::testing::Values(UnusableDevice{"gone", false, "does not exist"},
                                           UnusableDevice{"notes.txt", true, "cannot be opened as a serial port"},
                                           UnusableDevice{".", false, "cannot be opened as a serial port"}));

// The program's link comes from its DCC link module, loaded on the first
// open: with the module the box answers as through the link itself; without
// it, the port question says so and offline stays possible.
TEST_F(SerialPath, TheLinkModuleIsLoadedOnTheFirstOpenOrItsAbsenceIsNamed)
{
    const struct {
        const char* folder;
        bool connects;
    } rows[] = {{VARNOLIX_MODULE_BUILD_DIR, true}, {"/nonexistent", false}};
    for (const auto& row : rows) {
        startBox();
        qputenv("VARNOLIX_PORT_5", QByteArray::fromStdString(box->devicePath()));
        LoadedDccLink loaded(QStringList{QString::fromLatin1(row.folder)});
        DCC viaModule(shared, loaded, clock, dialogs, dir.folder());
        shared.PortNumber = 5;
        dialogs.shown.clear();
        dialogs.answer(QStringLiteral("0"));
        viaModule.ConnectDccBox();
        qunsetenv("VARNOLIX_PORT_5");
        ASSERT_EQ(dialogs.shown.size(), 1u) << row.folder;
        const QString said = dialogs.shown[0].text;
        if (row.connects) {
            EXPECT_TRUE(said.startsWith(QStringLiteral("DCC box connected on Port 5\ninterface 0.1 / 3.6"))) << said.toStdString();
            EXPECT_TRUE(loaded.isOpen());
        } else {
            EXPECT_TRUE(said.startsWith(QStringLiteral("Port 5: the DCC link module could not be loaded ("))) << said.toStdString();
            EXPECT_TRUE(said.contains(QStringLiteral("/nonexistent"))) << said.toStdString();
            EXPECT_EQ(shared.PortNumber, 0);
        }
        dialogs.answers.clear();
    }
}

} // namespace
