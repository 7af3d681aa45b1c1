// Speed steps, the flood guards and the settings file of the phone server.
#include "FloodGuards.h"
#include "ServerSettings.h"
#include "SpeedSteps.h"

#include "FakeClock.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace withrottle;

TEST(PhoneSpeed, EveryPhoneSpeedMapsToTheNearestOf28StepsAndBack)
{
    const std::pair<int, int> table[] = {{0, 0},  {1, 1},   {2, 1},   {4, 1},   {5, 1},   {6, 1},    {7, 2},
                                         {9, 2},  {42, 9},  {63, 14}, {64, 14}, {65, 14}, {122, 27}, {123, 27},
                                         {124, 28}, {126, 28}, {-3, 0}, {200, 28}};
    for (const auto& [speed, step] : table)
        EXPECT_EQ(stepOfSpeed(speed), step) << "V" << speed;
    for (int speed = 1; speed <= MaxPhoneSpeed; ++speed) {
        const int expected = std::max(1, static_cast<int>(std::lround(speed * 28.0 / 126.0)));
        EXPECT_EQ(stepOfSpeed(speed), expected) << "V" << speed;
    }
    for (int step = 0; step <= MaxStep; ++step)
        EXPECT_EQ(stepOfSpeed(speedOfStep(step)), step) << "step " << step;
}

TEST(PhoneFlood, SpeedsAreFoldedPerLocoButNeverDelayedPastTheInterval)
{
    FakeClock clock;
    std::vector<std::pair<int, int>> sent;
    SpeedFolder folder(clock, [&](int address, const SpeedFolder::Speed& speed) { sent.emplace_back(address, speed.step); });

    folder.speed(3, {10});           // first: at once
    folder.speed(3, {11});           // within 50 ms: waits
    folder.speed(3, {12});           // the newer one wins
    folder.speed(218, {20});         // another loco is not held up
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{3, 10}, {218, 20}}));
    EXPECT_TRUE(folder.waiting(3));
    clock.advance(0.049);
    EXPECT_EQ(sent.size(), 2u);
    clock.advance(0.002);
    EXPECT_EQ(sent.back(), std::make_pair(3, 12));
    EXPECT_FALSE(folder.waiting(3));

    // A stop drops what waits: nothing older may land after it.
    folder.speed(3, {13});
    EXPECT_TRUE(folder.waiting(3));
    folder.stopped(3);
    clock.advance(1.0);
    EXPECT_EQ(sent.back(), std::make_pair(3, 12));
    EXPECT_EQ(sent.size(), 3u);
    folder.speed(3, {14});
    EXPECT_EQ(sent.back(), std::make_pair(3, 14));
}

TEST(PhoneFlood, OneLineTooManyWithinTheWindowIsRefused)
{
    LineRate rate(400, 2.0);
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(rate.take(i * 0.004)) << i;
    EXPECT_FALSE(rate.take(1.9));
    LineRate steady(400, 2.0);
    for (int i = 0; i < 4000; ++i)
        ASSERT_TRUE(steady.take(i * 0.0051)) << "a phone at 196 lines a second is never cut off, line " << i;
}

TEST(PhoneSettings, TheFileIsReadWrittenAndAGarbledOneNamed)
{
    TestFolder folder;
    const QString path = folder.path() + QStringLiteral("/data/text/withrottle.txt");
    EXPECT_FALSE(readSettings(path).settings) << "no file: defaults, no message";
    EXPECT_TRUE(readSettings(path).error.isEmpty());

    ServerSettings chosen;
    chosen.enabled = true;
    chosen.port = 12091;
    chosen.listenAddress = QStringLiteral("192.168.1.5");
    chosen.allowPower = false;
    EXPECT_EQ(writeSettings(path, chosen), QString());
    EXPECT_EQ(folder.read(QStringLiteral("data/text/withrottle.txt")),
              QByteArray("#TRUE#,12091,\"192.168.1.5\",#FALSE#,#TRUE#\r\n"));
    EXPECT_EQ(readSettings(path).settings, chosen);

    struct Garbled {
        const char* content;
        const char* says;
    };
    const Garbled garbled[] = {
        {"#TRUE#,12090,\"\"\r\n", "line"},
        {"yes,12090,\"\",#TRUE#,#TRUE#\r\n", "line 1"},
        {"#TRUE#,0,\"\",#TRUE#,#TRUE#\r\n", "port 0"},
        {"#TRUE#,70000,\"\",#TRUE#,#TRUE#\r\n", "port 70000"},
        {"#TRUE#,12090,\"my laptop\",#TRUE#,#TRUE#\r\n", "\"my laptop\""},
    };
    for (const Garbled& g : garbled) {
        SCOPED_TRACE(g.content);
        folder.write(QStringLiteral("data/text/withrottle.txt"), g.content);
        const SettingsFile file = readSettings(path);
        EXPECT_FALSE(file.settings);
        EXPECT_TRUE(file.error.contains(QStringLiteral("withrottle.txt"))) << file.error.toStdString();
        EXPECT_TRUE(file.error.contains(QString::fromUtf8(g.says))) << file.error.toStdString();
    }
    folder.write(QStringLiteral("data/text/withrottle.txt"), "#TRUE#,12090,\"\",#TRUE#,#TRUE#\r\n");
    EXPECT_EQ(readSettings(path).settings->listenAddress, QString());
}
