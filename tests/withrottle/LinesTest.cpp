// What a phone says, taken apart; what the server says, byte for byte.
#include "Commands.h"
#include "Keys.h"
#include "LineSplitter.h"
#include "Replies.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

using namespace withrottle;
using Kind = Command::Kind;
using A = Action::Kind;

TEST(PhoneLines, EachLineIsTakenApartIntoItsCommand)
{
    struct Case {
        const char* line;
        Kind kind;
        const char* key;
        const char* text;
        int value;
        Action action;
    };
    const Case cases[] = {
        {"NEngine Driver 482113", Kind::Name, "", "Engine Driver 482113", 0, {}},
        {"HU482113", Kind::DeviceId, "", "482113", 0, {}},
        {"*+", Kind::HeartbeatStart, "", "", 0, {}},
        {"*-", Kind::HeartbeatStop, "", "", 0, {}},
        {"*", Kind::Heartbeat, "", "", 0, {}},
        {"Q", Kind::Quit, "", "", 0, {}},
        {"PPA1", Kind::Power, "", "", 1, {}},
        {"PPA0", Kind::Power, "", "", 0, {}},
        {"PTACLT12", Kind::Turnout, "", "LT12", 12, {}},
        {"PTATLT5", Kind::Turnout, "", "LT5", 5, {}},
        {"PTA2LT99", Kind::Turnout, "", "LT99", 99, {}},
        {"M0+L1012<;>EBR 218", Kind::Acquire, "L1012", "EBR 218", 0, {}},
        {"M0+S3<;>S3", Kind::Acquire, "S3", "S3", 0, {}},
        {"MTSL41<;>L41", Kind::Steal, "L41", "L41", 0, {}},
        {"M0-*<;>r", Kind::Release, "*", "r", 0, {}},
        {"M0-L1012<;>d", Kind::Release, "L1012", "d", 0, {}},
        {"M0A*<;>V42", Kind::ThrottleAction, "*", "V42", 0, {A::Speed, 42}},
        {"M0A*<;>V126", Kind::ThrottleAction, "*", "V126", 0, {A::Speed, 126}},
        {"M0A*<;>V-1", Kind::ThrottleAction, "*", "V-1", 0, {A::EmergencyStop, 0}},
        {"M1AL1012<;>R0", Kind::ThrottleAction, "L1012", "R0", 0, {A::Direction, 0}},
        {"M1AL1012<;>R1", Kind::ThrottleAction, "L1012", "R1", 0, {A::Direction, 1}},
        {"M0AS3<;>F112", Kind::ThrottleAction, "S3", "F112", 0, {A::FunctionPress, 12}},
        {"M0AS3<;>F02", Kind::ThrottleAction, "S3", "F02", 0, {A::FunctionRelease, 2}},
        {"M0A*<;>f10", Kind::ThrottleAction, "*", "f10", 0, {A::ForceOn, 0}},
        {"M0A*<;>f07", Kind::ThrottleAction, "*", "f07", 0, {A::ForceOff, 7}},
        {"M0A*<;>X", Kind::ThrottleAction, "*", "X", 0, {A::EmergencyStop, 0}},
        {"M0A*<;>I", Kind::ThrottleAction, "*", "I", 0, {A::Idle, 0}},
        {"M0A*<;>qV", Kind::ThrottleAction, "*", "qV", 0, {A::QuerySpeed, 0}},
        {"M0A*<;>qR", Kind::ThrottleAction, "*", "qR", 0, {A::QueryDirection, 0}},
        {"M0A*<;>qs", Kind::ThrottleAction, "*", "qs", 0, {A::QueryStepMode, 0}},
        {"M0A*<;>qm", Kind::ThrottleAction, "*", "qm", 0, {A::QueryMomentary, 0}},
        {"M0A*<;>s1", Kind::ThrottleAction, "*", "s1", 0, {A::StepMode, 1}},
        // Unknown, malformed or out of range: ignored, never half-read.
        {"", Kind::Ignored, "", "", 0, {}},
        {"TL341", Kind::Ignored, "", "", 0, {}},
        {"D2FF00", Kind::Ignored, "", "", 0, {}},
        {"M0A*<;>V127", Kind::Ignored, "*", "V127", 0, {}},
        {"M0A*<;>V4x", Kind::Ignored, "*", "V4x", 0, {}},
        {"M0A*<;>F129", Kind::Ignored, "*", "F129", 0, {}},
        {"M0A*<;>F2", Kind::Ignored, "*", "F2", 0, {}},
        {"M0A*<;>Z", Kind::Ignored, "*", "Z", 0, {}},
        {"M0AS3", Kind::Ignored, "", "", 0, {}},
        {"M0A<;>V1", Kind::Ignored, "", "", 0, {}},
        {"M", Kind::Ignored, "", "", 0, {}},
        {"M0?S3<;>S3", Kind::Ignored, "S3", "S3", 0, {}},
        {"PTAXLT1", Kind::Ignored, "", "", 0, {}},
        {"PTACLT", Kind::Ignored, "", "", 0, {}},
        {"PPA7", Kind::Ignored, "", "", 0, {}},
        {"Quit", Kind::Ignored, "", "", 0, {}},
        {"H", Kind::Ignored, "", "", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Command command = parseLine(QString::fromUtf8(c.line));
        EXPECT_EQ(command.kind, c.kind);
        if (command.kind == Kind::Ignored)
            continue;
        if (QByteArray(c.line).startsWith('M')) {
            EXPECT_EQ(command.throttle, QLatin1Char(c.line[1]));
            EXPECT_EQ(command.key, QString::fromUtf8(c.key));
        }
        EXPECT_EQ(command.text, QString::fromUtf8(c.text));
        EXPECT_EQ(command.value, c.value);
        EXPECT_EQ(command.action, c.action);
    }
}

TEST(PhoneLines, KeysXpressNetCannotCarryAreRefusedWithTheReason)
{
    struct Case {
        const char* key;
        int address; // 0: refused
        const char* reasonHas;
    };
    const Case cases[] = {
        {"S1", 1, ""},         {"S99", 99, ""},       {"L100", 100, ""},  {"L9999", 9999, ""},
        {"S0", 0, "1 to 99"},  {"S100", 0, "1 to 99"}, {"S127", 0, "1 to 99"},
        {"L0", 0, "100 to 9999"}, {"L10000", 0, "100 to 9999"},
        {"L1", 0, "S1"},       {"L99", 0, "S99"},     {"L3", 0, "would drive loco S3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const auto key = parseKey(QString::fromUtf8(c.key));
        ASSERT_TRUE(key);
        EXPECT_EQ(keyText(*key), QString::fromUtf8(c.key));
        const KeyCheck check = checkKey(*key);
        EXPECT_EQ(check.address, c.address);
        EXPECT_EQ(check.refusal.isEmpty(), c.address != 0);
        EXPECT_TRUE(check.refusal.contains(QString::fromUtf8(c.reasonHas))) << check.refusal.toStdString();
    }
    for (const char* bad : {"*", "S", "L", "X3", "S3a", "S-1", "L1234567", ""})
        EXPECT_FALSE(parseKey(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(keyForAddress(3), (LocoKey{false, 3}));
    EXPECT_EQ(keyForAddress(100), (LocoKey{true, 100}));
}

TEST(PhoneLines, RepliesAreTheBytesPhonesExpect)
{
    const QList<RosterEntry> roster{{QStringLiteral("BR 218"), 218}, {QStringLiteral("Shunter"), 3}};
    const QString key = QStringLiteral("L218");
    struct Case {
        QByteArray got;
        const char* expected;
    };
    const Case cases[] = {
        {versionLine(), "VN2.0\n"},
        {rosterLine(roster), "RL2]\\[BR 218}|{218}|{L]\\[Shunter}|{3}|{S\n"},
        {rosterLine({}), "RL0\n"},
        {powerLine(1), "PPA1\n"},
        {powerLine(2), "PPA2\n"},
        {turnoutTitlesLine(), "PTT]\\[Turnouts}|{Turnout]\\[Closed}|{2]\\[Thrown}|{4\n"},
        {turnoutListLine({{1, 1}, {2, 4}}), "PTL]\\[LT1}|{1}|{1]\\[LT2}|{2}|{4\n"},
        {turnoutStateLine({12, 2}), "PTA2LT12\n"},
        {turnoutStateLine({5, 4}), "PTA4LT5\n"},
        {heartbeatLine(10), "*10\n"},
        {alertLine(QStringLiteral("DCC box lost")), "HMDCC box lost\n"},
        {acquiredLine(u'0', key), "M0+L218<;>\n"},
        {releasedLine(u'0', key), "M0-L218<;>\n"},
        {labelsLine(u'0', key, {QStringLiteral("Light"), QStringLiteral("Horn")}), "M0LL218<;>]\\[Light]\\[Horn\n"},
        {functionLine(u'0', key, 0, true), "M0AL218<;>F10\n"},
        {functionLine(u'0', key, 12, false), "M0AL218<;>F012\n"},
        {speedLine(u'0', key, 42), "M0AL218<;>V42\n"},
        {directionLine(u'0', key, true), "M0AL218<;>R1\n"},
        {directionLine(u'0', key, false), "M0AL218<;>R0\n"},
        {stepModeLine(u'0', key), "M0AL218<;>s2\n"},
        {momentaryLine(u'0', key, 2, true), "M0AL218<;>m12\n"},
        // A name cannot break the framing of its line.
        {rosterLine({{QStringLiteral("A]\\[B}|{C<;>D\nE"), 5}}), "RL1]\\[A B C D E}|{5}|{S\n"},
        {alertLine(QStringLiteral("two\nlines")), "HMtwo lines\n"},
        // UTF-8 both ways.
        {rosterLine({{QStringLiteral("Dampflok \u00e4"), 7}}), "RL1]\\[Dampflok \xc3\xa4}|{7}|{S\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, QByteArray(c.expected));
}

TEST(PhoneLines, TheStreamIsCutIntoLinesWhateverTheLineEnds)
{
    struct Case {
        QList<QByteArray> pieces;
        QStringList lines;
    };
    const QList<Case> cases{
        {{"VN2.0\n"}, {"VN2.0"}},
        {{"A\rB\r\nC\n\nD\n"}, {"A", "B", "C", "D"}},
        {{"M0A*<;", ">V42\r", "\nQ"}, {"M0A*<;>V42"}},
        {{"\n\n\r\n"}, {}},
        {{"N\xc3\xa4\n"}, {QStringLiteral("N\u00e4")}},
    };
    for (const Case& c : cases) {
        LineSplitter splitter(MaxLineBytes);
        QStringList lines;
        for (const QByteArray& piece : c.pieces)
            lines += splitter.feed(piece);
        EXPECT_EQ(lines, c.lines);
        EXPECT_FALSE(splitter.overLong());
    }

    LineSplitter splitter(8);
    EXPECT_EQ(splitter.feed("12345678\n"), QStringList{"12345678"});
    EXPECT_EQ(splitter.feed("1234"), QStringList{});
    EXPECT_EQ(splitter.feed("56789\nQ\n"), QStringList{});
    EXPECT_TRUE(splitter.overLong());
    EXPECT_EQ(splitter.feed("Q\n"), QStringList{}) << "nothing more is read from an over-long stream";
}
