// The listening half of the link: answers paired with frames, silence,
// one retry after a transmission error, broadcasts and take-overs.
#include "Hex.h"
#include "DccReceiver.h"
#include "FakeClock.h"
#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QByteArrayList>

namespace {

using Outcome = DccReceiver::Answer::Outcome;

class Receiver : public ::testing::Test {
protected:
    Receiver()
        : receiver(clock, DccReceiver::Hooks{[this](const QByteArray& frame) { resent << frame; }, [this] { ++probes; },
                                             [this] { ++changes; },
                                             [this](const DccReceiver::Answer& a) { answers.push_back(a); }})
    {
    }

    void hear(const char* frame, bool good = true) { receiver.received({hex(frame), good, false}); }

    FakeClock clock;
    QByteArrayList resent;
    int probes = 0;
    int changes = 0;
    std::vector<DccReceiver::Answer> answers;
    DccReceiver receiver;
};

TEST_F(Receiver, AnAcknowledgementSettlesTheOldestFrameAndNothingRunsAfterwards)
{
    receiver.sent(hex("E4120003897C"));
    receiver.sent(hex("520189DA"));
    hear("010405");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].frame, hex("E4120003897C"));
    EXPECT_EQ(answers[0].outcome, Outcome::Accepted);
    hear("010405");
    EXPECT_EQ(answers.size(), 2u);
    EXPECT_FALSE(receiver.owes());
    EXPECT_EQ(clock.activeTimers(), 0) << "an idle link keeps no timer going";
}

TEST_F(Receiver, TwoUnansweredFramesInARowMakeTheBoxSilentUntilItSpeaksAgain)
{
    receiver.sent(hex("E4120003897C"));
    clock.advance(0.49);
    EXPECT_TRUE(answers.empty());
    clock.advance(0.02);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].outcome, Outcome::NoAnswer);
    EXPECT_FALSE(receiver.state().boxSilent) << "one miss is not yet silence";

    receiver.sent(hex("E4120003897C"));
    hear("010405"); // answered: the count starts again
    receiver.sent(hex("E4120003897C"));
    clock.advance(0.6);
    EXPECT_FALSE(receiver.state().boxSilent);
    receiver.sent(hex("E4120003897C"));
    clock.advance(0.6);
    EXPECT_TRUE(receiver.state().boxSilent);

    // Silent: the box is asked for a sign of life once a second.
    EXPECT_EQ(probes, 0);
    clock.advance(1.0);
    EXPECT_EQ(probes, 1);
    clock.advance(1.0);
    EXPECT_EQ(probes, 2);
    hear("01", false); // bad bytes are no sign of life
    EXPECT_TRUE(receiver.state().boxSilent);
    hear("02013635");
    EXPECT_FALSE(receiver.state().boxSilent);
    clock.advance(5.0);
    EXPECT_EQ(probes, 2);
}

TEST_F(Receiver, UnansweredQueriesAreNoSignOfSilence)
{
    receiver.sent(hex("212100"));
    receiver.sent(hex("212405"));
    clock.advance(1.1);
    EXPECT_EQ(answers.size(), 2u);
    EXPECT_FALSE(receiver.state().boxSilent);
    receiver.sent(hex("E4120003897C"));
    clock.advance(0.6);
    EXPECT_FALSE(receiver.state().boxSilent) << "one command unanswered";
}

TEST_F(Receiver, ATransmissionErrorIsAnsweredByOneRetryThenReported)
{
    for (const char* error : {"010100", "010203", "010302", "010607", "010A0B", "6180E1", "6181E0"}) {
        resent.clear();
        answers.clear();
        receiver.sent(hex("E4120003897C"));
        hear(error);
        ASSERT_EQ(resent, QByteArrayList{hex("E4120003897C")}) << error;
        EXPECT_TRUE(answers.empty()) << error;
        hear(error);
        EXPECT_EQ(resent.size(), 1) << "only once: " << error;
        ASSERT_EQ(answers.size(), 1u) << error;
        EXPECT_EQ(answers[0].outcome, Outcome::NotPassedOn) << error;
        EXPECT_TRUE(receiver.state().notPassedOn) << error;
        // The next frame that goes through clears the word.
        receiver.sent(hex("E4120003897C"));
        hear("010405");
        EXPECT_FALSE(receiver.state().notPassedOn) << error;
    }
}

TEST_F(Receiver, AFrameIsSentAgainOnlyWhileItIsStillTrue)
{
    const struct {
        std::vector<const char*> later; // sent after the frame the error answers
        bool retried;
        const char* why;
    } rows[] = {
        {{}, true, "nothing newer"},
        {{"E41200038075"}, false, "the same loco stopped since"},
        {{"E41200058073"}, true, "another loco"},
        {{"E420000310D7"}, true, "the same loco's functions"},
        {{"8080"}, false, "an emergency stop since"},
        {{"2180A1"}, false, "power off since"},
    };
    for (const auto& row : rows) {
        receiver.reset();
        resent.clear();
        answers.clear();
        receiver.sent(hex("E4120003897C"));
        for (const char* frame : row.later)
            receiver.sent(hex(frame));
        hear("6181E0"); // busy
        EXPECT_EQ(resent.size(), row.retried ? 1 : 0) << row.why;
        EXPECT_EQ(answers.empty(), row.retried) << row.why;
        if (!row.retried) {
            EXPECT_EQ(answers[0].outcome, Outcome::Superseded) << row.why;
            EXPECT_FALSE(receiver.state().notPassedOn) << row.why;
        }
    }
    // A function's or an accessory's ON never lands after its OFF.
    for (const auto& [on, off] : {std::pair{"E420000314D3", "E420000310D7"}, std::pair{"520189DA", "520181D2"}}) {
        receiver.reset();
        resent.clear();
        receiver.sent(hex(on));
        receiver.sent(hex(off));
        hear("010203");
        EXPECT_TRUE(resent.isEmpty()) << on;
        hear("010203");
        EXPECT_EQ(resent, QByteArrayList{hex(off)}) << "the OFF itself is still true";
    }
}

TEST_F(Receiver, AnswersSettleOnlyWhatTheyAnswer)
{
    receiver.sent(hex("E5430003C4D2B3"));
    // Nothing of this answers a double header.
    receiver.received({hex("010405"), true, true}); // marked as a broadcast
    for (const char* other : {"420180C3", "810081", "E34004D275", "62220040", "0102", "6321360074", "02013635"})
        hear(other);
    EXPECT_TRUE(answers.empty());
    hear("E18362");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].outcome, Outcome::Refused);

    // Each query by its own reply, the command by the acknowledgement.
    answers.clear();
    receiver.sent(hex("F0F0"));
    receiver.sent(hex("212405"));
    receiver.sent(hex("E4120003897C"));
    hear("010405");
    hear("62220141");
    hear("02013635");
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].frame, hex("E4120003897C"));
    EXPECT_EQ(answers[1].frame, hex("212405"));
    EXPECT_EQ(answers[2].frame, hex("F0F0"));
    EXPECT_FALSE(receiver.owes());
}

TEST_F(Receiver, TheCommandStationsStatusIsTheTrackState)
{
    const struct {
        const char* frame;
        LinkState::Track track;
    } rows[] = {{"62220141", LinkState::Track::PowerOff},
                {"62220040", LinkState::Track::Normal},
                {"62220242", LinkState::Track::EmergencyStop},
                {"62220848", LinkState::Track::ServiceMode},
                {"62224606", LinkState::Track::EmergencyStop}}; // power-up and start-mode bits aside
    for (const auto& row : rows) {
        hear(row.frame);
        EXPECT_EQ(receiver.state().track, row.track) << row.frame;
    }
}

TEST_F(Receiver, ARetryThatGoesThroughLeavesNoWord)
{
    receiver.sent(hex("E4120003897C"));
    hear("010607");
    hear("010405");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].outcome, Outcome::Accepted);
    EXPECT_FALSE(receiver.state().notPassedOn);
}

TEST_F(Receiver, BroadcastsSetTheTrackStateAndTimeSlotWords)
{
    const struct {
        const char* frame;
        LinkState::Track track;
    } rows[] = {{"610061", LinkState::Track::PowerOff},
                {"810081", LinkState::Track::EmergencyStop},
                {"610263", LinkState::Track::ServiceMode},
                {"610160", LinkState::Track::Normal}};
    for (const auto& row : rows) {
        const int before = changes;
        hear(row.frame);
        EXPECT_EQ(receiver.state().track, row.track) << row.frame;
        EXPECT_EQ(changes, before + 1) << row.frame;
    }
    hear("010504");
    EXPECT_TRUE(receiver.state().stationSilent);
    hear("010706");
    EXPECT_FALSE(receiver.state().stationSilent);
    hear("010504");
    receiver.sent(hex("E4120003897C"));
    hear("010405"); // normal answers are back
    EXPECT_FALSE(receiver.state().stationSilent);
}

TEST_F(Receiver, TheStationCommandsAreAnsweredByTheirBroadcast)
{
    receiver.sent(hex("8080"));
    hear("810081");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].outcome, Outcome::Accepted);
    // A broadcast does not answer a loco frame.
    receiver.sent(hex("E4120003897C"));
    hear("610061");
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_TRUE(receiver.owes());
}

TEST_F(Receiver, ARefusedDoubleHeaderSaysWhyInPlainWords)
{
    const struct {
        const char* reply;
        const char* why;
    } rows[] = {{"E18160", "a loco was not driven from this panel (or its address is 0)"},
                {"E18362", "a loco is already in another double header"},
                {"E18465", "a loco is not at speed 0"},
                {"6182E3", "the command station does not support it"}};
    for (const auto& row : rows) {
        answers.clear();
        receiver.sent(hex("E5430003C4D2B3"));
        hear(row.reply);
        ASSERT_EQ(answers.size(), 1u) << row.reply;
        EXPECT_EQ(answers[0].outcome, Outcome::Refused) << row.reply;
        EXPECT_EQ(answers[0].why, QString::fromLatin1(row.why)) << row.reply;
    }
}

TEST_F(Receiver, ATakeOverNamesTheLocoUntilCleared)
{
    hear("E34004D275");
    EXPECT_EQ(receiver.state().takenOver, 1234u);
    receiver.clearTakenOver();
    EXPECT_EQ(receiver.state().takenOver, 0u);
}

TEST_F(Receiver, TheVersionsBecomeWords)
{
    receiver.sent(hex("F0F0"));
    hear("02013635");
    EXPECT_EQ(receiver.state().identity, QStringLiteral("interface 0.1 / 3.6"));
    receiver.sent(hex("212100"));
    hear("6321361266");
    EXPECT_EQ(receiver.state().identity, QStringLiteral("interface 0.1 / 3.6, command station z21 3.6"));
    EXPECT_FALSE(receiver.owes());
    receiver.reset();
    EXPECT_EQ(receiver.state(), LinkState{});
}

} // namespace
