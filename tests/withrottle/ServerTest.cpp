// The phone server over real TCP on this machine, with scripted phones.
#include "FakePhoneLayout.h"
#include "PhoneServer.h"

#include "FakeClock.h"
#include "QtPrint.h"
#include "ScriptedPhone.h"

#include <gtest/gtest.h>

#include <memory>

using namespace withrottle;

namespace {

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.enabled = true;
        settings.port = 0; // any free port
        settings.listenAddress = QStringLiteral("127.0.0.1");
        ASSERT_EQ(server.start(settings), QString());
    }
    std::unique_ptr<ScriptedPhone> phone()
    {
        auto p = std::make_unique<ScriptedPhone>(server.port());
        EXPECT_TRUE(p->hears(QStringLiteral("PTL"))) << "the greeting ends with the points";
        return p;
    }

    FakeClock clock;
    FakePhoneLayout layout;
    ServerSettings settings;
    PhoneServer server{layout, clock};
};

} // namespace

TEST_F(ServerTest, PhonesAreGreetedAndTheSeventeenthIsTurnedAway)
{
    layout.rosterEntries = {{QStringLiteral("BR 218"), 218}};
    auto first = phone();
    EXPECT_EQ(first->heard.mid(0, 3), (QStringList{"VN2.0", "RL1]\\[BR 218}|{218}|{L", "PPA1"}));
    first->say("NEngine Driver 1\nHU1\n");
    EXPECT_TRUE(first->hears(QStringLiteral("*10")));
    ASSERT_TRUE(talkUntil([&] { return !server.phones().isEmpty() && server.phones()[0].deviceId == "1"; }));
    EXPECT_EQ(server.phones()[0].name, QStringLiteral("Engine Driver 1"));
    EXPECT_EQ(server.phones()[0].address, QStringLiteral("127.0.0.1"));

    std::vector<std::unique_ptr<ScriptedPhone>> more;
    for (int i = 1; i < PhoneServer::MaxPhones; ++i)
        more.push_back(phone());
    EXPECT_EQ(server.phones().size(), PhoneServer::MaxPhones);
    ScriptedPhone extra(server.port());
    EXPECT_TRUE(extra.hears(QStringLiteral("HM16 phones are connected already")));
    EXPECT_TRUE(extra.gone());
    EXPECT_EQ(server.phones().size(), PhoneServer::MaxPhones);

    // Another server on the same port is told which port is taken.
    PhoneServer second(layout, clock);
    ServerSettings same = settings;
    same.port = server.port();
    const QString refusal = second.start(same);
    EXPECT_TRUE(refusal.contains(QStringLiteral("127.0.0.1 port %1: another program uses it").arg(server.port())))
        << refusal.toStdString();
}

TEST_F(ServerTest, SpeedsAreFoldedButStopsGoAtOnce)
{
    auto p = phone();
    p->say("M0+S3<;>S3\nM0AS3<;>V28\nM0AS3<;>V56\nM0AS3<;>V84\n");
    ASSERT_TRUE(talkUntil([&] { return layout.calls.size() == 1; }));
    EXPECT_EQ(layout.calls, QStringList{"drive 3 step 6 fwd"});
    clock.advance(SpeedFolder::IntervalMs / 1000.0);
    EXPECT_EQ(layout.calls, (QStringList{"drive 3 step 6 fwd", "drive 3 step 19 fwd"})) << "the newest speed wins";

    // Within the interval of the last speed: V100 waits, and the stop drops it.
    layout.calls.clear();
    p->say("M0AS3<;>V100\nM0AS3<;>V0\n");
    ASSERT_TRUE(talkUntil([&] { return layout.calls.size() == 1; }));
    clock.advance(1);
    EXPECT_EQ(layout.calls, QStringList{"drive 3 step 0 fwd"});

    layout.calls.clear();
    p->say("M0AS3<;>V100\nM0AS3<;>V110\nM0AS3<;>X\n");
    ASSERT_TRUE(talkUntil([&] { return layout.calls.size() == 2; }));
    clock.advance(1);
    EXPECT_EQ(layout.calls, (QStringList{"drive 3 step 22 fwd", "emergency stop 3"}))
        << "the waiting speed never lands after the emergency stop";
}

TEST_F(ServerTest, ALostPhoneStopsItsLocosButTheSamePhoneBackKeepsThem)
{
    auto lost = phone();
    lost->say("HUa\nM0+S3<;>S3\n");
    ASSERT_TRUE(lost->hears(QStringLiteral("M0+S3<;>")));
    lost->socket.abort();
    ASSERT_TRUE(talkUntil([&] { return server.phones().isEmpty(); }));
    EXPECT_EQ(layout.calls, QStringList{"emergency stop 3"});

    layout.calls.clear();
    auto before = phone();
    before->say("HUb\nM0+S4<;>S4\n");
    ASSERT_TRUE(before->hears(QStringLiteral("M0+S4<;>")));
    auto again = phone();
    again->say("HUb\n");
    EXPECT_TRUE(before->gone()) << "a second connection with the same id replaces the older one";
    EXPECT_TRUE(layout.calls.isEmpty());
    ASSERT_EQ(server.phones().size(), 1);

    again->say("M0+S4<;>S4\n");
    ASSERT_TRUE(again->hears(QStringLiteral("M0+S4<;>")));
    server.disconnectPhone(server.phones()[0].id);
    EXPECT_TRUE(again->hears(QStringLiteral("HMDisconnected at the Varnolix panel.")));
    EXPECT_TRUE(again->gone());
    EXPECT_EQ(layout.calls, QStringList{"emergency stop 4"});
}
