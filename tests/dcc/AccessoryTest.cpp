// DCC accessory switching: the frame builder, the address rule and the on,
// pause, off, pause sequence.
#include "AccessoryFrames.h"
#include "DCC.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDccLink.h"
#include "LS.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

TEST(AccessoryFrames, NumberGivesAddressByteAndPair)
{
    const struct {
        int number;
        int address;
        int pair;
    } cases[] = {{1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 0}, {12, 4, 0}, {99, 25, 3}};
    for (const auto& c : cases) {
        const auto target = frames::accessoryTarget(static_cast<std::uint8_t>(c.number));
        EXPECT_EQ(target.address, c.address) << c.number;
        EXPECT_EQ(target.pair, c.pair) << c.number;
    }
}

TEST(AccessoryFrames, FramesCarryActivatePairSideAndCheckByte)
{
    const struct {
        int address;
        int activate;
        int pair;
        bool second;
        const char* frame;
    } cases[] = {
        {1, 8, 1, false, "52018AD9"}, {1, 0, 1, false, "520182D1"}, {1, 8, 1, true, "52018BD8"},
        {1, 0, 1, true, "520183D0"},  {2, 8, 0, false, "520288D8"}, {2, 0, 0, false, "520280D0"},
        // Independent vectors: Lenz turnout 5 (address 1, pair 0).
        {1, 8, 0, true, "520189DA"},  {1, 8, 0, false, "520188DB"}, {1, 0, 0, false, "520180D3"},
    };
    for (const auto& c : cases) {
        const auto data = frames::accessoryData(static_cast<std::uint8_t>(c.activate), static_cast<std::uint8_t>(c.pair), c.second);
        const auto frame = frames::accessoryFrame(static_cast<std::uint8_t>(c.address), data);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(frame.data()), 4), hex(c.frame)) << c.frame;
    }
}

class Accessories : public ::testing::Test {
protected:
    Accessories()
        : dcc(shared, link, clock, dialogs, dir.folder())
        , ls(shared, dcc)
    {
        link.present = {3};
        link.answering = {3};
        link.open(3);
        shared.PortNumber = 3;
    }

    TestFolder dir;
    Shared shared;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeDccLink link;
    DCC dcc;
    LS ls;
};

TEST_F(Accessories, OnFrameThenOffFrameToTheSameOutput)
{
    const struct {
        int number;
        const char* side;
        const char* on;
        const char* off;
    } cases[] = {
        {1, "L", "52018AD9", "520182D1"},
        {1, "R", "52018BD8", "520183D0"},
        {4, "L", "520288D8", "520280D0"},
        {12, "R", "520489DF", "520481D7"},
    };
    for (const auto& c : cases) {
        link.written.clear();
        shared.CoilSide = QString::fromLatin1(c.side);
        ls.SwitchAccessory(static_cast<std::uint8_t>(c.number));
        EXPECT_EQ(link.written, (QByteArrayList{hex(c.on), hex(c.off)})) << c.number << c.side;
    }
}

TEST_F(Accessories, TheOutputStaysOnForTheOnTimeThenRests)
{
    shared.CoilSide = QStringLiteral("L");
    std::vector<std::pair<double, qsizetype>> seen;
    clock.duringWait = [&] { seen.emplace_back(clock.seconds(), link.written.size()); };
    ls.SwitchAccessory(1);
    ASSERT_FALSE(seen.empty());
    for (const auto& [at, frames] : seen) {
        if (at < LS::OnSeconds) {
            EXPECT_EQ(frames, 1) << "only the on frame before " << LS::OnSeconds << " s";
        }
    }
    EXPECT_GE(clock.seconds(), LS::OnSeconds + LS::RestSeconds);
    EXPECT_LE(clock.seconds(), LS::OnSeconds + LS::RestSeconds + 0.01);
}

TEST_F(Accessories, AClickDuringThePauseDoesNotMoveTheOffFrame)
{
    shared.CoilSide = QStringLiteral("L");
    clock.duringWait = [&] { shared.CoilSide = QStringLiteral("R"); };
    ls.SwitchAccessory(1);
    EXPECT_EQ(link.written, (QByteArrayList{hex("52018AD9"), hex("520182D1")}));
}

TEST_F(Accessories, OfflineSendsNothing)
{
    shared.PortNumber = 0;
    for (int n : {1, 4, 99}) {
        shared.CoilSide = QStringLiteral("L");
        ls.SwitchAccessory(static_cast<std::uint8_t>(n));
    }
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_EQ(shared.FrameText, QStringLiteral(" modem OFF"));
    EXPECT_EQ(clock.waits, 0);
}

TEST_F(Accessories, APortThatIsNotOpenDropsBothFrames)
{
    link.close();
    shared.CoilSide = QStringLiteral("L");
    ls.SwitchAccessory(1);
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_EQ(shared.FrameBuf[2], 0x82) << "the off frame was built all the same";
}

TEST_F(Accessories, ASideNeitherLeftNorRightKeepsThePreviousDataByte)
{
    shared.CoilSide = QStringLiteral("R");
    ls.SwitchAccessory(1);
    link.written.clear();
    shared.CoilSide = QStringLiteral("x");
    ls.SwitchAccessory(4);
    EXPECT_EQ(link.written, (QByteArrayList{hex("520283D3"), hex("520283D3")}));
}

} // namespace
