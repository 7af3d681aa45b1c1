// The emergency stop, track power and the frame monitor, through the whole
// program: real key presses and clicks, a real pseudo-terminal to the
// simulated DCC box, the simulated K8055 board.
#include "BoxPathFixture.h"
#include "HearUntil.h"
#include "Form1.h"
#include "Form2a.h"
#include "Form2b.h"
#include "FrameMonitor.h"
#include "QtDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <chrono>

namespace {

using namespace std::chrono_literals;

class TrackControls : public BoxPathFixture {
protected:
    void start(const char* controlSystem) { startProgram(controlSystem, "\"0003\",\"E27\"\r\n"); }

    // Both motors running and a coil output on, as in the middle of a run.
    void runMotorsAndACoil()
    {
        for (int knob : {1, 2}) {
            app->form2b()->picKnob_MouseDown(knob, 2);
            app->form2b()->picKnob_MouseUp(knob, 2);
        }
        board.WriteAllDigital(6);
        ASSERT_GT(boardDevice.outputs().analog1, 0);
        ASSERT_GT(boardDevice.outputs().analog2, 0);
    }

    // A key pressed in a window the user works in.
    void keyIn(QWidget* window, Qt::Key key)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, key);
    }

    bool until(const std::function<bool()>& done) { return hearUntil(*link, done); }

    QString title() { return app->form1().windowTitle(); }
};

TEST_F(TrackControls, EscapeInAnyWindowStopsEveryLocoAndEveryMotorAndCoil)
{
    start("DCC + DC");
    const std::vector<QWidget*> windows = {&app->form1(), app->form2a(), app->form2b()};
    std::size_t frames = box.frames().size();
    for (QWidget* window : windows) {
        runMotorsAndACoil();
        keyIn(window, Qt::Key_Escape);
        ASSERT_TRUE(box.waitForFrames(frames + 1, 5s)) << window->objectName().toStdString();
        EXPECT_EQ(box.frames().back(), (dccbox::Frame{0x80, 0x80})) << window->objectName().toStdString();
        frames = box.frames().size();
        EXPECT_EQ(boardDevice.outputs().digital, 0) << window->objectName().toStdString();
        EXPECT_EQ(boardDevice.outputs().analog1, 0) << window->objectName().toStdString();
        EXPECT_EQ(boardDevice.outputs().analog2, 0) << window->objectName().toStdString();
        EXPECT_EQ(app->form2b()->lblPwm[1]->text(), QStringLiteral("0"));
    }
    // The status line says what the command station broadcast.
    EXPECT_TRUE(until([&] {
        app->form1().timModem_Timer();
        return title().endsWith(QStringLiteral("  modem ON  EMERGENCY STOP"));
    })) << title().toStdString();
    EXPECT_EQ(app->form2a()->lblBanner->text(), QStringLiteral("EMERGENCY STOP"));
}

TEST_F(TrackControls, EscapeStopsEvenWithTheNewLocoPanelOpenAndClosesIt)
{
    start("DCC");
    Form2a& loco = *app->form2a();
    loco.mnuAdd[0]->trigger();
    ASSERT_TRUE(loco.AddLocoOpen);
    const std::size_t frames = box.frames().size();
    keyIn(&loco, Qt::Key_Escape);
    EXPECT_FALSE(loco.AddLocoOpen);
    ASSERT_TRUE(box.waitForFrames(frames + 1, 5s));
    EXPECT_EQ(box.frames()[frames], (dccbox::Frame{0x80, 0x80}));
}

TEST_F(TrackControls, PowerOffAndResumeFromTheToolbar)
{
    start("DCC");
    const std::size_t frames = box.frames().size();
    QTest::mouseClick(app->form1().cmdPowerOff, Qt::LeftButton);
    EXPECT_TRUE(until([&] { return title().endsWith(QStringLiteral("  TRACK POWER OFF")); })) << title().toStdString();
    QTest::mouseClick(app->form1().cmdResume, Qt::LeftButton);
    EXPECT_TRUE(until([&] { return title().endsWith(QStringLiteral("  modem ON")); })) << title().toStdString();
    QTest::mouseClick(app->form1().cmdStop, Qt::LeftButton);
    ASSERT_TRUE(box.waitForFrames(frames + 3, 5s));
    const auto received = box.frames();
    EXPECT_EQ(received[frames], (dccbox::Frame{0x21, 0x80, 0xA1}));
    EXPECT_EQ(received[frames + 1], (dccbox::Frame{0x21, 0x81, 0xA0}));
    EXPECT_EQ(received[frames + 2], (dccbox::Frame{0x80, 0x80}));
}

TEST_F(TrackControls, TheMonitorListsEveryFrameBothWaysAndKeepsLoggingWhilePaused)
{
    start("DCC");
    keyIn(app->form2a(), Qt::Key_F12);
    FrameMonitor* monitor = app->monitor();
    ASSERT_NE(monitor, nullptr);
    ASSERT_TRUE(monitor->isVisible());
    const QString first = monitor->txtFrames->toPlainText();
    EXPECT_TRUE(first.contains(QStringLiteral("-> F0 F0  interface version query"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("<- 02 01 36 35  interface version: hardware 0.1, software 3.6")))
        << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("<- 63 21 36 00 74  command station: LZ100/LZV100, version 3.6")))
        << first.toStdString();

    QTest::mouseClick(monitor->cmdPause, Qt::LeftButton);
    app->dcc().EmergencyStop();
    ASSERT_TRUE(until([&] { return app->dcc().linkState().track == LinkState::Track::EmergencyStop; }));
    clock.advance(0.2);
    EXPECT_EQ(monitor->txtFrames->toPlainText(), first) << "the view stands still";
    QTest::mouseClick(monitor->cmdPause, Qt::LeftButton);
    const QString later = monitor->txtFrames->toPlainText();
    EXPECT_TRUE(later.contains(QStringLiteral("-> 80 80  emergency stop")));
    EXPECT_TRUE(later.endsWith(QStringLiteral("<- 81 00 81  emergency stop"))) << later.toStdString();
    // Every line: time to the millisecond, direction, bytes, words.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d  (->|<-) [0-9A-F]{2}"))
                    .match(later.section(QLatin1Char('\n'), -1))
                    .hasMatch());

    dialogs.savePath = dir.path() + QStringLiteral("/frames.txt");
    QTest::mouseClick(monitor->cmdSave, Qt::LeftButton);
    const QByteArray saved = dir.read(QStringLiteral("frames.txt"));
    EXPECT_EQ(saved.count("\r\n"), later.count(QLatin1Char('\n')) + 1);
    EXPECT_TRUE(saved.contains("<- 81 00 81  emergency stop\r\n"));
}

TEST_F(TrackControls, InDcTheStopStopsTheMotorsAndTheDccControlsAreAway)
{
    start("DC");
    runMotorsAndACoil();
    keyIn(&app->form1(), Qt::Key_Escape);
    EXPECT_EQ(boardDevice.outputs().analog1, 0);
    EXPECT_EQ(boardDevice.outputs().analog2, 0);
    EXPECT_EQ(boardDevice.outputs().digital, 0);
    EXPECT_TRUE(app->form1().cmdStop->isVisible());
    EXPECT_FALSE(app->form1().cmdPowerOff->isVisible());
    EXPECT_FALSE(app->form1().cmdMonitor->isVisible());
    EXPECT_TRUE(box.frames().empty()) << "no DCC link in DC";
}

TEST_F(TrackControls, EscapeAndStopWorkWhileANoticeIsOnScreen)
{
    start("DCC + DC");
    // The coil window is where the user works.
    app->form2b()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->form2b()));
    QtDialogs notices;
    // A notice that waited in a modal loop would hang here: each such loop
    // is ended from inside and the test says so.
    bool waited = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            waited = true;
            modal->close();
        }
    });
    guard.start(0);
    const QString title = QStringLiteral("K8055 board");
    notices.notice(QStringLiteral("k8055-lost"), QStringLiteral("K8055 card 0 is not answering"), title, Dialogs::Critical);
    notices.notice(QStringLiteral("k8055-lost"), QStringLiteral("K8055 card 0 is not answering again"), title, Dialogs::Critical);
    guard.stop();
    EXPECT_FALSE(waited) << "a notice must not wait for OK";
    QMessageBox* shown = notices.shownNotice(QStringLiteral("k8055-lost"));
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->text(), QStringLiteral("K8055 card 0 is not answering again"));
    int boxes = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        boxes += window->isVisible() && window->windowTitle() == title;
    EXPECT_EQ(boxes, 1) << "the second notice replaced the first";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    const struct {
        const char* how;
        std::function<void()> stop;
    } stops[] = {
        {"Escape in the coil window", [&] { QTest::keyClick(app->form2b(), Qt::Key_Escape); }},
        {"Escape in the notice itself", [&] { QTest::keyClick(shown, Qt::Key_Escape); }},
        {"the STOP button", [&] { QTest::mouseClick(app->form1().cmdStop, Qt::LeftButton); }},
    };
    for (const auto& s : stops) {
        runMotorsAndACoil();
        const std::size_t frames = box.frames().size();
        s.stop();
        ASSERT_TRUE(box.waitForFrames(frames + 1, 5s)) << s.how;
        EXPECT_EQ(box.frames().back(), (dccbox::Frame{0x80, 0x80})) << s.how;
        EXPECT_EQ(boardDevice.outputs(), k8055::OutputState{}) << s.how;
        ASSERT_EQ(notices.shownNotice(QStringLiteral("k8055-lost")), shown) << s.how << ": the notice stays up";
    }
}

} // namespace
