#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "ProgramEnd.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

class SerialLink : public ::testing::Test {
protected:
    SerialLink()
        : dcc(shared, link, clock, dialogs, dir.folder())
    {
        shared.ControlSystem = QStringLiteral("DCC + DC");
    }

    void fill(std::initializer_list<std::uint8_t> bytes)
    {
        std::copy(bytes.begin(), bytes.end(), shared.FrameBuf.begin());
    }

    TestFolder dir;
    Shared shared;
    FakeDccLink link;
    FakeClock clock;
    FakeDialogs dialogs;
    DCC dcc;
};

TEST_F(SerialLink, SendFrameWritesExactlyTheFrameLength)
{
    link.present = {3};
    link.open(3);
    fill({0xE5, 0x43, 0x00, 0x03, 0xC4, 0xD2, 0xB3});
    dcc.SendFrame();
    fill({0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C});
    dcc.SendFrame();
    ASSERT_EQ(link.written.size(), 2);
    EXPECT_EQ(PrintableBytes(link.written[0]), QStringLiteral("E5 43 00 03 C4 D2 B3"));
    // After the seven-byte frame the next one is six bytes, not seven.
    EXPECT_EQ(PrintableBytes(link.written[1]), QStringLiteral("E4 12 00 03 89 7C"));
}

TEST_F(SerialLink, SendFrameOnAClosedPortWritesNothing)
{
    fill({0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C});
    dcc.SendFrame();
    EXPECT_TRUE(link.written.isEmpty());
}

TEST_F(SerialLink, PauseLastsItsLengthAndHandlesEventsMeanwhile)
{
    int eventsHandled = 0;
    clock.duringWait = [&] { ++eventsHandled; };
    const double start = clock.seconds();
    dcc.Pause(0.005f);
    EXPECT_GT(clock.seconds(), start + 0.0049);
    EXPECT_LT(clock.seconds(), start + 0.010);
    EXPECT_GE(eventsHandled, 1);
}

TEST_F(SerialLink, ABoxThatAnswersIsConnectedAndAnnounced)
{
    shared.PortNumber = 3;
    link.present = {3};
    link.answering = {3};
    dcc.ConnectDccBox();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    // The interface's and the command station's versions, in words.
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("DCC box connected on Port 3\ninterface 0.1 / 3.6, command station LZ100/LZV100 3.6"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Varnolix DCC + DC"));
    EXPECT_EQ(dialogs.shown[0].style, Dialogs::Information);
    EXPECT_EQ(link.takeWritten(), (QStringList{QStringLiteral("F0 F0"), QStringLiteral("21 21 00"), QStringLiteral("21 24 05")}));
    EXPECT_TRUE(link.isOpen());
    // The settle pause of one second ran on the injected clock.
    EXPECT_GE(clock.seconds(), 1.0);
}

TEST_F(SerialLink, ThePortQuestionSaysWhatFailedNamesTheDevicesAndOffersTheCurrentNumber)
{
    shared.PortNumber = 3;
    link.failure = QStringLiteral("/dev/ttyUSB0 refused the speed 115200 baud: choose a speed it supports");
    dialogs.answer(QStringLiteral("0"));
    dcc.ConnectDccBox();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto& question = dialogs.shown[0];
    EXPECT_TRUE(question.input);
    EXPECT_EQ(question.title, QStringLiteral("DCC Box disconnected"));
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("Port 3: ") + link.failure + QStringLiteral("\n\nuse zero for offline operation")
                                         + QString(40, QLatin1Char(' '))));
    EXPECT_TRUE(question.text.endsWith(QStringLiteral("u.s.b. port connected below")));
    EXPECT_TRUE(question.text.contains(QStringLiteral("5 = /dev/fake5")));
    EXPECT_EQ(question.defaultAnswer, QStringLiteral("3"));
}

TEST_F(SerialLink, AnsweringZeroGoesOfflineAndStoresIt)
{
    shared.PortNumber = 4;
    link.present = {4}; // a port with no box behind it
    dialogs.answer(QStringLiteral("0"));
    dcc.ConnectDccBox();
    EXPECT_EQ(shared.PortNumber, 0);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), QByteArray("0\r\n"));
    EXPECT_EQ(dialogs.messages().size(), 0u);
}

TEST_F(SerialLink, AnotherPortIsTriedUntilOneAnswers)
{
    shared.PortNumber = 4;
    link.present = {4, 6};
    link.answering = {6};
    dialogs.answer(QStringLiteral(" 6 "));
    dcc.ConnectDccBox();
    EXPECT_EQ(shared.PortNumber, 6);
    EXPECT_EQ(link.openPort, 6);
    EXPECT_EQ(link.opens, 2);
    // The new number is stored before it is tried.
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), QByteArray("6\r\n"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("DCC box connected on Port 6\n")));
}

TEST_F(SerialLink, TheAnswerIsAwaitedLongerThanAUsbAdaptersLatency)
{
    shared.PortNumber = 3;
    link.present = {3};
    dialogs.answer(QStringLiteral("0"));
    dcc.ConnectDccBox();
    EXPECT_GE(link.waitedMs, 100);
}

class BadPortAnswers : public SerialLink, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadPortAnswers, EndTheProgramAndSaveNothing)
{
    dir.write(QStringLiteral("data/text/port.txt"), "3\r\n");
    shared.PortNumber = 3;
    if (*GetParam())
        dialogs.answer(QString::fromLatin1(GetParam()));
    EXPECT_THROW(dcc.ConnectDccBox(), ProgramEnd);
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), QByteArray("3\r\n"));
}

INSTANTIATE_TEST_SUITE_P(DCC, BadPortAnswers, ::testing::Values("", "abc", "256", "-1", "3x", "1.5"));

TEST_F(SerialLink, ALostLinkGoesOfflineAndTellsTheUserOnce)
{
    shared.PortNumber = 3;
    link.present = {3};
    link.answering = {3};
    dcc.ConnectDccBox();
    dialogs.shown.clear();
    link.unplug();
    EXPECT_EQ(shared.PortNumber, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("/dev/fake3")));
    // Later frames go nowhere and say nothing more.
    fill({0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C});
    dcc.SendFrame();
    EXPECT_EQ(link.written.size(), 3); // only the version and status queries
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(SerialLink, ThePortQuestionLeadsToTheInterfaceDialogAndTriesWhatWasChosen)
{
    shared.PortNumber = 4;
    link.present = {4, 7};
    link.answering = {7};
    int dialogsOpened = 0;
    dcc.ChooseInterface = [&] {
        ++dialogsOpened;
        dcc.StoreInterface(defaultsFor(InterfaceSettings::Kind::Usb), 7);
        return true;
    };
    dialogs.answer(FakeDialogs::ChoiceAnswer);
    dcc.ConnectDccBox();
    EXPECT_EQ(dialogs.choices, QStringList{QStringLiteral("DCC interface...")});
    EXPECT_EQ(dialogsOpened, 1);
    EXPECT_EQ(link.interface, defaultsFor(InterfaceSettings::Kind::Usb));
    EXPECT_EQ(link.openPort, 7);
    EXPECT_EQ(dir.read(QStringLiteral("data/text/port.txt")), QByteArray("7\r\n"));
    EXPECT_EQ(dir.read(QStringLiteral("data/text/interface.txt")), QByteArray("\"usb\",57600,\"none\",\"\",0\r\n"));
    EXPECT_TRUE(dcc.Online());
}

TEST_F(SerialLink, AGarbledInterfaceFileIsNamedAndTheSerialInterfaceUsed)
{
    dir.write(QStringLiteral("data/text/interface.txt"), "\"bluetooth\",0,\"none\",\"\",0\r\n");
    dcc.Interface = defaultsFor(InterfaceSettings::Kind::Lan);
    dcc.ReadInterfaceFile();
    EXPECT_EQ(dcc.Interface, InterfaceSettings{});
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("interface.txt")));
}

} // namespace
