// The DLL module: coil pulses on the board, one at a time, and the motor
// levels, labels and knob frames.
#include "BoardFixture.h"
#include "DCC.h"
#include "DLL.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "FakeWindowHost.h"
#include "LS.h"
#include "SR.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Changes = std::vector<std::pair<double, int>>;

class Dll : public ::testing::Test, protected SimulatedK8055 {
protected:
    Dll()
        : dcc(shared, link, clock, dialogs, dir.folder())
        , sr(shared, dialogs, clock, dir.folder(), dcc, windows)
        , ls(shared, dcc)
        , dll(shared, board, clock, sr, ls, dir.folder())
    {
        board.OpenDevice(0);
        shared.ControlSystem = QStringLiteral("DC");
    }

    void pulse(int code)
    {
        shared.CoilCode = static_cast<std::uint8_t>(code);
        dll.PulseCoil();
    }

    // A knob click: press, then release.
    QString click(int knob, int button)
    {
        shared.ActiveIndex = static_cast<std::uint8_t>(knob);
        dll.KnobButton = static_cast<std::uint8_t>(button);
        dll.StepMotorSpeed();
        const QString label = dll.StepMotorSpeed();
        dll.ShowKnob();
        return label;
    }

    TestFolder dir;
    Shared shared;
    FakeDialogs dialogs;
    FakeDccLink link;
    FakeWindowHost windows;
    DCC dcc;
    SR sr;
    LS ls;
    DLL dll;
};

TEST_F(Dll, CoilSixtyFourSelectsFiresThenClears)
{
    pulse(128);
    EXPECT_EQ(digitalChanges(), (Changes{{0.0, 128}, {0.5, 129}, {1.0, 0}}));
    EXPECT_EQ(shared.CoilCode, 128) << "2c again after the pulse";
    EXPECT_FALSE(dll.coilBusy());
}

TEST_F(Dll, CoilsPulseWhateverTheDccLinkDoes)
{
    // The offline rule is about the DCC box: the board's coils work without it.
    const struct {
        const char* system;
        int port;
    } cases[] = {{"DC", 0}, {"DC", 3}, {"DCC + DC", 3}, {"DCC + DC", 0}};
    for (const auto& c : cases) {
        SimulatedK8055 fresh;
        fresh.board.OpenDevice(0);
        DLL module(shared, fresh.board, fresh.clock, sr, ls, dir.folder());
        shared.ControlSystem = QString::fromLatin1(c.system);
        shared.PortNumber = static_cast<std::uint8_t>(c.port);
        shared.CoilCode = 8;
        module.PulseCoil();
        EXPECT_EQ(fresh.digitalValues(), (std::vector<int>{8, 9, 0})) << c.system << " port " << c.port;
        EXPECT_EQ(fresh.clock.waits, 2);
    }
}

TEST_F(Dll, ARequestDuringAPulseWaitsItsTurnWithItsOwnCode)
{
    bool clicked = false;
    clock.duringWait = [&] {
        if (clicked)
            return;
        clicked = true;
        // Coil 5 clicked while coil 64 is selected.
        shared.CoilCode = 10;
        dll.SwitchCoil();
        EXPECT_EQ(dll.queuedCoils(), 1u);
    };
    pulse(128);
    EXPECT_EQ(digitalChanges(), (Changes{{0.0, 128}, {0.5, 129}, {1.0, 0}, {1.0, 10}, {1.5, 11}, {2.0, 0}}));
    EXPECT_EQ(shared.CoilCode, 10);
    EXPECT_EQ(dll.queuedCoils(), 0u);
}

TEST_F(Dll, APulseCutBeforeItFiredRunsOnceMoreAndIsReportedWhenCutAgain)
{
    // The guard ticks in the waits named: a handler inside held the loop.
    const struct {
        std::set<int> cutInWait;
        std::vector<int> outputs;
        bool reported;
    } cases[] = {
        {{}, {6, 7, 0}, false},
        {{1}, {6, 0, 6, 7, 0}, false},
        {{2}, {6, 7, 0}, false}, // the fire phase had run its time: fired
        {{1, 2}, {6, 0, 6, 0}, true},
    };
    for (const auto& c : cases) {
        SimulatedK8055 fresh;
        fresh.board.OpenDevice(0);
        DLL module(shared, fresh.board, fresh.clock, sr, ls, dir.folder());
        std::vector<int> reported;
        module.notFired = [&](std::uint8_t code) { reported.push_back(code); };
        int waits = 0;
        fresh.clock.duringWait = [&] {
            if (c.cutInWait.contains(++waits)) {
                fresh.clock.advance(5.0);
                module.timPulseGuard_Timer();
            }
        };
        shared.CoilCode = 6;
        module.PulseCoil();
        EXPECT_EQ(fresh.digitalValues(), c.outputs) << "cut in waits " << ::testing::PrintToString(c.cutInWait);
        EXPECT_EQ(reported, c.reported ? std::vector<int>{6} : std::vector<int>{});
    }
}

TEST_F(Dll, AbortingAtTheEndStopsThePulseAndDropsTheQueue)
{
    int waits = 0;
    clock.duringWait = [&] {
        if (++waits > 1)
            return;
        shared.CoilCode = 10;
        dll.SwitchCoil(); // queued
        dll.abortCoils();
    };
    shared.ActiveIndex = 1;
    dll.KnobButton = 2;
    dll.StepMotorSpeed();
    pulse(128);
    EXPECT_EQ(digitalValues(), (std::vector<int>{128, 0})) << "not run again";
    EXPECT_EQ(device.outputs().analog1, 0) << "the motor stops too";
    EXPECT_EQ(dll.queuedCoils(), 0u);
    EXPECT_FALSE(dll.coilBusy());
}

TEST_F(Dll, TheGuardOutsideAPulseChangesNothing)
{
    board.WriteAllDigital(6);
    dll.timPulseGuard_Timer();
    EXPECT_EQ(device.outputs().digital, 6);
}

TEST_F(Dll, InDccTheButtonNumberIsTheAccessoryNumber)
{
    link.present = {3};
    link.answering = {3};
    link.open(3);
    shared.PortNumber = 3;
    shared.ControlSystem = QStringLiteral("DCC");
    const struct {
        int button;
        const char* side;
        QByteArray on;
    } cases[] = {
        {1, "L", QByteArray::fromHex("52018AD9")},
        {3, "R", QByteArray::fromHex("52018FDC")},
        {4, "L", QByteArray::fromHex("520288D8")},
        {99, "L", QByteArray::fromHex("52198EC5")},
    };
    for (const auto& c : cases) {
        link.written.clear();
        shared.CoilCode = static_cast<std::uint8_t>(2 * c.button);
        shared.CoilSide = QString::fromLatin1(c.side);
        dll.SwitchCoil();
        ASSERT_EQ(link.written.size(), 2) << c.button;
        EXPECT_EQ(link.written[0], c.on) << c.button;
    }
    EXPECT_TRUE(device.outputChanges().empty()) << "no coil on the board";
    EXPECT_TRUE(shared.FrameText.startsWith(QStringLiteral(" 82  25  134"))) << shared.FrameText.toStdString();
}

TEST_F(Dll, TwoAccessoryClicksRunOneAfterTheOtherWithTheirOwnSides)
{
    link.present = {3};
    link.answering = {3};
    link.open(3);
    shared.PortNumber = 3;
    shared.ControlSystem = QStringLiteral("DCC");
    bool clicked = false;
    clock.duringWait = [&] {
        if (clicked)
            return;
        clicked = true;
        shared.CoilCode = 8;
        shared.CoilSide = QStringLiteral("L");
        dll.SwitchCoil();
    };
    shared.CoilCode = 2;
    shared.CoilSide = QStringLiteral("R");
    dll.SwitchCoil();
    EXPECT_EQ(link.written, (QByteArrayList{QByteArray::fromHex("52018BD8"), QByteArray::fromHex("520183D0"),
                                            QByteArray::fromHex("520288D8"), QByteArray::fromHex("520280D0")}));
}

TEST_F(Dll, MotorLevelAndLabelFollowTheStep)
{
    const int labels[] = {0, 7, 14, 21, 28, 36, 43, 50, 57, 64, 72, 79, 86, 93, 100};
    shared.ActiveIndex = 1;
    dll.KnobButton = 2;
    for (int step = 1; step <= 14; ++step) {
        EXPECT_EQ(dll.StepMotorSpeed(), QString::number(labels[step])) << "step " << step;
        EXPECT_EQ(device.outputs().analog1, 15 * step);
    }
    dll.KnobButton = 1;
    for (int step = 13; step >= 0; --step)
        EXPECT_EQ(dll.StepMotorSpeed(), QString::number(labels[step])) << "step " << step;
    EXPECT_EQ(device.outputs().analog1, 0);
}

TEST_F(Dll, ALeftPressAtStopWritesLevelZeroAgain)
{
    const std::size_t before = device.writtenReports().size();
    shared.ActiveIndex = 1;
    dll.KnobButton = 1;
    EXPECT_EQ(dll.StepMotorSpeed(), QStringLiteral("0"));
    EXPECT_EQ(device.writtenReports().size(), before + 1);
    EXPECT_EQ(device.writtenReports().back()[3], 0);
}

TEST_F(Dll, KnobsDriveTheirOwnOutputs)
{
    for (int i = 0; i < 5; ++i)
        click(1, 2);
    EXPECT_EQ(device.outputs().analog1, 150);
    click(2, 1);
    EXPECT_EQ(device.outputs().analog2, 0);
    EXPECT_EQ(device.outputs().analog1, 150);
}

TEST_F(Dll, AMiddleButtonOrAnIndexThatIsNoKnobChangesNothing)
{
    click(1, 2);
    EXPECT_EQ(click(1, 4), QStringLiteral("14"));
    EXPECT_EQ(dll.KnobFrame[1], 1);
    const std::size_t before = device.writtenReports().size();
    shared.ActiveIndex = 7; // a coil button hovered
    EXPECT_EQ(dll.StepMotorSpeed(), QString());
    EXPECT_EQ(dll.ShowKnob().knob, 0);
    EXPECT_EQ(device.writtenReports().size(), before);
}

TEST_F(Dll, TheKnobPictureIsNamedByDirectionAndFrame)
{
    dll.KnobDir[2] = QStringLiteral("Rev ");
    click(2, 2);
    shared.ActiveIndex = 2;
    dll.KnobButton = 2;
    const DLL::KnobPicture picture = dll.ShowKnob();
    EXPECT_EQ(picture.knob, 2);
    EXPECT_EQ(picture.direction, QStringLiteral("Rev"));
    EXPECT_EQ(picture.frame, 2);
    EXPECT_TRUE(picture.path.endsWith(QStringLiteral("/Data/VM110/KnobRev2.bmp"), Qt::CaseInsensitive)) << picture.path.toStdString();
}

} // namespace
