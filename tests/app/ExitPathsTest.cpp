// Every way the program ends runs the whole exit: the window places saved,
// every board output off (the motors' too), and the process ends whatever
// windows are open.
#include "AppFixture.h"

#include "Form1a.h"
#include "ImageButton.h"
#include "StopSignals.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

class ExitPaths : public AppFixture {
protected:
    // The coil window at 600, 80 pixels: 1200 and 9000 twips in coord.txt.
    bool savedThePlaces() const { return dir.read(QStringLiteral("data/text/coord.txt")).endsWith("1200,9000\r\n"); }
    void startWithMotorRunning()
    {
        dir.write(QStringLiteral("data/text/coord.txt"), "");
        ASSERT_TRUE(startWith("DC"));
        app->watchExitPaths();
        app->form2b()->move(600, 80);
        board.OutputAnalogChannel(1, 90);
    }
};

#ifndef _WIN32
TEST_F(ExitPaths, EveryStopSignalDuringAPulseRunsTheWholeExit)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        startWithMotorRunning();
        int raisedWithOutputs = -1;
        clock.duringWait = [&] {
            if (raisedWithOutputs < 0) {
                raisedWithOutputs = boardDevice.outputs().digital;
                std::raise(signal);
            }
        };
        QTest::mouseClick(app->form2b()->cmdCoil.at(3), Qt::LeftButton);
        EXPECT_EQ(raisedWithOutputs, 6) << "coil 3 selected as the signal came";
        EXPECT_TRUE(app->ended()) << "signal " << signal;
        EXPECT_EQ(boardDevice.outputs(), k8055::OutputState{}) << "signal " << signal;
        EXPECT_TRUE(savedThePlaces()) << "signal " << signal;
        clock.duringWait = nullptr;
        app.reset();
    }
}
#endif

#ifndef _WIN32
TEST(StopSignals, TheHandlerLeavesErrnoAsItWas)
{
    QObject owner;
    int stops = 0;
    onStopSignals(&owner, [&] { ++stops; });
    // Signals while the program is busy fill the pipe; the handler's write
    // then fails, and the code the signal interrupted must not see that.
    for (int i = 0; i < 70000; ++i)
        std::raise(SIGTERM);
    errno = 0;
    std::raise(SIGTERM);
    EXPECT_EQ(errno, 0);
    QCoreApplication::processEvents();
    EXPECT_GE(stops, 1);
}
#endif

TEST_F(ExitPaths, TheProgramEndsWhateverWindowsAreOpen)
{
    const struct {
        const char* path;
        void (*exit)(App&);
    } cases[] = {
        {"exit button", [](App& a) { QTest::mouseClick(a.form1().imgBtnExit, Qt::LeftButton); }},
        {"window frame", [](App& a) { a.form1().close(); }},
    };
    for (const auto& c : cases) {
        startWithMotorRunning();
        app->showHelpWindow(); // it only hides when asked to close
        bool stillRunning = false;
        QTimer::singleShot(0, &app->form1(), [&] {
            c.exit(*app);
            QTimer::singleShot(0, &app->form1(), [&] {
                stillRunning = true;
                QCoreApplication::exit(1);
            });
        });
        EXPECT_EQ(app->runEventLoop(), 0) << c.path;
        EXPECT_FALSE(stillRunning) << c.path;
        EXPECT_EQ(boardDevice.outputs(), k8055::OutputState{}) << c.path;
        EXPECT_TRUE(savedThePlaces()) << c.path;
        app.reset();
    }
}

TEST_F(ExitPaths, AnExitFromInsideALibraryStillTurnsEveryOutputOffAndSavesThePlaces)
{
    // Qt ends the process with exit() when the display connection breaks.
    EXPECT_EXIT(
        {
            startWithMotorRunning();
            boardDevice.setLineHandler([](double, const QString& words) { std::fprintf(stderr, "%s\n", qPrintable(words)); });
            board.WriteAllDigital(6);
            std::exit(1);
        },
        ::testing::ExitedWithCode(1), "outputs 00000000: all off.*analog 1: 0");
    EXPECT_TRUE(savedThePlaces());
}

} // namespace
