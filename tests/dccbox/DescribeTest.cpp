#include "HexFrames.h"

#include "dccbox/BoxReplies.h"
#include "dccbox/Describe.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* frame;
    const char* words;
};

// Frames this program sends, with what the demo user should read next to them.
const Case commandCases[] = {
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
    // The rest.
    {"F0 F0", "interface version query"},
    {"E4 13 00 03 05 F1", "unknown command"},
    {"21 21 00", "unknown command"},
    {"E3 40 00 03 A0", "unknown command"},
    {"E4 12 00", "malformed frame (3 bytes, header says 6)"},
    {"", "empty frame"},
};

TEST(DescribeFrame, SaysWhatEachCommandMeans)
{
    for (const Case& c : commandCases)
        EXPECT_EQ(dccbox::describeFrame(bytesOf(c.frame)), c.words) << c.frame;
}

TEST(DescribeReply, NamesTheInterfaceAnswers)
{
    const Case cases[] = {
        {"02 01 36 35", "interface version: hardware 0.1, software 3.6"},
        {"02 12 40 50", "interface version: hardware 1.2, software 4.0"},
        {"01 04 05", "command accepted"},
        {"01 03 02", "unknown communication error (bad check byte)"},
        {"01 01 00", "error between PC and interface (frame dropped)"},
        {"61 00 61", "track power off"},
        {"E3 40 00 03 A0", "unknown reply"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dccbox::describeReply(bytesOf(c.frame)), c.words) << c.frame;
}

TEST(BoxReplies, VersionQueryGetsVersionsEverythingElseAnAcknowledgement)
{
    using dccbox::replyTo;
    EXPECT_EQ(replyTo(bytesOf("F0 F0"), 0x01, 0x36), bytesOf("02 01 36 35"));
    EXPECT_EQ(replyTo(bytesOf("F0 F0"), 0x12, 0x40), bytesOf("02 12 40 50"));
    for (const char* command : {"E4 12 00 03 89 7C", "E5 43 00 03 C4 D2 B3", "52 01 8A D9", "21 21 00"})
        EXPECT_EQ(replyTo(bytesOf(command), 0x01, 0x36), bytesOf("01 04 05")) << command;
}

TEST(Frame, CheckByteAndHex)
{
    EXPECT_EQ(dccbox::withCheckByte(bytesOf("E4 12 00 03 89")), bytesOf("E4 12 00 03 89 7C"));
    EXPECT_EQ(dccbox::xorOf(bytesOf("E5 43 00 03 C4 D2 B3")), 0);
    EXPECT_EQ(dccbox::hex(bytesOf("0A FF 00")), "0A FF 00");
    EXPECT_EQ(dccbox::frameLength(0xE4), 6u);
    EXPECT_EQ(dccbox::frameLength(0xF0), 2u);
}

} // namespace
