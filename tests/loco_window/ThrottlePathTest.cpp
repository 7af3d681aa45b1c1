// From a mouse press on the loco window to the bytes on the far side of a
// real pseudo-terminal, where the simulated DCC box reads them.
#include "HidK8055.h"
#include "SimulatedBoard.h"
#include "App.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "Form2a.h"
#include "PressButtons.h"
#include "QtDccLink.h"
#include "TestFolder.h"

#include "dccbox/SimulatedBox.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include <chrono>

namespace {

using namespace std::chrono_literals;

TEST(ThrottlePath, AClickOnNineReachesTheBoxAsTheSpeedFrame)
{
    dccbox::SimulatedBox box;
    std::string error;
    ASSERT_TRUE(box.start(&error)) << error;

    TestFolder dir;
    dir.addLayout(QStringLiteral("Home"));
    dir.write(QStringLiteral("data/text/version.txt"), "\"DCC\"\r\n");
    dir.write(QStringLiteral("data/text/layout.txt"), "\"Home\"\r\n");
    dir.write(QStringLiteral("data/text/port.txt"), "5\r\n");
    dir.write(QStringLiteral("data/text/loco.txt"), "\"0003\",\"E27\"\r\n");
    FakeDialogs dialogs;
    dialogs.answer(QStringLiteral("Home"));
    FakeClock clock;
    QtDccLink link(PortMap({{5, QString::fromStdString(box.devicePath())}}));
    SimulatedBoard boardDevice(clock);
    HidK8055 board(boardDevice);
    App app(dir.folder(), dialogs, clock, link, board);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(link.isOpen());
    Form2a& form = *app.form2a();

    form.mnuUnitA[0]->trigger();
    form.imgDir_Click(); // "L"
    QTest::mousePress(form.cmdLoco[9], Qt::LeftButton);
    QTest::mouseRelease(form.cmdLoco[9], Qt::LeftButton);

    ASSERT_TRUE(box.waitForFrames(4, 5s));
    const auto frames = box.frames();
    EXPECT_EQ(frames[0], (dccbox::Frame{0xF0, 0xF0}));
    EXPECT_EQ(frames[1], (dccbox::Frame{0x21, 0x21, 0x00}));
    EXPECT_EQ(frames[2], (dccbox::Frame{0xE4, 0x12, 0x00, 0x03, 0x80, 0x75}));
    EXPECT_EQ(frames[3], (dccbox::Frame{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C}));
    EXPECT_EQ(box.badFrames(), 0u);
}

} // namespace
