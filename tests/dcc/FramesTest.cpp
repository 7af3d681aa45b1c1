#include "Frames.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct FrameCase {
    std::vector<std::uint8_t> frame; // complete, check byte last
};

class KnownFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(KnownFrames, CheckByteIsTheXorOfEveryByteBeforeIt)
{
    const auto& frame = GetParam().frame;
    ASSERT_EQ(frames::lengthOf(frame[0]), frame.size());
    EXPECT_EQ(frames::checkByte(std::span(frame).first(frame.size() - 1)), frame.back());

    std::array<std::uint8_t, 7> buffer{};
    std::copy(frame.begin(), frame.end() - 1, buffer.begin());
    frames::closeFrame(buffer);
    EXPECT_EQ(buffer[frame.size() - 1], frame.back());
}

INSTANTIATE_TEST_SUITE_P(Frames, KnownFrames,
                         ::testing::Values(FrameCase{{0xF0, 0xF0}},
                                           FrameCase{{0xE4, 0x12, 0x00, 0x03, 0x89, 0x7C}},
                                           FrameCase{{0xE4, 0x12, 0xC4, 0xD2, 0x98, 0x78}},
                                           FrameCase{{0xE4, 0x12, 0xC4, 0xD2, 0x00, 0xE0}},
                                           FrameCase{{0xE4, 0x20, 0x00, 0x03, 0x02, 0xC5}},
                                           FrameCase{{0xE5, 0x43, 0xC4, 0xD2, 0xD1, 0xD7, 0xB6}},
                                           FrameCase{{0xE5, 0x43, 0xC0, 0x64, 0x00, 0x63, 0x61}},
                                           FrameCase{{0x52, 0x01, 0x8A, 0xD9}},
                                           FrameCase{{0x52, 0x01, 0x89, 0xDA}}));

TEST(Frames, LengthComesFromTheHeadersLowNibble)
{
    EXPECT_EQ(frames::lengthOf(0xF0), 2u);
    EXPECT_EQ(frames::lengthOf(0x52), 4u);
    EXPECT_EQ(frames::lengthOf(0xE4), 6u);
    EXPECT_EQ(frames::lengthOf(0xE5), 7u);
}

} // namespace
