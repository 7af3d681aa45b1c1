// The simulated board: its words for output changes, its record with times,
// its counters and its report queue.
#include "BoardFixture.h"
#include "BoardWords.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardWords, DigitalOutputsAreReadAsCoilAndPhase)
{
    const std::pair<int, const char*> cases[] = {
        {0, "outputs 00000000: all off"},
        {6, "outputs 00000110: coil 3 select (knob 1 reverse relay)"},
        {7, "outputs 00000111: coil 3 fire (knob 1 reverse relay)"},
        {2, "outputs 00000010: coil 1 select (knob 1 forward relay)"},
        {9, "outputs 00001001: coil 4 fire (knob 2 reverse relay)"},
        {10, "outputs 00001010: coil 5 select"},
        {129, "outputs 10000001: coil 64 fire"},
        {1, "outputs 00000001: fire bit alone"},
    };
    for (const auto& [value, words] : cases)
        EXPECT_EQ(k8055::describeDigital(static_cast<std::uint8_t>(value)), QString::fromLatin1(words));
}

TEST(BoardWords, OnlyTheOutputsThatChangedAreNamed)
{
    const k8055::OutputState before{6, 90, 0, 1, 1};
    EXPECT_EQ(k8055::describeOutputChanges(before, {6, 90, 0, 3, 1}), QStringList());
    EXPECT_EQ(k8055::describeOutputChanges(before, {0, 90, 45, 1, 1}),
              (QStringList{QStringLiteral("outputs 00000000: all off"), QStringLiteral("analog 2: 45")}));
    EXPECT_EQ(k8055::describeOutputChanges(before, {6, 105, 0, 1, 1}), QStringList{QStringLiteral("analog 1: 105")});
}

class Simulated : public ::testing::Test, protected SimulatedK8055 {
protected:
    Simulated()
    {
        device.setLineHandler([this](double seconds, const QString& words) { lines << QStringLiteral("%1 %2").arg(seconds).arg(words); });
    }
    // The board closes after this fixture's members are gone: stop listening first.
    ~Simulated() override { device.setLineHandler(nullptr); }
    QStringList lines;
};

TEST_F(Simulated, PrintsWhatHappensToTheBoardWithTheTime)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    board.WriteAllDigital(6);
    clock.advance(0.5);
    board.OutputAnalogChannel(1, 90);
    board.WriteAllDigital(6); // no change: nothing to say
    board.SetCounterDebounceTime(2, 1000);
    board.ResetCounter(1);
    board.CloseDevice();
    EXPECT_EQ(lines, (QStringList{QStringLiteral("0 card 0 opened"), QStringLiteral("0 outputs 00000110: coil 3 select (knob 1 reverse relay)"),
                                  QStringLiteral("0.5 analog 1: 90"), QStringLiteral("0.5 counter 2 debounce code 88"),
                                  QStringLiteral("0.5 counter 1 reset"), QStringLiteral("0.5 outputs 00000000: all off"),
                                  QStringLiteral("0.5 analog 1: 0"), QStringLiteral("0.5 card 0 closed")}));
}

TEST_F(Simulated, RecordsEveryOutputChangeWithItsTime)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    board.WriteAllDigital(128);
    clock.advance(0.5);
    board.WriteAllDigital(129);
    board.OutputAnalogChannel(2, 30);
    ASSERT_EQ(device.outputChanges().size(), 3u);
    EXPECT_EQ(device.outputChanges()[0].seconds, 0.0);
    EXPECT_EQ(device.outputChanges()[1].seconds, 0.5);
    EXPECT_EQ(device.outputChanges()[2].outputs, (k8055::OutputState{129, 0, 30, 1, 1}));
}

TEST_F(Simulated, CountersWrapAtSixteenBitsAndResetToZero)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    device.setCounter(1, 65535);
    device.countPulses(1, 2);
    device.setCounter(2, 70000);
    clock.advance(SimulatedBoard::ReportPeriod);
    EXPECT_EQ(board.ReadCounter(1), 1);
    EXPECT_EQ(board.ReadCounter(2), 70000 - 65536);
    board.ResetCounter(2);
    clock.advance(SimulatedBoard::ReportPeriod);
    EXPECT_EQ(board.ReadCounter(2), 0);
    EXPECT_EQ(board.ReadCounter(1), 1);
}

TEST_F(Simulated, AtMostThirtyReportsWaitInTheQueue)
{
    ASSERT_TRUE(device.open(k8055::VendorId, k8055::productIdFor(0)));
    clock.advance(1.0);
    std::array<std::uint8_t, 8> report{};
    int queued = 0;
    while (device.read(report, 0) > 0)
        ++queued;
    EXPECT_EQ(queued, 30);
}

} // namespace
