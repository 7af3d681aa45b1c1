// What a command does in each of the link's states: sent, kept until the box
// answers again, or refused with a word.
#include "Hex.h"
#include "LinkSession.h"
#include "QtPrint.h"

#include <gtest/gtest.h>

namespace {

using State = LinkSession::State;
using Verdict = LinkSession::Verdict;

TEST(LinkSession, EachCommandInEachStateIsSentKeptOrRefused)
{
    const struct {
        const char* frame;
        const char* what;
    } commands[] = {{"8080", "emergency stop"},       {"2180A1", "power off"},
                    {"E41200038075", "speed 0"},     {"E41200038174", "emergency-stop step"},
                    {"E41300038074", "128-step 0"}, {"520181D2", "accessory off"},
                    {"E4120003897C", "speed step"},  {"E420000310D7", "function"},
                    {"520189DA", "accessory on"},   {"E5430003C4D2B3", "couple"},
                    {"E54300030000A5", "dissolve"}, {"2181A0", "resume"},
                    {"92000391", "one loco's emergency stop"}};
    const struct {
        State state;
        const char* word; // of a refusal; empty: everything is sent
    } states[] = {{State::OfflineByChoice, ""},
                  {State::Online, ""},
                  {State::Connecting, "DCC box lost"},
                  {State::Lost, "DCC box lost"},
                  {State::NotAnswering, "DCC box not answering"}};
    for (const auto& s : states) {
        for (const auto& c : commands) {
            LinkSession session;
            session.setState(s.state);
            const bool stop = QByteArray(c.what).contains("off") || QByteArray(c.what).contains("stop")
                || QByteArray(c.what).contains(" 0");
            const Verdict expected = !*s.word ? Verdict::Send : stop ? Verdict::Kept : Verdict::Refused;
            const std::string label = std::string(c.what) + " / " + s.word;
            EXPECT_EQ(session.admit(hex(c.frame)), expected) << label;
            EXPECT_EQ(session.stopNotSent(), expected == Verdict::Kept) << label;
            EXPECT_EQ(session.notSent(), expected == Verdict::Refused ? QString::fromLatin1(s.word) : QString()) << label;
        }
    }
}

TEST(LinkSession, KeptStopsGoLayoutFirstOnePerTargetAndOfflineByChoiceForgetsThem)
{
    LinkSession session;
    session.setState(State::Lost);
    for (const char* frame : {"E41200038075", "520181D2", "92000593" /* loco 5's emergency stop */, "2180A1",
                              "E412000300F5" /* loco 3 again */, "520180D3" /* the pair's other output */, "520181D2",
                              "8080", "E41200058073" /* loco 5 again */})
        EXPECT_EQ(session.admit(hex(frame)), Verdict::Kept) << frame;
    EXPECT_EQ(session.admit(hex("E4120003897C")), Verdict::Refused) << "a go does not replace a kept stop";
    EXPECT_EQ(session.takeKept(), (QByteArrayList{hex("8080"), hex("2180A1"), hex("520180D3"), hex("520181D2"),
                                                  hex("E412000300F5"), hex("E41200058073")}));
    EXPECT_FALSE(session.stopNotSent());

    session.admit(hex("8080"));
    EXPECT_TRUE(session.setState(State::Online));
    EXPECT_TRUE(session.notSent().isEmpty()) << "online again ends the word";
    EXPECT_TRUE(session.stopNotSent()) << "until the caller sends what was kept";
    session.setState(State::Lost);
    session.admit(hex("E4120003897C"));
    session.setState(State::OfflineByChoice);
    EXPECT_FALSE(session.stopNotSent());
    EXPECT_TRUE(session.notSent().isEmpty());
}

} // namespace
