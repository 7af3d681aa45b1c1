#include "FieldFormat.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

struct TextCase {
    const char* name;
    QByteArray content;
    QStringList expected; // fields read in order until the first failure
};

QStringList readAllTexts(const QByteArray& content)
{
    FieldReader reader(content);
    QStringList fields;
    while (const auto field = reader.readText())
        fields << *field;
    return fields;
}

class TextFields : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextFields, AreReadInOrderAcrossLines)
{
    EXPECT_EQ(readAllTexts(GetParam().content), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    FieldReader, TextFields,
    ::testing::Values(
        TextCase{"quoted", "\"DCC + DC\"\r\n", {"DCC + DC"}},
        TextCase{"unquoted_by_hand", "DCC\r\n", {"DCC"}},
        TextCase{"unquoted_stops_at_comma", "Mill, Brook\r\n", {"Mill", "Brook"}},
        TextCase{"quoted_keeps_comma", "\"Mill, Brook\"\r\n", {"Mill, Brook"}},
        TextCase{"leading_blanks_skipped", "   \"x\" ,  y  \r\n", {"x", "y"}},
        TextCase{"records_across_lines", "\"0003\",\"E27\"\r\n\"1234\",\"D1\"\r\n", {"0003", "E27", "1234", "D1"}},
        TextCase{"lf_only_line_ends", "\"a\"\n\"b\"\n", {"a", "b"}},
        TextCase{"no_final_line_end", "\"a\"", {"a"}},
        TextCase{"unclosed_quote_ends_at_line_end", "\"abc\r\n\"d\"\r\n", {"abc", "d"}},
        TextCase{"blank_line_is_an_empty_field", "\"a\"\r\n\r\n\"b\"\r\n", {"a", "", "b"}},
        TextCase{"empty_file", "", {}},
        TextCase{"text_after_closing_quote_ignored", "\"a\"xyz,\"b\"\r\n", {"a", "b"}},
        TextCase{"utf8", "\"Ashby \xc3\xa9\"\r\n", {QStringLiteral("Ashby \u00e9")}},
        // Not valid UTF-8: written by the Windows program in Windows-1252.
        TextCase{"windows_1252", "\"Bahnhof S\xfc" "d\",\"\x80 5\"\r\n", {QStringLiteral("Bahnhof S\u00fcd"), QStringLiteral("\u20ac 5")}},
        TextCase{"one_bad_byte_makes_it_windows_1252", "\"\xc3\xa9\",\"\xe9\"\r\n", {QStringLiteral("\u00c3\u00a9"), QStringLiteral("\u00e9")}}),
    [](const ::testing::TestParamInfo<TextCase>& param) { return std::string(param.param.name); });

struct NumberCase {
    const char* name;
    QByteArray content;
    std::vector<std::int64_t> expected;
};

class NumberFields : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFields, AreReadUntilTheFirstNonNumber)
{
    FieldReader reader(GetParam().content);
    std::vector<std::int64_t> numbers;
    while (const auto number = reader.readNumber())
        numbers.push_back(*number);
    EXPECT_EQ(numbers, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    FieldReader, NumberFields,
    ::testing::Values(
        NumberCase{"plain", "1200,300,1200,9000\r\n", {1200, 300, 1200, 9000}},
        NumberCase{"blanks_around_fields", "1200, 300 ,1200,9000\r\n", {1200, 300, 1200, 9000}},
        NumberCase{"negative", "-45,7\r\n", {-45, 7}},
        NumberCase{"blank_ends_a_number", "12 34\r\n", {12, 34}},
        NumberCase{"one_per_line", "3\r\n4\r\n", {3, 4}},
        NumberCase{"stops_at_text", "3,abc,4\r\n", {3}},
        NumberCase{"empty_field_is_no_number", ",3\r\n", {}},
        NumberCase{"binary_garbage", QByteArray("\x01\xff\x00\x7f", 4), {}},
        NumberCase{"decimal_point_is_no_integer", "1.5\r\n", {}},
        NumberCase{"overflow_is_no_number", "99999999999999999999999\r\n", {}},
        NumberCase{"sign_alone", "-\r\n", {}}),
    [](const ::testing::TestParamInfo<NumberCase>& param) { return std::string(param.param.name); });

TEST(FieldReader, ReadsTruthTokensAndRefusesOthers)
{
    FieldReader reader("\"F0\",#TRUE#\r\n\"F1\",#FALSE#\r\n\"F2\",maybe\r\n");
    EXPECT_EQ(reader.readText(), QStringLiteral("F0"));
    EXPECT_EQ(reader.readTruth(), true);
    EXPECT_EQ(reader.readText(), QStringLiteral("F1"));
    EXPECT_EQ(reader.readTruth(), false);
    EXPECT_EQ(reader.readText(), QStringLiteral("F2"));
    EXPECT_EQ(reader.readTruth(), std::nullopt);
}

TEST(FieldReader, AFailedReadLeavesThePositionForSkipping)
{
    FieldReader reader("abc,1\r\n7\r\n");
    EXPECT_EQ(reader.readNumber(), std::nullopt);
    EXPECT_EQ(reader.line(), 1);
    reader.skipLine();
    EXPECT_EQ(reader.line(), 2);
    EXPECT_EQ(reader.readNumber(), 7);
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, HandlesAVeryLongLine)
{
    const QByteArray longText(200000, 'x');
    FieldReader reader("\"" + longText + "\"\r\n");
    const auto text = reader.readText();
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), longText.size());
}

TEST(FieldWriter, WritesQuotedTextsPlainNumbersAndCrLf)
{
    FieldWriter writer;
    writer.text(QStringLiteral("DCC + DC")).endLine();
    EXPECT_EQ(writer.bytes(), QByteArray("\"DCC + DC\"\r\n"));
    EXPECT_EQ(writer.bytes().size(), 12); // ten characters and the line end

    FieldWriter numbers;
    numbers.number(1200).number(-45).number(0).endLine();
    EXPECT_EQ(numbers.bytes(), QByteArray("1200,-45,0\r\n"));

    FieldWriter mixed;
    mixed.text(QStringLiteral("F0")).truth(true).endLine().text(QStringLiteral("F1")).truth(false).endLine();
    EXPECT_EQ(mixed.bytes(), QByteArray("\"F0\",#TRUE#\r\n\"F1\",#FALSE#\r\n"));
}

TEST(FieldWriter, KeepsQuotesAndLineEndsOutOfATextSoItReadsBackAsOneField)
{
    FieldWriter writer;
    writer.text(QStringLiteral("say \"hi\"\r\nthere")).text(QStringLiteral("next")).endLine();
    FieldReader reader(writer.bytes());
    EXPECT_EQ(reader.readText(), QStringLiteral("say 'hi'  there"));
    EXPECT_EQ(reader.readText(), QStringLiteral("next"));
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldFormat, RoundTripsEveryKindOfField)
{
    FieldWriter writer;
    writer.text(QStringLiteral("Millbrook Junction")).number(-32768).number(32767).truth(true).endLine();
    FieldReader reader(writer.bytes());
    EXPECT_EQ(reader.readText(), QStringLiteral("Millbrook Junction"));
    EXPECT_EQ(reader.readNumber(), -32768);
    EXPECT_EQ(reader.readNumber(), 32767);
    EXPECT_EQ(reader.readTruth(), true);
    EXPECT_TRUE(reader.atEnd());
}

} // namespace
