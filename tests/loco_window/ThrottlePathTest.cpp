// From a mouse press on the loco window to the bytes on the far side of a
// real pseudo-terminal, where the simulated DCC box reads them.
#include "BoxPathFixture.h"
#include "ImageButton.h"
#include "Form2a.h"
#include "LocoModuleFixture.h"
#include "PressButtons.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QTest>

#include <chrono>
#include <memory>

namespace {

using namespace std::chrono_literals;

// The program in "DCC", its function boxes named.
class ThrottlePath : public BoxPathFixture {
protected:
    void start(const QByteArray& roster)
    {
        startProgram("DCC", roster, FunctionFile);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(link->isOpen());
    }

    static void click(QWidget* widget, QPoint at = {})
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
};

TEST_F(ThrottlePath, AClickOnNineReachesTheBoxAsTheSpeedFrame)
{
    start("\"0003\",\"E27\"\r\n");
    Form2a& form = *app->form2a();

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

TEST_F(ThrottlePath, EveryFrameGoesToTheLocoShownWithOnlyTheFunctionClicked)
{
    start("\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n\"0000\",\"E0\"\r\n"); // D1, E0, E27
    Form2a& form = *app->form2a();
    const auto clickBox = [&](int i) { click(form.chkFunc.at(static_cast<std::size_t>(i))); };

    // Before any engine: nothing to send to.
    click(form.imgDir);
    click(form.menuBar, form.menuBar->actionGeometry(form.mnuFuncTot).center());
    // A loco without an address is refused as engine and as pilot.
    form.mnuUnitA[1]->trigger();
    form.mnuUnitA[2]->trigger(); // E27
    clickBox(1);                 // F1 latched on
    form.mnuUnitA[0]->trigger(); // D1
    clickBox(0);                 // F0 latched on
    clickBox(1);                 // the latch carried over: off, and F0 stays on
    form.mnuUnitB[1]->trigger();
    click(form.cmdLoco[9]);
    EXPECT_EQ(dialogs.messageTitles(), (QStringList{QStringLiteral("locomotive/multiple unit"), QStringLiteral("locomotive/multiple unit"),
                                                    QStringLiteral("Varnolix roster"), QStringLiteral("Varnolix roster")}));

    ASSERT_TRUE(box.waitForFrames(6, 5s));
    const std::vector<dccbox::Frame> expected{{0xF0, 0xF0},
                                              {0x21, 0x21, 0x00},
                                              {0xE4, 0x20, 0x00, 0x03, 0x01, 0xC6},
                                              {0xE4, 0x20, 0xC4, 0xD2, 0x10, 0xC2},
                                              {0xE4, 0x20, 0xC4, 0xD2, 0x10, 0xC2},
                                              {0xE4, 0x12, 0xC4, 0xD2, 0x09, 0xE9}};
    EXPECT_EQ(box.frames(), expected);
    EXPECT_EQ(box.badFrames(), 0u);
}

} // namespace
