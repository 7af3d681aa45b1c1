// Our K8055 driver over the simulated board: the bytes each call writes, the
// opening checks, the newest-report reader and a board that goes away.
#include "BoardFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using k8055::WrittenReport;

class Driver : public ::testing::Test, protected SimulatedK8055 {
protected:
    const WrittenReport& lastWritten() const { return device.writtenReports().back(); }
};

TEST_F(Driver, EveryCallWritesTheWholeShadowReport)
{
    const struct {
        const char* call;
        std::function<void(K8055&)> run;
        WrittenReport bytes;
    } cases[] = {
        {"WriteAllDigital 129", [](K8055& b) { b.WriteAllDigital(129); }, {0, 5, 0x81, 0, 0, 0, 0, 1, 1}},
        {"WriteAllDigital keeps 8 bits", [](K8055& b) { b.WriteAllDigital(0x1FE); }, {0, 5, 0xFE, 0, 0, 0, 0, 1, 1}},
        {"SetAllDigital", [](K8055& b) { b.SetAllDigital(); }, {0, 5, 0xFF, 0, 0, 0, 0, 1, 1}},
        {"ClearAllDigital",
         [](K8055& b) {
             b.SetAllDigital();
             b.ClearAllDigital();
         },
         {0, 5, 0x00, 0, 0, 0, 0, 1, 1}},
        {"SetDigitalChannel 1 and 8",
         [](K8055& b) {
             b.SetDigitalChannel(1);
             b.SetDigitalChannel(8);
         },
         {0, 5, 0x81, 0, 0, 0, 0, 1, 1}},
        {"ClearDigitalChannel 1",
         [](K8055& b) {
             b.SetAllDigital();
             b.ClearDigitalChannel(1);
         },
         {0, 5, 0xFE, 0, 0, 0, 0, 1, 1}},
        {"OutputAnalogChannel 1", [](K8055& b) { b.OutputAnalogChannel(1, 90); }, {0, 5, 0, 90, 0, 0, 0, 1, 1}},
        {"OutputAnalogChannel 2 clamped",
         [](K8055& b) {
             b.OutputAnalogChannel(1, 15);
             b.OutputAnalogChannel(2, 300);
         },
         {0, 5, 0, 15, 255, 0, 0, 1, 1}},
        {"SetAllAnalog", [](K8055& b) { b.SetAllAnalog(); }, {0, 5, 0, 255, 255, 0, 0, 1, 1}},
        {"ClearAllAnalog keeps the digital outputs",
         [](K8055& b) {
             b.WriteAllDigital(6);
             b.SetAllAnalog();
             b.ClearAllAnalog();
         },
         {0, 5, 6, 0, 0, 0, 0, 1, 1}},
        {"ResetCounter 1", [](K8055& b) { b.ResetCounter(1); }, {0, 3, 0, 0, 0, 0, 0, 1, 1}},
        {"ResetCounter 2 keeps the outputs",
         [](K8055& b) {
             b.WriteAllDigital(7);
             b.ResetCounter(2);
         },
         {0, 4, 7, 0, 0, 0, 0, 1, 1}},
        {"SetCounterDebounceTime 1, 1000 ms", [](K8055& b) { b.SetCounterDebounceTime(1, 1000); }, {0, 1, 0, 0, 0, 0, 0, 88, 1}},
        {"SetCounterDebounceTime 2, 10 ms",
         [](K8055& b) {
             b.SetCounterDebounceTime(1, 2);
             b.SetCounterDebounceTime(2, 10);
         },
         {0, 2, 0, 0, 0, 0, 0, 3, 8}},
        {"CloseDevice turns every output off, the motors' too",
         [](K8055& b) {
             b.SetAllDigital();
             b.OutputAnalogChannel(1, 90);
             b.OutputAnalogChannel(2, 30);
             b.CloseDevice();
         },
         {0, 5, 0, 0, 0, 0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SimulatedK8055 fresh;
        ASSERT_EQ(fresh.board.OpenDevice(0), 0);
        c.run(fresh.board);
        EXPECT_EQ(fresh.device.writtenReports().back(), c.bytes) << c.call;
    }
}

TEST_F(Driver, OutOfRangeArgumentsWriteNothing)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    const std::size_t before = device.writtenReports().size();
    board.SetDigitalChannel(0);
    board.SetDigitalChannel(9);
    board.ClearDigitalChannel(9);
    board.OutputAnalogChannel(3, 10);
    board.ResetCounter(0);
    board.SetCounterDebounceTime(3, 2);
    int a1 = 0;
    int a2 = 0;
    board.ReadAllAnalog(&a1, &a2);
    board.ReadAllDigital();
    board.ReadCounter(1);
    EXPECT_EQ(device.writtenReports().size(), before);
}

TEST_F(Driver, OpeningFindsTheCardByProductIdAndSwitchesEverythingOff)
{
    device.plugIn(2);
    EXPECT_EQ(board.OpenDevice(2), 2);
    EXPECT_EQ(device.openAddress(), 2);
    ASSERT_EQ(device.writtenReports().size(), 1u);
    EXPECT_EQ(lastWritten(), (WrittenReport{0, 5, 0, 0, 0, 0, 0, 1, 1})) << "a known safe state first";
    EXPECT_TRUE(board.fault().isEmpty());
}

TEST_F(Driver, AMissingCardIsReportedAndNothingIsWritten)
{
    EXPECT_EQ(board.OpenDevice(1), -1);
    EXPECT_FALSE(board.isOpen());
    EXPECT_TRUE(board.fault().contains(QStringLiteral("card address 1")));
    EXPECT_TRUE(board.fault().contains(QStringLiteral("udev")));
    board.WriteAllDigital(6);
    EXPECT_TRUE(device.writtenReports().empty());
    EXPECT_EQ(board.ReadAllDigital(), 0);
    EXPECT_EQ(board.OpenDevice(7), -1) << "no such address";
}

TEST_F(Driver, AK8055NInItsCompatibleModeIsAccepted)
{
    device.setStatusOffset(11);
    EXPECT_EQ(board.OpenDevice(0), 0);
}

TEST_F(Driver, ABoardAnsweringInAnotherProtocolIsRefused)
{
    device.setStatusOffset(21);
    EXPECT_EQ(board.OpenDevice(0), -1);
    EXPECT_EQ(device.openAddress(), -1) << "the handle is let go";
    EXPECT_TRUE(board.fault().contains(QStringLiteral("plug it in again")));
}

TEST_F(Driver, OpeningAnotherCardClosesTheFirstWithItsOutputsOff)
{
    device.plugIn(1);
    ASSERT_EQ(board.OpenDevice(0), 0);
    board.WriteAllDigital(6);
    ASSERT_EQ(board.OpenDevice(1), 1);
    EXPECT_EQ(digitalValues(), (std::vector<int>{6, 0}));
    EXPECT_EQ(device.opens(), 2);
}

TEST_F(Driver, ReadsGiveTheNewestReportNotTheOldestQueued)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    // Reports pile up while nobody reads: counts 1, 2 and 3, 10 ms apart.
    for (int count = 1; count <= 3; ++count) {
        device.setCounter(1, count);
        device.setAnalogInputs(count * 10, 200);
        clock.advance(SimulatedBoard::ReportPeriod);
    }
    device.setDigitalInputs(0b10101);
    clock.advance(SimulatedBoard::ReportPeriod);
    EXPECT_EQ(board.ReadCounter(1), 3);
    int a1 = 0;
    int a2 = 0;
    board.ReadAllAnalog(&a1, &a2);
    EXPECT_EQ(a1, 30);
    EXPECT_EQ(a2, 200);
    EXPECT_EQ(board.ReadAllDigital(), 0b10101);
}

TEST_F(Driver, WithNoNewReportTheLastOneStands)
{
    device.setCounter(2, 40000);
    ASSERT_EQ(board.OpenDevice(0), 0);
    EXPECT_EQ(board.ReadCounter(2), 40000);
    EXPECT_EQ(board.ReadCounter(2), 40000) << "nothing new queued: the same snapshot";
    EXPECT_EQ(board.ReadCounter(3), 0);
}

TEST_F(Driver, AnUnpluggedBoardFailsQuietlyAndCanBeOpenedAgain)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    board.WriteAllDigital(6);
    device.unplug(0);
    const std::size_t written = device.writtenReports().size();
    board.WriteAllDigital(7);
    EXPECT_FALSE(board.isOpen());
    EXPECT_TRUE(board.fault().contains(QStringLiteral("unplugged")));
    board.SetAllDigital();
    EXPECT_EQ(board.ReadAllDigital(), 0);
    EXPECT_EQ(board.ReadCounter(1), 0);
    EXPECT_EQ(device.writtenReports().size(), written);

    device.plugIn(0);
    EXPECT_EQ(board.OpenDevice(0), 0);
    EXPECT_TRUE(board.fault().isEmpty());
    board.WriteAllDigital(8);
    EXPECT_EQ(device.outputs().digital, 8);
}

TEST_F(Driver, AReadThatFailsClosesTheBoardToo)
{
    ASSERT_EQ(board.OpenDevice(0), 0);
    device.unplug(0);
    EXPECT_EQ(board.ReadAllDigital(), 0);
    EXPECT_FALSE(board.isOpen());
    EXPECT_FALSE(board.fault().isEmpty());
}

TEST_F(Driver, TheDriverLetsGoWithTheDigitalOutputsOff)
{
    {
        HidK8055 second(device);
        ASSERT_EQ(second.OpenDevice(0), 0);
        second.WriteAllDigital(129);
    }
    EXPECT_EQ(device.outputs().digital, 0);
    EXPECT_EQ(device.openAddress(), -1);
}

} // namespace
