// One phone's conversation with the server, without the socket: what it is
// told, what it drives, and when it is stopped or sent away.
#include "FakePhoneLayout.h"
#include "PhoneSession.h"

#include "FakeClock.h"
#include "QtPrint.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace withrottle;

namespace {

struct Phone {
    Phone(int id, FakePhoneLayout& layout, FakeClock& clock, const ServerSettings& settings,
          std::function<bool(int)> heldByOther = {})
        : session(id, layout, clock, settings,
                  {[this](const QByteArray& line) { heard << QString::fromUtf8(line.chopped(1)); },
                   [this](const QString& why) { closed = why.isEmpty() ? QStringLiteral("quit") : why; },
                   std::move(heldByOther), [this](const QString& device) { identified = device; }})
    {
    }
    void say(const QStringList& lines)
    {
        for (const QString& line : lines)
            session.received((line + QLatin1Char('\n')).toUtf8());
    }
    QStringList take()
    {
        QStringList out = heard;
        heard.clear();
        return out;
    }

    PhoneSession session;
    QStringList heard;
    QString closed;
    QString identified;
};

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        layout.rosterEntries = {{QStringLiteral("BR 218"), 218}, {QStringLiteral("Shunter"), 3}};
        layout.locoChanged = [this](const LocoEvent& event) {
            for (Phone* phone : phones)
                phone->session.locoChanged(event);
        };
        layout.powerChanged = [this](int state) {
            for (Phone* phone : phones)
                phone->session.powerChanged(state);
        };
        layout.accessoryChanged = [this](int number, int state) {
            for (Phone* phone : phones)
                phone->session.accessoryChanged(number, state);
        };
    }
    Phone& phone(int id)
    {
        owned.push_back(std::make_unique<Phone>(id, layout, clock, settings, [this, id](int address) {
            for (Phone* other : phones)
                if (other->session.id() != id && other->session.holds(address))
                    return true;
            return false;
        }));
        phones.push_back(owned.back().get());
        return *owned.back();
    }

    FakeClock clock;
    FakePhoneLayout layout;
    ServerSettings settings;
    std::vector<std::unique_ptr<Phone>> owned;
    std::vector<Phone*> phones;
};

const QStringList AcquiredS3{
    "M0+S3<;>",
    "M0LS3<;>]\\[light]\\[bell]\\[horn]\\[F3]\\[F4]\\[F5]\\[F6]\\[F7]\\[F8]\\[F9]\\[F10]\\[F11]\\[F12",
    "M0AS3<;>F00", "M0AS3<;>F01", "M0AS3<;>F02", "M0AS3<;>F03", "M0AS3<;>F04", "M0AS3<;>F05", "M0AS3<;>F06",
    "M0AS3<;>F07", "M0AS3<;>F08", "M0AS3<;>F09", "M0AS3<;>F010", "M0AS3<;>F011", "M0AS3<;>F012",
    "M0AS3<;>V0", "M0AS3<;>R1", "M0AS3<;>s2"};

} // namespace

TEST_F(SessionTest, APhoneIsGreetedNamedAndGivenItsLoco)
{
    layout.accessories[5] = 4;
    Phone& p = phone(1);
    p.session.greet();
    const QStringList intro = p.take();
    ASSERT_EQ(intro.size(), 5);
    EXPECT_EQ(intro.mid(0, 4), (QStringList{"VN2.0", "RL2]\\[BR 218}|{218}|{L]\\[Shunter}|{3}|{S", "PPA1",
                                            "PTT]\\[Turnouts}|{Turnout]\\[Closed}|{2]\\[Thrown}|{4"}));
    EXPECT_TRUE(intro[4].startsWith("PTL]\\[LT1}|{1}|{1]\\[LT2}|{2}|{1"));
    EXPECT_TRUE(intro[4].contains("]\\[LT5}|{5}|{4]\\["));
    EXPECT_TRUE(intro[4].endsWith("]\\[LT99}|{99}|{1"));

    p.say({"NEngine Driver 482113", "HU482113"});
    EXPECT_EQ(p.take(), QStringList{"*10"});
    EXPECT_EQ(p.session.name(), QStringLiteral("Engine Driver 482113"));
    EXPECT_EQ(p.identified, QStringLiteral("482113"));

    p.say({"M0+S3<;>S3"});
    EXPECT_EQ(p.take(), AcquiredS3);
    EXPECT_EQ(p.session.heldKeys(), QStringList{"S3"});

    settings.allowAccessories = false;
    Phone& q = phone(2);
    q.session.greet();
    EXPECT_EQ(q.take().size(), 3) << "no points offered when phones may not switch them";
}

TEST_F(SessionTest, ThrottleActionsDriveTheLocoAsTheLocoWindowWould)
{
    layout.panelLoco = 218;
    Phone& p = phone(1);
    p.say({"M0+S3<;>S3", "M0+L218<;>EBR 218"});
    p.take();
    struct Case {
        const char* line;
        QStringList calls;
        QStringList heard;
    };
    const Case cases[] = {
        {"M0AS3<;>V63", {"drive 3 step 14 fwd"}, {}},
        {"M0A*<;>V1", {"drive 3 step 1 fwd", "drive 218 step 1 fwd"}, {}},
        // Direction keeps the speed; the same direction again sends nothing.
        {"M0AS3<;>R0", {"drive 3 step 1 rev"}, {"M0AS3<;>R0"}},
        {"M0AS3<;>R0", {}, {"M0AS3<;>R0"}},
        {"M0AS3<;>I", {"drive 3 step 0 rev"}, {}},
        {"M0AL218<;>X", {"emergency stop 218"}, {}},
        // F0 latches: toggles on the press, nothing on the release.
        {"M0AS3<;>F10", {"F0 on 3"}, {"M0AS3<;>F10"}},
        {"M0AS3<;>F00", {}, {}},
        {"M0AS3<;>F10", {"F0 off 3"}, {"M0AS3<;>F00"}},
        // F2 is momentary: on while pressed.
        {"M0AS3<;>F12", {"F2 on 3"}, {"M0AS3<;>F12"}},
        {"M0AS3<;>F02", {"F2 off 3"}, {"M0AS3<;>F02"}},
        {"M0AS3<;>f15", {"F5 on 3"}, {"M0AS3<;>F15"}},
        {"M0AS3<;>f05", {"F5 off 3"}, {"M0AS3<;>F05"}},
        {"M0AS3<;>F120", {}, {}},
        {"M0AS3<;>qV", {}, {"M0AS3<;>V0"}},
        {"M0AL218<;>qV", {}, {"M0AL218<;>V0"}},
        {"M0AS3<;>qR", {}, {"M0AS3<;>R0"}},
        {"M0AS3<;>s1", {}, {"M0AS3<;>s2"}},
        {"M0AS3<;>qm", {}, {"M0AS3<;>m00", "M0AS3<;>m01", "M0AS3<;>m12", "M0AS3<;>m13", "M0AS3<;>m14", "M0AS3<;>m15",
                            "M0AS3<;>m16", "M0AS3<;>m17", "M0AS3<;>m18", "M0AS3<;>m19", "M0AS3<;>m110",
                            "M0AS3<;>m111", "M0AS3<;>m112"}},
        // A loco this throttle does not hold is not driven.
        {"M0AS4<;>V50", {}, {}},
        {"M1AS3<;>V50", {}, {}},
        {"PPA0", {"power off"}, {"PPA0"}},
        {"PTACLT5", {"accessory 5 closed"}, {"PTA2LT5"}},
        {"PTA2LT5", {"accessory 5 thrown"}, {"PTA4LT5"}},
        {"PTA2LT6", {"accessory 6 thrown"}, {"PTA4LT6"}},
        {"PTATLT100", {}, {"HMLT100: there are DCC accessories LT1 to LT99."}},
        // Released without a stop, one loco or all.
        {"M0-S3<;>r", {}, {"M0-S3<;>"}},
        {"M0-*<;>r", {}, {"M0-L218<;>"}},
        {"M0A*<;>V50", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        layout.calls.clear();
        p.say({QString::fromUtf8(c.line)});
        EXPECT_EQ(layout.calls, c.calls);
        EXPECT_EQ(p.take(), c.heard);
    }
}

TEST_F(SessionTest, RefusalsAreToldAndNothingIsShownAsDone)
{
    Phone& p = phone(1);
    struct Case {
        const char* line;
        const char* alert;
    };
    const Case refused[] = {
        {"M0+S0<;>S0", "HMS0: a short address is 1 to 99."},
        {"M0+S100<;>S100", "HMS100: a short address is 1 to 99."},
        {"M0+L0<;>L0", "HML0: a long address is 100 to 9999."},
        {"M0+L10000<;>L10000", "HML10000: a long address is 100 to 9999."},
        {"M0+L42<;>L42", "HML42: XpressNet sends every address below 100 as a short one, so a long 42 would drive loco S42. Use S42."},
        {"M0+X7<;>X7", "HMX7 is not a loco address."},
    };
    for (const Case& c : refused) {
        p.say({QString::fromUtf8(c.line)});
        EXPECT_EQ(p.take(), QStringList{QString::fromUtf8(c.alert)});
    }
    EXPECT_TRUE(p.session.heldKeys().isEmpty());

    p.say({"M0+S3<;>S3"});
    p.take();
    layout.refusal = QStringLiteral("not sent: DCC box lost");
    p.say({"M0AS3<;>V63", "M0AS3<;>F12"});
    EXPECT_EQ(p.take(), (QStringList{"HMnot sent: DCC box lost", "HMnot sent: DCC box lost"}));
    EXPECT_EQ(layout.loco(3).step, 0);

    settings.allowPower = false;
    p.say({"PPA1"});
    EXPECT_EQ(p.take(), QStringList{"HMTrack power is not switched from phones on this layout."});
}

TEST_F(SessionTest, TwoPhonesOnOneLocoSeeEachOthersChanges)
{
    Phone& a = phone(1);
    Phone& b = phone(2);
    a.say({"M0+S3<;>S3"});
    b.say({"MTSS3<;>S3"});
    a.take();
    b.take();
    a.say({"M0AS3<;>V126"});
    EXPECT_EQ(a.take(), QStringList{}) << "its own speed is not echoed";
    EXPECT_EQ(b.take(), QStringList{"MTAS3<;>V126"});
    b.say({"MTAS3<;>R0", "MTAS3<;>F12"});
    EXPECT_EQ(a.take(), (QStringList{"M0AS3<;>V126", "M0AS3<;>R0", "M0AS3<;>F12"}));
    EXPECT_EQ(b.take(), (QStringList{"MTAS3<;>R0", "MTAS3<;>F12"}));
    // The loco window's changes reach every phone.
    layout.locoChanged({3, LocoEvent::Change::Speed, 0, Panel});
    EXPECT_EQ(a.take(), QStringList{"M0AS3<;>V126"});
    EXPECT_EQ(b.take(), QStringList{"MTAS3<;>V126"});
}

TEST_F(SessionTest, ASilentOrLostPhoneHasItsLocosStopped)
{
    layout.panelLoco = 218;
    Phone& silent = phone(1);
    silent.say({"M0+S3<;>S3", "M0+L218<;>L218"});
    clock.advance(60);
    EXPECT_TRUE(layout.calls.isEmpty()) << "no heartbeat asked for: nothing stops";
    silent.say({"*+"});
    clock.advance(PhoneSession::HeartbeatSeconds - 0.5);
    silent.say({"*"});
    clock.advance(PhoneSession::HeartbeatSeconds - 0.5);
    EXPECT_TRUE(layout.calls.isEmpty()) << "any line is a sign of life";
    silent.take();
    clock.advance(1);
    EXPECT_EQ(layout.calls, (QStringList{"emergency stop 3", "emergency stop 218"}));
    EXPECT_EQ(silent.take().last(), QStringLiteral("HMNothing heard from this phone for 10 s: its locos were stopped."));
    clock.advance(60);
    EXPECT_EQ(layout.calls.size(), 2) << "stopped once, not again and again";

    // A lost connection stops what nobody else holds: the loco window shows
    // 218, another phone has 5, nobody else 4.
    layout.calls.clear();
    Phone& other = phone(2);
    other.say({"M0+S5<;>S5"});
    Phone& lost = phone(3);
    lost.say({"M0+S4<;>S4", "M1+L218<;>L218", "M2+S5<;>S5"});
    lost.session.connectionLost();
    EXPECT_EQ(layout.calls, QStringList{"emergency stop 4"});

    // Q releases without stopping.
    layout.calls.clear();
    Phone& quits = phone(4);
    quits.say({"M0+S7<;>S7", "Q", "M0AS7<;>V50"});
    EXPECT_EQ(quits.closed, QStringLiteral("quit"));
    quits.session.connectionLost();
    EXPECT_TRUE(layout.calls.isEmpty());
}

TEST_F(SessionTest, APhoneThatFloodsIsSentAway)
{
    struct Case {
        const char* what;
        std::function<void(Phone&)> flood;
        const char* alert;
        QStringList stops; // the locos it held: nobody drives them now
    };
    const std::vector<Case> cases{
        {"a fifth loco on one throttle",
         [](Phone& p) { p.say({"M0+S1<;>S1", "M0+S2<;>S2", "M0+S3<;>S3", "M0+S4<;>S4", "M0+S5<;>S5"}); },
         "HMMore than 4 locos on throttle 0: this phone was disconnected.",
         {"emergency stop 1", "emergency stop 2", "emergency stop 3", "emergency stop 4"}},
        {"an over-long line", [](Phone& p) { p.session.received(QByteArray(MaxLineBytes + 1, 'N')); },
         "HMA line longer than 1024 bytes: this phone was disconnected.", {}},
        {"401 lines in 2 s",
         [](Phone& p) {
             for (int i = 0; i < 401; ++i)
                 p.say({"*"});
         },
         "HMMore than 400 lines in 2 s: this phone was disconnected.", {}},
    };
    int id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Phone& p = phone(id++);
        layout.calls.clear();
        c.flood(p);
        EXPECT_EQ(layout.calls, c.stops);
        EXPECT_EQ(p.heard.last(), QString::fromUtf8(c.alert));
        EXPECT_EQ(p.closed, QString::fromUtf8(c.alert).mid(2));
        p.take();
        p.say({"M0+S9<;>S9"});
        EXPECT_TRUE(p.take().isEmpty()) << "nothing more is heard from it";
    }
}
