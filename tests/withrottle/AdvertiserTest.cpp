// Publishing the phone server through Avahi, against a stand-in on a bus of
// the test's own.
#include "AvahiAdvertiser.h"
#include "AvahiStandIn.h"
#include "PrivateBus.h"

#include "QtPrint.h"
#include "ScriptedPhone.h"

#include <QDBusConnection>

#include <gtest/gtest.h>

namespace {

class AdvertiserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(bus.address().isEmpty()) << bus.error().toStdString();
        ++connections;
        standInBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("stand-in %1").arg(connections)));
        programBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("program %1").arg(connections)));
        ASSERT_TRUE(standInBus->isConnected());
    }

    // A private connection must be closed before its last handle goes.
    void TearDown() override
    {
        if (standInBus)
            QDBusConnection::disconnectFromBus(standInBus->name());
        if (programBus)
            QDBusConnection::disconnectFromBus(programBus->name());
    }

    PrivateBus bus;
    std::unique_ptr<QDBusConnection> standInBus;
    std::unique_ptr<QDBusConnection> programBus;
    static inline int connections = 0;
};

} // namespace

TEST_F(AdvertiserTest, PublishesTheServiceAndRenamesItOnACollision)
{
    AvahiStandIn avahi(*standInBus);
    avahi.taken << QStringLiteral("Millbrook Junction");
    AvahiAdvertiser advertiser(*programBus);
    advertiser.publish(QStringLiteral("Millbrook Junction"), 12090);
    EXPECT_EQ(advertiser.state(), ServiceAdvertiser::State::Publishing);
    ASSERT_TRUE(talkUntil([&] { return advertiser.state() != ServiceAdvertiser::State::Publishing; }))
        << avahi.members().join(u' ').toStdString();
    EXPECT_EQ(advertiser.state(), ServiceAdvertiser::State::Published) << advertiser.problem().toStdString();
    EXPECT_EQ(advertiser.name(), QStringLiteral("Millbrook Junction #2"));
    EXPECT_EQ(avahi.members(), (QStringList{"EntryGroupNew", "AddService", "Commit", "GetAlternativeServiceName", "Reset",
                                            "AddService", "Commit"}));

    // AddService(interface, protocol, flags, name, type, domain, host, port, txt)
    const QVariantList added = avahi.calls[5].arguments;
    ASSERT_EQ(added.size(), 9);
    EXPECT_EQ(avahi.calls[5].path, QStringLiteral("/Client1/EntryGroup1"));
    EXPECT_EQ(added[0].toInt(), -1);
    EXPECT_EQ(added[1].toInt(), -1);
    EXPECT_EQ(added[3].toString(), QStringLiteral("Millbrook Junction #2"));
    EXPECT_EQ(added[4].toString(), QStringLiteral("_withrottle._tcp"));
    EXPECT_EQ(added[7].toUInt(), 12090u);

    advertiser.withdraw();
    EXPECT_EQ(advertiser.state(), ServiceAdvertiser::State::Off);
    ASSERT_TRUE(talkUntil([&] { return avahi.members().endsWith(QStringLiteral("Free")); }));
}

TEST_F(AdvertiserTest, WithoutAvahiThePhonesTypeTheAddress)
{
    AvahiAdvertiser advertiser(*programBus);
    advertiser.publish(QStringLiteral("Millbrook Junction"), 12090);
    ASSERT_TRUE(talkUntil([&] { return advertiser.state() != ServiceAdvertiser::State::Publishing; }));
    EXPECT_EQ(advertiser.state(), ServiceAdvertiser::State::Unavailable);
    EXPECT_EQ(advertiser.problem(), QStringLiteral("Avahi is not running on this computer"));

    AvahiAdvertiser noBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none")));
    noBus.publish(QStringLiteral("Millbrook Junction"), 12090);
    EXPECT_EQ(noBus.state(), ServiceAdvertiser::State::Unavailable);
    EXPECT_TRUE(noBus.problem().startsWith(QStringLiteral("the system bus cannot be reached"))) << noBus.problem().toStdString();
    QDBusConnection::disconnectFromBus(QStringLiteral("none"));
}
