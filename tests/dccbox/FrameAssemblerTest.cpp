#include "HexFrames.h"

#include "dccbox/FrameAssembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

namespace {

using dccbox::Assembled;
using dccbox::Frame;
using Kind = dccbox::Assembled::Kind;
using namespace std::chrono_literals;

// Time that moves only when the test says so.
struct FakeTime {
    dccbox::TimePoint now{};
    dccbox::ClockFunction clock()
    {
        return [this] { return now; };
    }
};

std::vector<Frame> goodFrames(const std::vector<Assembled>& events)
{
    std::vector<Frame> frames;
    for (const Assembled& event : events) {
        EXPECT_EQ(event.kind, Kind::Good) << dccbox::hex(event.bytes);
        frames.push_back(event.bytes);
    }
    return frames;
}

TEST(FrameAssembler, FindsFramesHoweverTheBytesAreChunked)
{
    const std::vector<Frame> expected = {bytesOf("E4 12 00 03 89 7C"), bytesOf("F0 F0"), bytesOf("52 01 8A D9"),
                                         bytesOf("E5 43 00 03 C4 D2 B3")};
    Frame stream;
    for (const Frame& frame : expected)
        stream.insert(stream.end(), frame.begin(), frame.end());

    for (std::size_t chunk = 1; chunk <= stream.size(); ++chunk) {
        FakeTime time;
        dccbox::FrameAssembler assembler(time.clock());
        std::vector<Assembled> events;
        for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
            const auto part = std::span(stream).subspan(pos, std::min(chunk, stream.size() - pos));
            for (Assembled& event : assembler.feed(part))
                events.push_back(std::move(event));
        }
        EXPECT_EQ(goodFrames(events), expected) << "chunks of " << chunk;
        EXPECT_FALSE(assembler.deadline().has_value()) << "chunks of " << chunk;
    }
}

TEST(FrameAssembler, ReportsBadCheckByteAndCarriesOn)
{
    FakeTime time;
    dccbox::FrameAssembler assembler(time.clock());
    const auto events = assembler.feed(bytesOf("E4 12 00 03 89 7D F0 F0"));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, Kind::BadCheck);
    EXPECT_EQ(events[0].bytes, bytesOf("E4 12 00 03 89 7D"));
    EXPECT_EQ(events[1].kind, Kind::Good);
    EXPECT_EQ(events[1].bytes, bytesOf("F0 F0"));
}

TEST(FrameAssembler, DropsPartialFrameHundredMillisecondsAfterItsFirstByte)
{
    FakeTime time;
    dccbox::FrameAssembler assembler(time.clock());
    const dccbox::TimePoint start = time.now;
    EXPECT_TRUE(assembler.feed(bytesOf("E4")).empty());
    time.now += 60ms;
    // Later bytes must not push the deadline back.
    EXPECT_TRUE(assembler.feed(bytesOf("12 00")).empty());
    EXPECT_EQ(assembler.deadline(), start + 100ms);

    time.now = start + 99ms;
    EXPECT_FALSE(assembler.expire().has_value());
    time.now = start + 100ms;
    const auto dropped = assembler.expire();
    ASSERT_TRUE(dropped.has_value());
    EXPECT_EQ(dropped->kind, Kind::TimedOut);
    EXPECT_EQ(dropped->bytes, bytesOf("E4 12 00"));
    EXPECT_FALSE(assembler.deadline().has_value());
    EXPECT_FALSE(assembler.expire().has_value());

    // The rest of the dropped frame is not glued to a new one.
    EXPECT_EQ(goodFrames(assembler.feed(bytesOf("F0 F0"))), std::vector<Frame>{bytesOf("F0 F0")});
}

TEST(FrameAssembler, FrameCompletedJustInTimeIsKept)
{
    FakeTime time;
    dccbox::FrameAssembler assembler(time.clock());
    EXPECT_TRUE(assembler.feed(bytesOf("52 01")).empty());
    time.now += 99ms;
    EXPECT_EQ(goodFrames(assembler.feed(bytesOf("8A D9"))), std::vector<Frame>{bytesOf("52 01 8A D9")});
}

TEST(FrameAssembler, OverduePartialIsDroppedBeforeNewBytesCount)
{
    FakeTime time;
    dccbox::FrameAssembler assembler(time.clock());
    EXPECT_TRUE(assembler.feed(bytesOf("E4 12 00")).empty());
    time.now += 150ms;
    const auto events = assembler.feed(bytesOf("F0 F0"));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, Kind::TimedOut);
    EXPECT_EQ(events[0].bytes, bytesOf("E4 12 00"));
    EXPECT_EQ(events[1].kind, Kind::Good);
    EXPECT_EQ(events[1].bytes, bytesOf("F0 F0"));
}

} // namespace
