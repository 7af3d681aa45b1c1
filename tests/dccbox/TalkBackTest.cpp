#include "BoxScript.h"

#include "dccbox/Options.h"

#include <gtest/gtest.h>

namespace {

void playOnPty(dccbox::Options options, const std::vector<Step>& steps)
{
    dccbox::SimulatedBox box(std::move(options));
    START_BOX(box);
    BoxClient port(box.devicePath());
    ASSERT_TRUE(port.isOpen());
    play(box, port, steps);
}

TEST(SimulatedBox, AnswersAndTalksBackLikeACommandStation)
{
    playOnPty({}, {
        // Answers: the acknowledgement, then the broadcast to every device.
        {"80 80", "01 04 05 81 00 81"},
        {"21 80 A1", "01 04 05 61 00 61"},
        {"21 81 A0", "01 04 05 61 01 60"},
        {"21 21 00", "63 21 36 00 74"},
        {"21 24 05", "62 22 00 40"},
        // Raised at the box's terminal, as from a hand throttle or the command station.
        {"> stop", "81 00 81"},
        {"> off", "61 00 61"},
        {"21 24 05", "62 22 01 41"}, // the state follows what was raised
        {"> service", "61 02 63"},
        {"> resume", "61 01 60"},
        {"> takeover 1234", "E3 40 C4 D2 B5"},
        {"> takeover 3", "E3 40 00 03 A0"},
        // Silent until told to talk.
        {"> silent", ""},
        {"E4 12 00 03 80 75", ""},
        {"F0 F0", ""},
        {"> talk", ""},
        {"E4 12 00 03 80 75", "01 04 05"},
        // Scripted failures for the program's retransmission.
        {"> fail 2", ""},
        {"52 01 89 DA", "01 02 03"},
        {"52 01 89 DA", "01 02 03"},
        {"52 01 89 DA", "01 04 05"},
        {"> ignore 1", ""},
        {"F0 F0", ""},
        {"F0 F0", "02 01 36 35"},
        {"> busy 1", ""},
        {"E4 12 00 03 80 75", "61 81 E0"},
        {"E4 12 00 03 80 75", "01 04 05"},
        // Without a time slot only the interface itself answers.
        {"> slot-lost", "01 05 04"},
        {"E4 12 00 03 80 75", "01 05 04"},
        {"F0 F0", "02 01 36 35"},
        {"> slot-back", "01 07 06"},
        {"E4 12 00 03 80 75", "01 04 05"},
    });
}

TEST(SimulatedBox, RefusesDoubleHeadersAsACommandStationDoes)
{
    playOnPty({}, {
        {"E5 43 C4 D2 D1 D7 B6", "E1 81 60"}, // neither loco driven from here
        {"E4 12 C4 D2 80 60", "01 04 05"},
        {"E5 43 C4 D2 D1 D7 B6", "E1 81 60"}, // 4567 still not
        {"E4 12 D1 D7 89 79", "01 04 05"},
        {"E5 43 C4 D2 D1 D7 B6", "E1 84 65"}, // 4567 moving
        {"E4 12 D1 D7 91 61", "01 04 05"},    // emergency stop: stopped too
        {"E5 43 C4 D2 D1 D7 B6", "01 04 05"},
        {"E4 12 00 03 80 75", "01 04 05"},
        {"E5 43 00 03 C4 D2 B3", "E1 83 62"}, // 1234 is taken
        {"E5 43 C4 D2 00 00 B0", "01 04 05"}, // dissolved
        {"E5 43 00 03 C4 D2 B3", "01 04 05"},
        {"E5 43 00 00 00 03 A5", "E1 81 60"}, // address 0
        {"E5 43 00 03 00 00 A5", "01 04 05"},
        {"E4 13 00 03 85 71", "01 04 05"},    // 128 steps, moving
        {"E5 43 00 03 C4 D2 B3", "E1 84 65"},
        {"92 00 03 91", "01 04 05"},          // its own emergency stop: it stands
        {"E5 43 00 03 C4 D2 B3", "01 04 05"},
    });

    dccbox::Options accepting;
    accepting.refuseDoubleHeaders = false;
    playOnPty(accepting, {{"E5 43 C4 D2 D1 D7 B6", "01 04 05"}});
}

TEST(SimulatedBox, ReportsTheChosenCommandStation)
{
    dccbox::Options options;
    ASSERT_TRUE(dccbox::parseStation("z21:1.2", options.stationType, options.stationVersion));
    playOnPty(options, {{"21 21 00", "63 21 12 12 42"}});
}

TEST(StationOption, ReadsTypeByNameOrNumberAndAVersion)
{
    struct Case {
        const char* text;
        bool ok;
        std::uint8_t type;
        std::uint8_t version; // 0x99 unless given
    };
    const Case cases[] = {
        {"LZV100", true, 0x00, 0x99},   {"lh200:1.2", true, 0x01, 0x12}, {"compact", true, 0x02, 0x99},
        {"multiMAUS:3.0", true, 0x10, 0x30}, {"Z21", true, 0x12, 0x99}, {"0x20:4.0", true, 0x20, 0x40},
        {"32", true, 0x20, 0x99},       {"LZV", false, 0, 0},            {"z21:12", false, 0, 0},
        {"0x100", false, 0, 0},         {"", false, 0, 0},               {"z21:", false, 0, 0},
    };
    for (const Case& c : cases) {
        std::uint8_t type = 0x77;
        std::uint8_t version = 0x99;
        EXPECT_EQ(dccbox::parseStation(c.text, type, version), c.ok) << c.text;
        EXPECT_EQ(type, c.ok ? c.type : 0x77) << c.text;
        EXPECT_EQ(version, c.ok ? c.version : 0x99) << c.text;
    }
}

TEST(BoxCommands, SayWhatWasDoneOrWhatIsWrong)
{
    dccbox::SimulatedBox box;
    START_BOX(box);
    const std::pair<const char*, const char*> cases[] = {
        {"  stop  ", "stop: done"},
        {"fail 3", "fail: done"},
        {"stop now", "stop takes nothing after it"},
        {"takeover", "takeover wants a loco number 1..9999, e.g. takeover 1234"},
        {"takeover 10000", "takeover wants a loco number 1..9999, e.g. takeover 1234"},
        {"ignore many", "ignore wants a number, e.g. ignore 2"},
        {"delay 20", "delay: done"},
        {"busy", "busy wants a number, e.g. busy 2"},
        {"halt", "unknown command \"halt\"; help lists the commands"},
        {"", ""},
    };
    for (const auto& [line, said] : cases)
        EXPECT_EQ(dccbox::runBoxCommand(box, line), said) << line;
    const std::string help = dccbox::runBoxCommand(box, "help");
    for (const char* name : {"stop", "off", "service", "resume", "silent", "talk", "slot-lost", "slot-back",
                             "takeover LOCO", "fail N", "ignore N", "busy N", "delay MS"})
        EXPECT_NE(help.find("\n  " + std::string(name) + " "), std::string::npos) << name;
}

} // namespace
