// The "DCC interface" dialog: fields follow the kind, and "Test" runs the
// detection through a real pseudo-terminal to the simulated box.
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "InterfaceDialog.h"
#include "QtDccLink.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
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

TEST_F(InterfaceChoice, TestSaysWhatAnsweredOrWhatFailedAndLeavesTheLinkAsItWas)
{
    ASSERT_TRUE(started);
    shared.PortNumber = 5;
    dcc->ConnectDccBox();
    ASSERT_TRUE(dcc->Online());
    InterfaceDialog dialog(*dcc, 5);
    QTest::mouseClick(dialog.cmdTest, Qt::LeftButton);
    EXPECT_EQ(dialog.lblResult->text(), QStringLiteral("interface 0.1 / 3.6, command station LZ100/LZV100 3.6 answered on %1.")
                                            .arg(QString::fromStdString(box.devicePath())));

    dialog.spnPort->setValue(6); // not a serial device
    QTest::mouseClick(dialog.cmdTest, Qt::LeftButton);
    EXPECT_TRUE(dialog.lblResult->text().startsWith(QStringLiteral("Nothing answered: /dev/null cannot be opened as a serial port (")))
        << dialog.lblResult->text().toStdString();
    dialog.spnPort->setValue(0);
    QTest::mouseClick(dialog.cmdTest, Qt::LeftButton);
    EXPECT_EQ(dialog.lblResult->text(), QStringLiteral("Nothing answered: no port chosen (0 = offline)."));

    EXPECT_TRUE(dcc->Online());
    EXPECT_EQ(shared.PortNumber, 5);
    EXPECT_EQ(link->where(), QString::fromStdString(box.devicePath()));
    EXPECT_TRUE(dialogs.shown.size() == 1u) << "only the connected message of the start";
}

} // namespace
