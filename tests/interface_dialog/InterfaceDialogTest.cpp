// The "DCC interface" dialog: fields follow the kind, and "Test" runs the
// detection on a link of its own through a real pseudo-terminal to the
// simulated box, while the link in use carries on.
#include "ConnectProgress.h"
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "InterfaceDialog.h"
#include "QtDccLink.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

class InterfaceChoice : public ::testing::Test {
protected:
    InterfaceChoice()
    {
        std::string error;
        started = box.start(&error);
        link = std::make_unique<QtDccLink>(
            PortMap({{5, QString::fromStdString(box.devicePath())}, {6, QStringLiteral("/dev/null")}}));
        dcc = std::make_unique<DCC>(shared, *link, clock, dialogs, dir.folder());
        shared.ControlSystem = QStringLiteral("DCC");
    }

    // Picks an item the way a user does: open the list, arrow keys, Enter.
    static void pick(QComboBox* box, int index)
    {
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }

    dccbox::SimulatedBox box;
    bool started = false;
    TestFolder dir;
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    std::unique_ptr<QtDccLink> link;
    std::unique_ptr<DCC> dcc;
};

TEST_F(InterfaceChoice, TheFieldsFollowTheKindAndMakeAWholeSetting)
{
    ASSERT_TRUE(started);
    InterfaceDialog dialog(*dcc, 5);
    EXPECT_TRUE(dialog.cboDevice->itemText(dialog.cboDevice->currentIndex()).startsWith(QStringLiteral("5 = /dev/pts/")));
    EXPECT_TRUE(dialog.cboSpeed->isEnabled());
    EXPECT_FALSE(dialog.txtHost->isEnabled());
    pick(dialog.cboSpeed, 3);
    pick(dialog.cboHandshake, 1);
    InterfaceSettings serial;
    serial.speed = 57600;
    serial.rtsCts = true;
    EXPECT_EQ(dialog.settings(), serial);

    pick(dialog.cboKind, 1); // USB: 57600 only
    EXPECT_FALSE(dialog.cboSpeed->isEnabled());
    EXPECT_EQ(dialog.settings().speed, 57600);
    EXPECT_EQ(dialog.portNumber(), 5);

    pick(dialog.cboKind, 3); // XnTcp
    EXPECT_FALSE(dialog.cboDevice->isEnabled());
    EXPECT_TRUE(dialog.txtHost->isEnabled());
    EXPECT_EQ(dialog.spnTcpPort->value(), 61235);
    QTest::keyClicks(dialog.txtHost, QStringLiteral("10.0.0.7"));
    InterfaceSettings xntcp = defaultsFor(InterfaceSettings::Kind::XnTcp);
    xntcp.host = QStringLiteral("10.0.0.7");
    EXPECT_EQ(dialog.settings(), xntcp);
    pick(dialog.cboKind, 2); // LAN: its own usual port
    EXPECT_EQ(dialog.spnTcpPort->value(), 5550);
}

TEST_F(InterfaceChoice, TestRunsOnALinkOfItsOwnAndSaysWhatAnsweredOrWhatFailed)
{
    ASSERT_TRUE(started);
    dccbox::SimulatedBox other;
    ASSERT_TRUE(other.start());
    // Test's own link, as the program makes a second one from its link module.
    QtDccLink* testLink = nullptr;
    dcc->MakeTestLink = [&]() -> std::unique_ptr<DccLink> {
        auto made = std::make_unique<QtDccLink>(PortMap({{5, QString::fromStdString(box.devicePath())},
                                                         {6, QStringLiteral("/dev/null")},
                                                         {7, QString::fromStdString(other.devicePath())}}));
        testLink = made.get();
        return made;
    };
    shared.PortNumber = 5;
    dcc->ConnectDccBox();
    ASSERT_TRUE(dcc->Online());
    InterfaceDialog dialog(*dcc, 5);
    const auto test = [&](int port) {
        dialog.spnPort->setValue(port);
        QTest::mouseClick(dialog.cmdTest, Qt::LeftButton);
        for (int i = 0; i < 250 && dcc->Testing(); ++i) {
            if (testLink)
                testLink->waitForReceived(20);
            QCoreApplication::processEvents();
            clock.advance(0.02);
        }
        return dialog.lblResult->text();
    };
    const QString identity = QStringLiteral("interface 0.1 / 3.6, command station LZ100/LZV100 3.6");
    const struct {
        int port;
        QString expected;
    } rows[] = {{7, identity + QStringLiteral(" answered on %1.").arg(QString::fromStdString(other.devicePath()))},
                {5, identity + QStringLiteral(" answered on %1.").arg(QString::fromStdString(box.devicePath()))}, // the link in use
                {6, QStringLiteral("Nothing answered: /dev/null cannot be opened as a serial port (")},
                {0, QStringLiteral("Nothing answered: no port chosen (0 = offline).")}};
    for (const auto& row : rows)
        EXPECT_TRUE(test(row.port).startsWith(row.expected)) << row.port << ": " << dialog.lblResult->text().toStdString();

    // While a test runs, the dialog answers and the link in use carries frames.
    other.setSilent(true);
    dialog.spnPort->setValue(7);
    QTest::mouseClick(dialog.cmdTest, Qt::LeftButton);
    EXPECT_EQ(dialog.lblResult->text(), QStringLiteral("looking for the DCC box..."));
    ASSERT_TRUE(dcc->Testing());
    const std::size_t before = box.frames().size();
    shared.FrameBuf = {0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C, 0};
    EXPECT_TRUE(dcc->SendFrame());
    ASSERT_TRUE(box.waitForFrames(before + 1, std::chrono::seconds(5)));
    EXPECT_EQ(box.frames()[before], (dccbox::Frame{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C}));
    // Cancel ends the dialog and the test with it.
    dialog.reject();
    EXPECT_FALSE(dcc->Testing());
    EXPECT_FALSE(testLink->isOpen());

    EXPECT_TRUE(dcc->Online());
    EXPECT_EQ(shared.PortNumber, 5);
    EXPECT_EQ(link->where(), QString::fromStdString(box.devicePath()));
    EXPECT_TRUE(dialogs.shown.size() == 1u) << "only the connected message of the start";
}

TEST_F(InterfaceChoice, TheLookingForWindowShowsWhileTheBoxIsLookedForAndItsCancelStops)
{
    ASSERT_TRUE(started);
    ConnectProgress looking(*dcc);
    shared.PortNumber = 5;
    dcc->ConnectAgain();
    ASSERT_TRUE(dcc->Connecting());
    EXPECT_TRUE(looking.isVisible());
    EXPECT_EQ(looking.lblLooking->text(), QStringLiteral("looking for the DCC box on %1...").arg(QString::fromStdString(box.devicePath())));
    QTest::mouseClick(looking.cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dcc->Connecting());
    EXPECT_FALSE(looking.isVisible());
    EXPECT_FALSE(link->isOpen());
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
