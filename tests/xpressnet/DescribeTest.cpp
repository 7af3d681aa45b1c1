#include "HexFrames.h"

#include "xpressnet/Describe.h"
#include "xpressnet/Reply.h"

#include <gtest/gtest.h>

namespace {

struct DescribeCase {
    const char* frame;
    const char* words;
};

// Frames this program sends, with what the demo user should read next to them.
const DescribeCase commandCases[] = {
    // Speed, 28 steps: bit 4 is the low half step, bit 7 the direction.
    {"E4 12 00 03 89 7C", "loco 3: speed code 9 = step 15 of 28, forward"},
    {"E4 12 C4 D2 00 E0", "loco 1234: speed code 0 = stop, reverse"},
    {"E4 12 C4 D2 80 60", "loco 1234: speed code 0 = stop, forward"},
    {"E4 12 C4 D2 98 78", "loco 1234: speed code 8 + half step = step 14 of 28, forward"},
    {"E4 12 C4 D2 18 F8", "loco 1234: speed code 8 + half step = step 14 of 28, reverse"},
    {"E4 12 00 03 81 74", "loco 3: speed code 1 = emergency stop, forward"},
    {"E4 12 00 03 11 E4", "loco 3: speed code 1 + half step = emergency stop, reverse"},
    {"E4 12 00 03 82 77", "loco 3: speed code 2 = step 1 of 28, forward"},
    {"E4 12 00 03 9F 6A", "loco 3: speed code 15 + half step = step 28 of 28, forward"},
    // Function bytes use this program's weights in every group.
    {"E4 20 00 03 02 C5", "loco 3: function group 1 (F0-F4), byte 2: F2 on"},
    {"E4 21 00 03 21 E7", "loco 3: function group 2 (F5-F8), byte 33: F1 F5 on"},
    {"E4 22 00 03 10 D5", "loco 3: function group 3 (F9-F12), byte 16: F0 on"},
    {"E4 20 00 03 00 C7", "loco 3: function group 1 (F0-F4), byte 0: all off"},
    {"E4 22 E7 0F FF D1", "loco 9999: function group 3 (F9-F12), byte 255: F0 F1 F2 F3 F4 F5 F6 F7 on"},
    // Double header.
    {"E5 43 00 03 C4 D2 B3", "double header: loco 3 + loco 1234 established"},
    {"E5 43 C0 64 00 63 61", "double header: loco 100 + loco 99 established"},
    {"E5 43 C4 D2 D1 D7 B6", "double header: loco 1234 + loco 4567 established"},
    {"E5 43 00 03 00 00 A5", "double header of loco 3 dissolved"},
    {"E5 43 C4 D2 00 00 B0", "double header of loco 1234 dissolved"},
    // Accessories: Lenz turnout = address * 4 + pair + 1.
    {"52 01 8A D9", "accessory address 1, pair 1, side L, on (Lenz turnout 6)"},
    {"52 01 82 D1", "accessory address 1, pair 1, side L, off (Lenz turnout 6)"},
    {"52 01 8B D8", "accessory address 1, pair 1, side R, on (Lenz turnout 6)"},
    {"52 02 88 D8", "accessory address 2, pair 0, side L, on (Lenz turnout 9)"},
    {"52 01 89 DA", "accessory address 1, pair 0, side R, on (Lenz turnout 5)"},
    {"52 01 80 D3", "accessory address 1, pair 0, side L, off (Lenz turnout 5)"},
    {"52 00 88 DA", "accessory address 0, pair 0, side L, on (Lenz turnout 1)"},
    // 128 steps: code 0 stop, 1 emergency stop, n >= 2 step n - 1.
    {"E4 13 00 03 85 71", "loco 3: 128-step code 5 = step 4 of 126, forward"},
    {"E4 13 C4 D2 FF 1E", "loco 1234: 128-step code 127 = step 126 of 126, forward"},
    {"E4 13 00 03 01 F5", "loco 3: 128-step code 1 = emergency stop, reverse"},
    {"E4 13 00 03 80 74", "loco 3: 128-step code 0 = stop, forward"},
    // The command station.
    {"21 21 00", "command station version query"},
    {"21 24 05", "command station status query"},
    {"21 80 A1", "track power off"},
    {"21 81 A0", "resume normal operation (track power on)"},
    {"80 80", "emergency stop of all locos"},
    {"92 C4 D2 84", "emergency stop of loco 1234"},
    // The rest.
    {"F0 F0", "interface version query"},
    {"E4 10 00 03 05 F2", "unknown command"},
    {"E3 40 00 03 A0", "unknown command"},
    {"E4 12 00", "malformed frame (3 bytes, header says 6)"},
    {"E4 12 00 03 89 7D", "bad check byte (should be 7C)"},
    {"", "empty frame"},
};

TEST(DescribeCommand, SaysWhatEachCommandMeans)
{
    for (const DescribeCase& c : commandCases)
        EXPECT_EQ(xpressnet::describeCommand(bytesOf(c.frame)), c.words) << c.frame;
}

TEST(DescribeReply, SaysWhatEachReplyMeansAndWhatKindItIs)
{
    using K = xpressnet::ReplyKind;
    struct ReplyCase {
        const char* frame;
        K kind;
        const char* words;
    };
    const ReplyCase cases[] = {
        {"01 04 05", K::Acknowledged, "command accepted"},
        {"01 01 00", K::TransmissionError, "error between PC and interface (frame dropped)"},
        {"01 02 03", K::TransmissionError, "error between interface and command station"},
        {"01 03 02", K::TransmissionError, "unknown communication error (bad check byte)"},
        {"01 05 04", K::TimeSlotLost, "command station gives the interface no time slot"},
        {"01 06 07", K::TransmissionError, "interface buffer overflow"},
        {"01 07 06", K::TimeSlotRestored, "time slot restored"},
        {"01 08 09", K::TransmissionError, "request without time slot"},
        {"01 09 08", K::TransmissionError, "bad data sent to the interface"},
        {"01 0A 0B", K::TransmissionError, "interface asks to send again"},
        {"02 01 36 35", K::InterfaceVersion, "interface version: hardware 0.1, software 3.6"},
        {"02 12 40 50", K::InterfaceVersion, "interface version: hardware 1.2, software 4.0"},
        {"61 00 61", K::TrackPowerOff, "track power off"},
        {"61 01 60", K::NormalOperation, "normal operation resumed, track power on"},
        {"61 02 63", K::ServiceMode, "service mode"},
        {"81 00 81", K::EmergencyStop, "emergency stop"},
        {"61 80 E1", K::TransmissionError, "transfer error"},
        {"61 81 E0", K::TransmissionError, "command station busy"},
        {"61 82 E3", K::NotSupported, "instruction not supported"},
        {"E1 81 60", K::DoubleHeaderRefused,
         "double header refused: a loco was not driven from this panel (or its address is 0)"},
        {"E1 82 63", K::DoubleHeaderRefused, "double header refused: a loco is driven by another throttle"},
        {"E1 83 62", K::DoubleHeaderRefused, "double header refused: a loco is already in another double header"},
        {"E1 84 65", K::DoubleHeaderRefused, "double header refused: a loco is not at speed 0"},
        {"E1 85 64", K::DoubleHeaderRefused, "double header refused: the loco is not in a multi-unit"},
        {"E1 86 67", K::DoubleHeaderRefused, "double header refused: the address is not a multi-unit address"},
        {"E1 87 66", K::DoubleHeaderRefused, "double header refused: the loco cannot be removed"},
        {"E1 88 69", K::DoubleHeaderRefused, "double header refused: the command station's loco stack is full"},
        // The X-Bus form of the first four.
        {"61 83 E2", K::DoubleHeaderRefused,
         "double header refused: a loco was not driven from this panel (or its address is 0)"},
        {"61 86 E7", K::DoubleHeaderRefused, "double header refused: a loco is not at speed 0"},
        {"63 21 36 00 74", K::CommandStationVersion, "command station: LZ100/LZV100, version 3.6"},
        {"63 21 36 01 75", K::CommandStationVersion, "command station: LH200, version 3.6"},
        {"63 21 12 02 52", K::CommandStationVersion, "command station: compact or other, version 1.2"},
        {"63 21 30 10 62", K::CommandStationVersion, "command station: multiMAUS, version 3.0"},
        {"63 21 12 12 42", K::CommandStationVersion, "command station: z21, version 1.2"},
        {"63 21 40 20 22", K::CommandStationVersion, "command station: type 0x20, version 4.0"},
        {"E3 40 C4 D2 B5", K::TakenOver, "loco 1234 taken over by another throttle"},
        {"E3 40 00 03 A0", K::TakenOver, "loco 3 taken over by another throttle"},
        {"42 00 45 07", K::Feedback, "feedback address 0, inputs 1-4: 1 3 on"},
        {"42 01 52 11", K::Feedback, "feedback address 1, inputs 5-8: 6 on"},
        {"42 02 9A DA", K::Feedback, "accessory information: address 2, turnouts 11-12, state bits 1010, not finished"},
        {"42 05 23 64", K::Feedback, "accessory information: address 5, turnouts 21-22, state bits 0011"},
        {"E1 89 68", K::Unknown, "unknown reply"},
        {"63 22 36 00 77", K::Unknown, "unknown reply"},
        {"01 04 04", K::Unknown, "bad check byte (should be 05)"},
        {"02 01 36", K::Unknown, "malformed frame (3 bytes, header says 4)"},
        {"", K::Unknown, "empty frame"},
    };
    for (const ReplyCase& c : cases) {
        EXPECT_EQ(xpressnet::describeReply(bytesOf(c.frame)), c.words) << c.frame;
        EXPECT_EQ(xpressnet::classifyReply(bytesOf(c.frame)).kind, c.kind) << c.frame;
    }
}

TEST(ClassifyReply, CarriesWhatTheProgramNeedsToAct)
{
    using xpressnet::classifyReply;
    using xpressnet::Refusal;
    EXPECT_EQ(classifyReply(bytesOf("E1 84 65")).refusal, Refusal::NotStopped);
    EXPECT_EQ(classifyReply(bytesOf("61 85 E4")).refusal, Refusal::AlreadyCoupled);
    EXPECT_EQ(classifyReply(bytesOf("E3 40 E7 0F 4B")).address, 9999u);
    EXPECT_EQ(classifyReply(bytesOf("01 02 03")).code, 0x02);
    const auto station = classifyReply(bytesOf("63 21 30 10 62"));
    EXPECT_EQ(station.version, 0x30);
    EXPECT_EQ(station.stationType, 0x10);
    const auto box = classifyReply(bytesOf("02 12 40 50"));
    EXPECT_EQ(box.hardware, 0x12);
    EXPECT_EQ(box.software, 0x40);
    const auto feedback = classifyReply(bytesOf("42 01 52 11"));
    EXPECT_EQ(feedback.address, 1u);
    EXPECT_EQ(feedback.code, 0x52);
}

TEST(Frame, CheckByteHexAndLocoNumber)
{
    EXPECT_EQ(xpressnet::withCheckByte(bytesOf("E4 12 00 03 89")), bytesOf("E4 12 00 03 89 7C"));
    EXPECT_EQ(xpressnet::xorOf(bytesOf("E5 43 00 03 C4 D2 B3")), 0);
    EXPECT_EQ(xpressnet::hex(bytesOf("0A FF 00")), "0A FF 00");
    EXPECT_EQ(xpressnet::frameLength(0xE4), 6u);
    EXPECT_EQ(xpressnet::frameLength(0xF0), 2u);
    EXPECT_EQ(xpressnet::locoNumber(0x00, 0x63), 99u);
    EXPECT_EQ(xpressnet::locoNumber(0xC0, 0x64), 100u);
    EXPECT_EQ(xpressnet::locoNumber(0xE7, 0x0F), 9999u);
}

} // namespace
