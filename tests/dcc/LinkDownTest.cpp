// While the link is lost or the box not answering, stops wait and go first
// when it answers again; every other command is refused with a word and is
// not shown as done.
#include "LS.h"
#include "LinkState.h"
#include "LocoModuleFixture.h"

namespace {

class LinkDown : public LocoModuleFixture {
protected:
    LinkDown()
    {
        writeLocoFile("\"0003\",\"A3\"\r\n\"1234\",\"B1234\"\r\n\"0005\",\"C5\"\r\n");
        shared.PortNumber = 3;
        link.answering = {3};
        dcc.ConnectDccBox();
        EXPECT_TRUE(dcc.roster.ReadLocoFile());
        EXPECT_TRUE(dcc.SelectTrainEngine(0)); // A3
        dcc.DirectionBit = 128;
        sent();
    }

    QString tail() const { return link_words::heldTail(dcc.linkState()); }

    LS ls{shared, dcc};
};

TEST_F(LinkDown, ALostLinkKeepsTheStopsRefusesTheRestAndSendsTheStopsFirstWhenBack)
{
    ASSERT_EQ(dcc.SelectPilot(1), DCC::PilotChoice::Coupled); // B1234, while online
    ASSERT_FALSE(dcc.PilotPending);
    sent();
    link.present.clear();
    link.unplug();
    ASSERT_TRUE(dcc.Reconnecting());
    EXPECT_EQ(dialogs.notices().size(), 1u) << "told without a modal box";

    // Refused: nothing goes out and nothing is shown as done.
    shared.ActiveIndex = 9;
    EXPECT_FALSE(dcc.SendSpeedStep());
    EXPECT_EQ(tail(), QStringLiteral("  not sent: DCC box lost"));
    dcc.OperateMode = true;
    dcc.FunctionPress(2);
    EXPECT_FALSE(dcc.FuncBoxTicked[2]);
    dcc.FunctionRelease(2);
    EXPECT_EQ(dcc.roster.FuncState[0], 0);
    dcc.roster.FuncState[0] = 16;
    EXPECT_TRUE(dcc.ResetFunctionByte());
    EXPECT_EQ(dcc.roster.FuncState[0], 16) << "FT refused: the byte stays";
    EXPECT_EQ(dcc.SelectPilot(1), DCC::PilotChoice::Refused) << "no dissolve without the command station";
    EXPECT_EQ(dcc.PilotIndex, 1);
    shared.CoilSide = QStringLiteral("L");
    EXPECT_FALSE(ls.SwitchAccessory(5));
    dcc.ResumeOperation();
    EXPECT_FALSE(dcc.linkState().stopNotSent);

    // Kept: the toolbar's stops and each loco's speed 0.
    dcc.TrackPowerOff();
    dcc.EmergencyStop();
    EXPECT_EQ(sent(), QStringList{});
    EXPECT_EQ(tail(), QStringLiteral("  STOP NOT SENT  not sent: DCC box lost"));
    EXPECT_TRUE(link_words::locoBanner(dcc.linkState(), 3).startsWith(QStringLiteral("STOP NOT SENT")));

    // Back: the stops go first, then who answered and the track's state.
    link.present = {3};
    clock.advance(1.0);
    ASSERT_FALSE(dcc.Reconnecting());
    EXPECT_EQ(sent(), (QStringList{QStringLiteral("F0 F0"), QStringLiteral("80 80"), QStringLiteral("21 80 A1"),
                                   QStringLiteral("E4 12 00 03 80 75"), QStringLiteral("E4 12 C4 D2 80 60"),
                                   QStringLiteral("21 21 00"), QStringLiteral("21 24 05")}));
    EXPECT_EQ(tail(), QString());
}

TEST_F(LinkDown, APilotIsNotCoupledWhileTheLinkIsLost)
{
    link.present.clear();
    link.unplug();
    EXPECT_EQ(dcc.SelectPilot(2), DCC::PilotChoice::Refused);
    EXPECT_EQ(dcc.PilotIndex, DCC::NoPilot);
    EXPECT_EQ(sent(), QStringList{}) << "not even the speed 0 that precedes a couple";
}

TEST_F(LinkDown, TheEmergencyStopStopsEachLocoAndGoesAgainUntilTheBoxHasIt)
{
    ASSERT_EQ(dcc.SelectPilot(1), DCC::PilotChoice::Coupled);
    sent();
    link.answering.clear();
    dcc.EmergencyStop();
    EXPECT_EQ(sent(), (QStringList{QStringLiteral("80 80"), QStringLiteral("E4 12 00 03 80 75"),
                                   QStringLiteral("E4 12 C4 D2 80 60")}));
    clock.advance(0.5);
    EXPECT_EQ(sent(), QStringList{QStringLiteral("80 80")}) << "unanswered: at once again";

    // The box stops answering: the next go is refused, the stop kept.
    clock.advance(2.0);
    ASSERT_EQ(dcc.session().state(), LinkSession::State::NotAnswering);
    sent();
    shared.ActiveIndex = 9;
    EXPECT_FALSE(dcc.SendSpeedStep());
    EXPECT_EQ(tail(), QStringLiteral("  STOP NOT SENT  not sent: DCC box not answering"));

    link.answering = {3};
    clock.advance(1.0); // the sign-of-life query is answered
    EXPECT_EQ(sent(), (QStringList{QStringLiteral("F0 F0"), QStringLiteral("80 80")}));
    EXPECT_EQ(tail(), QString());
}

} // namespace
