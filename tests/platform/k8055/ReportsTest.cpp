// The K8055's report bytes, built and read by the pure functions.
#include "Reports.h"

#include <gtest/gtest.h>

namespace {

using namespace k8055;

TEST(Reports, OutputReportCarriesCommandOutputsAndBothDebounceCodes)
{
    const OutputState state{0x81, 90, 210, 88, 3};
    const struct {
        Command command;
        OutputReport bytes;
    } cases[] = {
        {Command::SetOutputs, {5, 0x81, 90, 210, 0, 0, 88, 3}},
        {Command::SetDebounce1, {1, 0x81, 90, 210, 0, 0, 88, 3}},
        {Command::SetDebounce2, {2, 0x81, 90, 210, 0, 0, 88, 3}},
        {Command::ResetCounter1, {3, 0x81, 90, 210, 0, 0, 88, 3}},
        {Command::ResetCounter2, {4, 0x81, 90, 210, 0, 0, 88, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buildOutputReport(c.command, state), c.bytes) << int(c.command);
        EXPECT_EQ(outputsOf(c.bytes), state) << "the simulated board reads back what was built";
    }
}

TEST(Reports, HidapiGetsALeadingReportIdOfZero)
{
    const WrittenReport written = forHidapi({5, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(written, (WrittenReport{0, 5, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(Reports, EachInputSitsAtItsScrambledBit)
{
    // Input n (1..5) is reported at bit 4, 5, 0, 6, 7 of the first byte.
    const std::pair<std::uint8_t, int> cases[] = {
        {0x10, 0b00001}, {0x20, 0b00010}, {0x01, 0b00100}, {0x40, 0b01000}, {0x80, 0b10000},
        {0xF1, 0b11111}, {0x0E, 0}, {0x00, 0},
    };
    for (const auto& [raw, inputs] : cases) {
        EXPECT_EQ(unscrambleInputs(raw), inputs) << int(raw);
        EXPECT_EQ(unscrambleInputs(scrambleInputs(inputs)), inputs);
    }
}

TEST(Reports, InputReportIsReadUnsignedAndLittleEndian)
{
    const InputReport raw{0x11, 0x01, 10, 200, 0xFF, 0xFF, 0x00, 0x80};
    const InputState state = parseInputReport(raw);
    EXPECT_EQ(state.digital, 0b00101);
    EXPECT_EQ(state.status, 1);
    EXPECT_EQ(state.analog1, 10);
    EXPECT_EQ(state.analog2, 200);
    EXPECT_EQ(state.counter1, 65535) << "never negative";
    EXPECT_EQ(state.counter2, 32768);
    EXPECT_EQ(buildInputReport(state), raw);
}

TEST(Reports, StatusOfAK8055OrAK8055NInItsCompatibleModeIsAccepted)
{
    const struct {
        int status;
        int address;
        bool accepted;
    } cases[] = {
        {1, 0, true}, {4, 3, true}, {11, 0, true}, {13, 2, true},
        {2, 0, false}, {12, 0, false}, {21, 0, false}, {0, 0, false}, {1, 3, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusMatches(c.status, c.address), c.accepted) << c.status << " at " << c.address;
}

TEST(Reports, DebounceTimesBecomeCodesNeverZero)
{
    const std::pair<int, int> cases[] = {{0, 1}, {-5, 1}, {1, 2}, {2, 3}, {10, 8}, {1000, 88}, {7450, 255},
                                         {8000, 255}, {100000, 255}};
    for (const auto& [ms, code] : cases)
        EXPECT_EQ(debounceCode(ms), code) << ms << " ms";
}

} // namespace
