// The loco command bytes, check byte included, against the worked examples
// and independent XpressNet vectors.
#include "LocoFrames.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

using namespace loco_frames;

QString hex(const Frame& frame, std::size_t length)
{
    return PrintableBytes(QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<qsizetype>(length)));
}

struct AddressCase {
    int number;
    std::optional<Address> bytes;
};

class AddressBytes : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressBytes, FollowTheShortAndLongAddressRule)
{
    EXPECT_EQ(addressOf(GetParam().number), GetParam().bytes) << GetParam().number;
}

INSTANTIATE_TEST_SUITE_P(Numbers, AddressBytes,
                         ::testing::Values(AddressCase{1, Address{0x00, 0x01}}, AddressCase{3, Address{0x00, 0x03}},
                                           AddressCase{99, Address{0x00, 0x63}}, AddressCase{100, Address{0xC0, 0x64}},
                                           AddressCase{255, Address{0xC0, 0xFF}}, AddressCase{256, Address{0xC1, 0x00}},
                                           AddressCase{315, Address{0xC1, 0x3B}}, AddressCase{1234, Address{0xC4, 0xD2}},
                                           AddressCase{4567, Address{0xD1, 0xD7}}, AddressCase{9999, Address{0xE7, 0x0F}},
                                           AddressCase{0, std::nullopt}, AddressCase{-5, std::nullopt},
                                           AddressCase{10000, std::nullopt}, AddressCase{32767, std::nullopt}));

struct LocoFrameCase {
    const char* what;
    Frame frame;
    std::size_t length;
    const char* bytes;
};

class LocoFrameBytes : public ::testing::TestWithParam<LocoFrameCase> {};

TEST_P(LocoFrameBytes, MatchByteForByte)
{
    EXPECT_EQ(hex(GetParam().frame, GetParam().length), QString::fromLatin1(GetParam().bytes)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LocoFrameBytes,
    ::testing::Values(
        LocoFrameCase{"engine 3, L, step 9", speedFrame({0x00, 0x03}, 128 + 9), 6, "E4 12 00 03 89 7C"},
        LocoFrameCase{"engine 1234, R, stop", speedFrame({0xC4, 0xD2}, 0), 6, "E4 12 C4 D2 00 E0"},
        LocoFrameCase{"1234 code 14 forward", speedFrame({0xC4, 0xD2}, 0x8E), 6, "E4 12 C4 D2 8E 6E"},
        LocoFrameCase{"1234 stop forward (peer vector)", speedFrame({0xC4, 0xD2}, 0x80), 6, "E4 12 C4 D2 80 60"},
        LocoFrameCase{"1234 step 14 reverse (peer vector)", speedFrame({0xC4, 0xD2}, 0x18), 6, "E4 12 C4 D2 18 F8"},
        LocoFrameCase{"F2 on, engine 3", functionGroupFrame(0x20, {0x00, 0x03}, 2), 6, "E4 20 00 03 02 C5"},
        LocoFrameCase{"F2 off, engine 3", functionGroupFrame(0x20, {0x00, 0x03}, 0), 6, "E4 20 00 03 00 C7"},
        LocoFrameCase{"F0 on, engine 3", functionGroupFrame(0x20, {0x00, 0x03}, 16), 6, "E4 20 00 03 10 D7"},
        LocoFrameCase{"F5 with F1, engine 3", functionGroupFrame(0x21, {0x00, 0x03}, 33), 6, "E4 21 00 03 21 E7"},
        LocoFrameCase{"group 3, long address", functionGroupFrame(0x22, {0xC4, 0xD2}, 0), 6, "E4 22 C4 D2 00 D0"},
        LocoFrameCase{"3 + 1234", doubleHeaderFrame({0x00, 0x03}, {0xC4, 0xD2}), 7, "E5 43 00 03 C4 D2 B3"},
        LocoFrameCase{"3 released", doubleHeaderFrame({0x00, 0x03}, {0x00, 0x00}), 7, "E5 43 00 03 00 00 A5"},
        LocoFrameCase{"100 + 99", doubleHeaderFrame({0xC0, 0x64}, {0x00, 0x63}), 7, "E5 43 C0 64 00 63 61"},
        LocoFrameCase{"1234 + 4567 (peer vector)", doubleHeaderFrame({0xC4, 0xD2}, {0xD1, 0xD7}), 7, "E5 43 C4 D2 D1 D7 B6"},
        LocoFrameCase{"1234 released (peer vector)", doubleHeaderFrame({0xC4, 0xD2}, {0x00, 0x00}), 7, "E5 43 C4 D2 00 00 B0"},
        LocoFrameCase{"emergency stop of 3", emergencyStopFrame({0x00, 0x03}), 4, "92 00 03 91"},
        LocoFrameCase{"emergency stop of 1234", emergencyStopFrame({0xC4, 0xD2}), 4, "92 C4 D2 84"}));

TEST(SpeedSteps, EachStepHasItsSpeedByteAndBack)
{
    struct Row {
        int step;
        bool forward;
        std::uint8_t byte;
    };
    // Peer vectors: step 14 forward 98, reverse 18; the buttons' odd steps
    // have the half-step bit clear (step 9 is code 6).
    const Row rows[] = {{0, true, 0x80}, {0, false, 0x00}, {1, true, 0x82}, {2, true, 0x92}, {9, true, 0x86},
                        {14, true, 0x98}, {14, false, 0x18}, {25, true, 0x8E}, {28, true, 0x9F}, {40, true, 0x9F}};
    for (const Row& row : rows) {
        EXPECT_EQ(speedByteOfStep(row.step, row.forward), row.byte) << "step " << row.step;
        EXPECT_EQ(stepOfSpeedByte(row.byte), std::min(row.step, 28)) << "step " << row.step;
    }
    EXPECT_EQ(stepOfSpeedByte(0x81), 0) << "the emergency-stop codes drive no step";
    EXPECT_EQ(stepOfSpeedByte(0x91), 0);
    EXPECT_EQ(numberOf({0xC4, 0xD2}), 1234);
    EXPECT_EQ(numberOf({0x00, 0x03}), 3);
}

TEST(FunctionGroups, EachFunctionGoesInItsGroupAndCarriesItsWeight)
{
    struct Row {
        int function;
        std::optional<std::uint8_t> group;
        std::uint8_t weight;
    };
    const Row rows[] = {{0, 0x20, 16}, {1, 0x20, 1},  {2, 0x20, 2},  {3, 0x20, 4},  {4, 0x20, 8},
                        {5, 0x21, 32}, {6, 0x21, 64}, {7, 0x21, 128}, {8, 0x21, 0},  {9, 0x22, 0},
                        {12, 0x22, 0}, {13, std::nullopt, 0}, {14, std::nullopt, 0}, {-1, std::nullopt, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(functionGroupOf(row.function), row.group) << "F" << row.function;
        EXPECT_EQ(functionWeight(row.function), row.weight) << "F" << row.function;
    }
}

TEST(ChipValue, TakesTheLeadingDigits)
{
    const std::pair<const char*, int> rows[] = {{"0003", 3},   {"0315", 315}, {"9999", 9999}, {"0000", 0},
                                                {"", 0},       {"abcd", 0},   {"12ab", 12},   {" 42", 42},
                                                {"123456789", 99999}};
    for (const auto& [chip, value] : rows)
        EXPECT_EQ(chipValue(QString::fromLatin1(chip)), value) << chip;
}

} // namespace
