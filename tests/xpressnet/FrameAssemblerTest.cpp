#include "HexFrames.h"

#include "xpressnet/FrameAssembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

namespace {

using xpressnet::Assembled;
using xpressnet::Framing;
using xpressnet::Frame;
using xpressnet::FrameAssembler;
using xpressnet::UsbPrefix;
using Kind = xpressnet::Assembled::Kind;
using namespace std::chrono_literals;

// Time that moves only when the test says so.
struct FakeTime {
    xpressnet::TimePoint now{};
    xpressnet::ClockFunction clock()
    {
        return [this] { return now; };
    }
};

// "good FF FE 01 04 05" style, so a whole event list reads as one line per event.
std::string said(const Assembled& event)
{
    static constexpr const char* kinds[] = {"good", "bad", "timed out", "skipped"};
    std::string words = kinds[static_cast<int>(event.kind)];
    if (event.prefix == UsbPrefix::Answer)
        words += " answer";
    if (event.prefix == UsbPrefix::Broadcast)
        words += " broadcast";
    return words + " " + xpressnet::hex(event.bytes);
}

std::vector<std::string> said(const std::vector<Assembled>& events)
{
    std::vector<std::string> lines;
    for (const Assembled& event : events)
        lines.push_back(said(event));
    return lines;
}

void append(std::vector<Assembled>& to, std::vector<Assembled> events)
{
    to.insert(to.end(), events.begin(), events.end());
}

TEST(FrameAssembler, FindsFramesHoweverTheBytesAreChunked)
{
    const char* frames[] = {"E4 12 00 03 89 7C", "F0 F0", "52 01 8A D9", "E5 43 00 03 C4 D2 B3"};
    for (const Framing framing : {Framing::Bare, Framing::Usb}) {
        Frame stream;
        std::vector<std::string> expected;
        for (const char* frame : frames) {
            const auto wire = xpressnet::withUsbPrefix(bytesOf(frame), framing == Framing::Usb ? UsbPrefix::Answer
                                                                                               : UsbPrefix::None);
            stream.insert(stream.end(), wire.begin(), wire.end());
            expected.push_back(std::string(framing == Framing::Usb ? "good answer " : "good ") + frame);
        }
        for (std::size_t chunk = 1; chunk <= stream.size(); ++chunk) {
            FakeTime time;
            FrameAssembler assembler(framing, time.clock());
            std::vector<Assembled> events;
            for (std::size_t pos = 0; pos < stream.size(); pos += chunk)
                append(events, assembler.feed(std::span(stream).subspan(pos, std::min(chunk, stream.size() - pos))));
            EXPECT_EQ(said(events), expected) << "chunks of " << chunk;
            EXPECT_FALSE(assembler.deadline().has_value()) << "chunks of " << chunk;
        }
    }
}

TEST(FrameAssembler, FindsItsWayBackAfterGarbage)
{
    struct Case {
        Framing framing;
        const char* bytes;
        std::vector<std::string> events; // after all bytes at once, then the timeout
    };
    const Case cases[] = {
        {Framing::Bare, "E4 12 00 03 89 7D F0 F0", {"bad E4 12 00 03 89 7D", "good F0 F0"}},
        {Framing::Bare, "12 34 F0 F0 3C", {"skipped 12 34", "good F0 F0", "skipped 3C"}},
        // A good frame inside a bad one is found by looking again after the bad header.
        {Framing::Bare, "E5 01 04 05 01 04 05 61 00 61",
         {"bad E5 01 04 05 01 04 05", "good 01 04 05", "good 01 04 05", "good 61 00 61"}},
        // ... and inside one that never completes, once the timeout has dropped it.
        {Framing::Bare, "63 01 04 05", {"timed out 63 01 04 05", "good 01 04 05"}},
        {Framing::Usb, "FF FE 01 04 05 FF FD 61 00 61", {"good answer 01 04 05", "good broadcast 61 00 61"}},
        {Framing::Usb, "01 04 05 FF FF FE F0 F0", {"skipped 01 04 05 FF", "good answer F0 F0"}},
        {Framing::Usb, "FF FE 01 04 06 FF FD 81 00 81", {"bad answer 01 04 06", "good broadcast 81 00 81"}},
        {Framing::Usb, "FF FC 01 04 05", {"skipped FF FC 01 04 05"}},
        {Framing::Usb, "FF FE 63 21 FF FD 61 00 61", {"bad answer 63 21 FF FD 61", "good broadcast 61 00 61"}},
        {Framing::Usb, "FF FE E5 FF FD 01 04 05", {"timed out FF FE E5 FF FD 01 04 05", "good broadcast 01 04 05"}},
    };
    for (const Case& c : cases) {
        FakeTime time;
        FrameAssembler assembler(c.framing, time.clock());
        auto events = assembler.feed(bytesOf(c.bytes));
        time.now += 1s;
        append(events, assembler.expire());
        EXPECT_EQ(said(events), c.events) << c.bytes;
        EXPECT_EQ(assembler.buffered(), 0u) << c.bytes;
    }
}

TEST(FrameAssembler, NeverHoldsMoreThanOneFrame)
{
    // Any stream at all, fed in uneven chunks: the bytes held stay within one
    // frame with its prefix, and every byte leaves in some event sooner or later.
    for (const Framing framing : {Framing::Bare, Framing::Usb}) {
        FakeTime time;
        FrameAssembler assembler(framing, time.clock());
        std::uint32_t seed = 12345;
        std::size_t largest = 0;
        for (int round = 0; round < 5000; ++round) {
            Frame chunk(round % 23);
            for (std::uint8_t& byte : chunk) {
                seed = seed * 1664525u + 1013904223u;
                byte = static_cast<std::uint8_t>(seed >> 24);
            }
            // Prefixes now and then, or the USB side would see only skipped bytes.
            if (framing == Framing::Usb && chunk.size() >= 2) {
                chunk[0] = 0xFF;
                chunk[1] = 0xFE;
            }
            assembler.feed(chunk);
            largest = std::max(largest, assembler.buffered());
            time.now += 7ms;
        }
        EXPECT_LE(largest, xpressnet::maxFrameLength + (framing == Framing::Usb ? 2u : 0u));
        EXPECT_GT(largest, 2u); // the garbage did make it wait for long frames
        time.now += 1s;
        for (int i = 0; i < 20 && assembler.buffered() > 0; ++i)
            assembler.expire();
        EXPECT_EQ(assembler.buffered(), 0u);
    }
}

TEST(FrameAssembler, DropsPartialFrameHundredMillisecondsAfterItsFirstByte)
{
    FakeTime time;
    FrameAssembler assembler(Framing::Bare, time.clock());
    const xpressnet::TimePoint start = time.now;
    EXPECT_TRUE(assembler.feed(bytesOf("E4")).empty());
    time.now += 60ms;
    // Later bytes must not push the deadline back.
    EXPECT_TRUE(assembler.feed(bytesOf("12 00")).empty());
    EXPECT_EQ(assembler.deadline(), start + 100ms);

    time.now = start + 99ms;
    EXPECT_TRUE(assembler.expire().empty());
    time.now = start + 100ms;
    EXPECT_EQ(said(assembler.expire()), std::vector<std::string>{"timed out E4 12 00"});
    EXPECT_FALSE(assembler.deadline().has_value());
    EXPECT_TRUE(assembler.expire().empty());

    // The rest of the dropped frame is not glued to a new one.
    EXPECT_EQ(said(assembler.feed(bytesOf("F0 F0"))), std::vector<std::string>{"good F0 F0"});
}

TEST(FrameAssembler, FrameCompletedJustInTimeIsKept)
{
    FakeTime time;
    FrameAssembler assembler(Framing::Bare, time.clock());
    EXPECT_TRUE(assembler.feed(bytesOf("52 01")).empty());
    time.now += 99ms;
    EXPECT_EQ(said(assembler.feed(bytesOf("8A D9"))), std::vector<std::string>{"good 52 01 8A D9"});
}

TEST(FrameAssembler, OverduePartialIsDroppedBeforeNewBytesCount)
{
    FakeTime time;
    FrameAssembler assembler(Framing::Bare, time.clock());
    EXPECT_TRUE(assembler.feed(bytesOf("E4 12 00")).empty());
    time.now += 150ms;
    const std::vector<std::string> expected = {"timed out E4 12 00", "good F0 F0"};
    EXPECT_EQ(said(assembler.feed(bytesOf("F0 F0"))), expected);
}

TEST(FrameAssembler, ResetForgetsThePartialFrame)
{
    FakeTime time;
    FrameAssembler assembler(Framing::Usb, time.clock());
    EXPECT_TRUE(assembler.feed(bytesOf("FF FE E4 12")).empty());
    assembler.reset();
    EXPECT_EQ(assembler.buffered(), 0u);
    EXPECT_EQ(said(assembler.feed(bytesOf("FF FE F0 F0"))), std::vector<std::string>{"good answer F0 F0"});
}

TEST(UsbFraming, PrefixesFrames)
{
    using xpressnet::withUsbPrefix;
    EXPECT_EQ(withUsbPrefix(bytesOf("F0 F0")), bytesOf("FF FE F0 F0"));
    EXPECT_EQ(withUsbPrefix(bytesOf("81 00 81"), UsbPrefix::Broadcast), bytesOf("FF FD 81 00 81"));
    EXPECT_EQ(withUsbPrefix(bytesOf("01 04 05"), UsbPrefix::None), bytesOf("01 04 05"));
    EXPECT_EQ(xpressnet::usbPrefixOf(0xFE), UsbPrefix::Answer);
    EXPECT_EQ(xpressnet::usbPrefixOf(0xFD), UsbPrefix::Broadcast);
    EXPECT_EQ(xpressnet::usbPrefixOf(0xFC), UsbPrefix::None);
}

} // namespace
