#include "RtfReader.h"
#include "RtfTokenizer.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The document's text with every paragraph and line end as a newline; other
// characters (a no-break space, say) as they are.
QString plainText(const QByteArray& rtf)
{
    QTextDocument document;
    EXPECT_TRUE(rtf::read(rtf, document)) << rtf.left(80).toStdString();
    return document.toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
}

// The character format of the first letter of word's first occurrence.
QTextCharFormat formatOf(const QTextDocument& document, const QString& word)
{
    const QTextCursor found = document.find(word, 0, QTextDocument::FindCaseSensitively);
    EXPECT_FALSE(found.isNull()) << word.toStdString();
    QTextCursor at(found);
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;
};

void PrintTo(const TextCase& c, std::ostream* out)
{
    *out << c.name;
}

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsToThePlainTextExpected)
{
    EXPECT_EQ(plainText(GetParam().rtf), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Constructs, RtfText, ::testing::Values(
    TextCase{"paragraphs", R"({\rtf1 one\par two\par three\par})", "one\ntwo\nthree"},
    TextCase{"line_ends_of_the_file_are_not_text", "{\\rtf1 wo\r\nrd\nly}", "wordly"},
    TextCase{"backslash_before_a_line_end_is_a_paragraph", "{\\rtf1 one\\\ntwo}", "one\ntwo"},
    TextCase{"tab", R"({\rtf1 a\tab b})", "a\tb"},
    TextCase{"hex_bytes_are_code_page_1252", R"({\rtf1 caf\'e9 \'93q\'94 \'80})", u"caf\u00e9 \u201cq\u201d \u20ac"_qs},
    TextCase{"unicode_skips_one_fallback_character", R"({\rtf1 \u8364?5})", u"\u20ac5"_qs},
    TextCase{"uc2_skips_two_hex_fallbacks", R"({\rtf1\uc2 \u8364\'80\'80 x})", u"\u20ac x"_qs},
    TextCase{"uc0_skips_nothing", R"({\rtf1\uc0 \u8364 x})", u"\u20acx"_qs},
    TextCase{"a_control_word_counts_as_one_fallback", R"({\rtf1 \u8364\bullet x})", u"\u20acx"_qs},
    TextCase{"uc_is_scoped_to_its_group", R"({\rtf1 {\uc2 \u8364 ab}\u8364 ab})", u"\u20ac\u20acb"_qs},
    TextCase{"negative_unicode_is_above_32767", R"({\rtf1 \u-24?})", u"\uffe8"_qs},
    TextCase{"surrogate_pair", R"({\rtf1 \u-10179?\u-8704?})", QString::fromUcs4(U"\U0001F600")},
    TextCase{"lone_surrogate_is_replaced", R"({\rtf1 a\u-10240?b})", u"a\ufffdb"_qs},
    TextCase{"escaped_braces_and_backslash", R"({\rtf1 \{x\} \\ y})", R"({x} \ y)"},
    TextCase{"symbols", R"({\rtf1 a\~b\_c\-d})", u"a\u00a0b\u2011cd"_qs},
    TextCase{"named_characters", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
             u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d"_qs},
    TextCase{"picture_skipped", R"({\rtf1 a{\pict\wmetafile8\picw10 0102ABCDEF}b})", "ab"},
    TextCase{"binary_picture_data_skipped", R"({\rtf1 a{\pict\bin3 }{}}b})", "ab"},
    TextCase{"unknown_starred_destination_skipped", R"({\rtf1 a{\*\unheardof Writer 1.0;}b})", "ab"},
    TextCase{"unknown_control_word_ignored_text_kept", R"({\rtf1 a\unheardof123 b})", "ab"},
    TextCase{"header_tables_are_not_text", R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;})"
                                           R"({\stylesheet{\s1 Heading;}}{\info{\title T}}x})", "x"},
    TextCase{"field_shows_its_result", R"({\rtf1 see {\field{\*\fldinst HYPERLINK "u"}{\fldrslt the site}} now})",
             "see the site now"},
    TextCase{"table_rows_become_tab_separated_lines",
             R"({\rtf1\trowd\cellx1000\cellx2000 \intbl A\cell B\cell\row\trowd\intbl \cell D\cell\row after})",
             "A\tB\n\tD\nafter"},
    TextCase{"hidden_text_not_shown", R"({\rtf1 a{\v secret}b})", "ab"},
    TextCase{"bytes_after_the_document_ignored", R"({\rtf1 a}junk)", "a"},
    TextCase{"leading_blank_lines_allowed", "\r\n  {\\rtf1 a}", "a"}
), [](const auto& param) { return std::string(param.param.name); });

INSTANTIATE_TEST_SUITE_P(Malformed, RtfText, ::testing::Values(
    TextCase{"groups_never_closed", R"({\rtf1 {\b a{\i b)", "ab"},
    TextCase{"stray_closing_braces", R"({\rtf1 {a}}}}})", "a"},
    TextCase{"backslash_at_the_end", "{\\rtf1 a\\", "a"},
    TextCase{"hex_escape_without_digits", R"({\rtf1 a\'})", "a"},
    TextCase{"hex_escape_cut_short", R"({\rtf1 a\'4)", "a"},
    TextCase{"hex_escape_with_one_digit", R"({\rtf1 a\'4x})", "ax"},
    TextCase{"unicode_without_number", R"({\rtf1 a\u)", "a"},
    TextCase{"unicode_minus_only", R"({\rtf1 a\u-)", "a"},
    TextCase{"unicode_far_out_of_range", R"({\rtf1 \u99999999999999?b})", u"\ufffdb"_qs},
    TextCase{"huge_skip_count_ends_at_the_group", R"({\rtf1 {\uc99999999999 \u65 lost}kept})", "Akept"},
    TextCase{"huge_binary_length", R"({\rtf1 a\bin99999999999 rest})", "a"},
    TextCase{"negative_binary_length", R"({\rtf1 a\bin-5 b})", "ab"},
    TextCase{"first_line_indent_of_the_lowest_int", R"({\rtf1\ansi {\fi-2147483648 x\par}})", "x"},
    TextCase{"very_long_control_word", QByteArray("{\\rtf1 a\\") + QByteArray(5000, 'x') + " b}", "ab"},
    TextCase{"nul_and_control_bytes_dropped", QByteArray("{\\rtf1 a\0\x01\x1f" "b}", 13), "ab"}
), [](const auto& param) { return std::string(param.param.name); });
// clang-format on

TEST(RtfReader, AHugeParagraphKeepsEveryLetterInBlocksOfBoundedLength)
{
    // One 200,000-letter word once froze the help window: its layout grew with
    // the square of the paragraph's length. It now comes in bounded blocks.
    QTextDocument document;
    ASSERT_TRUE(rtf::read(QByteArray("{\\rtf1\\ansi ") + QByteArray(200000, 'A') + "\\par}", document));
    EXPECT_EQ(document.toPlainText().count(QLatin1Char('A')), 200000);
    int longest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        longest = std::max(longest, block.length());
    EXPECT_GT(document.blockCount(), 1);
    EXPECT_LE(longest, 10000);
}

TEST(RtfReader, RefusesBytesThatAreNotRtfAndLeavesTheDocumentEmpty)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("old"));
    for (const QByteArray& bytes : {QByteArray(), QByteArray("hello"), QByteArray("{\\rt"), QByteArray("rtf1}")}) {
        EXPECT_FALSE(rtf::read(bytes, document)) << bytes.toStdString();
        EXPECT_TRUE(document.isEmpty());
    }
}

TEST(RtfReader, LineBreakStaysInsideItsParagraph)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1 one\line two\par three})", document));
    EXPECT_EQ(document.blockCount(), 2);
    EXPECT_EQ(document.firstBlock().text(), QStringLiteral("one") + QChar(QChar::LineSeparator) + QStringLiteral("two"));
}

TEST(RtfReader, BoldItalicUnderlineFollowTheirSwitchesAndGroups)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1 n {\b bo}{\i it}{\ul un}\b on\b0 off \ul u1\ulnone u2 \strike st})", document));
    EXPECT_FALSE(formatOf(document, "n").font().bold());
    EXPECT_TRUE(formatOf(document, "bo").font().bold());
    EXPECT_FALSE(formatOf(document, "bo").fontItalic());
    EXPECT_TRUE(formatOf(document, "it").fontItalic());
    EXPECT_FALSE(formatOf(document, "it").font().bold()) << "the bold group has ended";
    EXPECT_TRUE(formatOf(document, "un").fontUnderline());
    EXPECT_TRUE(formatOf(document, "on").font().bold());
    EXPECT_FALSE(formatOf(document, "off").font().bold());
    EXPECT_TRUE(formatOf(document, "u1").fontUnderline());
    EXPECT_FALSE(formatOf(document, "u2").fontUnderline());
    EXPECT_TRUE(formatOf(document, "st").fontStrikeOut());
}

TEST(RtfReader, FontSizesAreHalfPointsAndClamped)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1 d {\fs40 big}{\fs99999999999 huge}{\fs1 tiny}\fs20 small})", document));
    EXPECT_DOUBLE_EQ(formatOf(document, "d").fontPointSize(), 12.0);
    EXPECT_DOUBLE_EQ(formatOf(document, "big").fontPointSize(), 20.0);
    EXPECT_DOUBLE_EQ(formatOf(document, "huge").fontPointSize(), 200.0);
    EXPECT_DOUBLE_EQ(formatOf(document, "tiny").fontPointSize(), 1.0);
    EXPECT_DOUBLE_EQ(formatOf(document, "small").fontPointSize(), 10.0);
}

TEST(RtfReader, FontTableGivesFamiliesAndStyleHints)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1\deff1{\fonttbl{\f0\froman\fcharset0 Times New Roman;})"
                          R"({\f1\fswiss Arial{\*\falt Helvetica};}\f2\fmodern Courier New;}dflt \f0 serif \f2 mono)"
                          R"( \f7 unknown \plain plain})",
                          document));
    EXPECT_EQ(formatOf(document, "dflt").fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_EQ(formatOf(document, "serif").fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman")});
    EXPECT_EQ(formatOf(document, "serif").fontStyleHint(), QFont::Serif);
    EXPECT_EQ(formatOf(document, "mono").fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
    EXPECT_EQ(formatOf(document, "mono").fontStyleHint(), QFont::Monospace);
    EXPECT_FALSE(formatOf(document, "unknown").hasProperty(QTextFormat::FontFamilies));
    EXPECT_EQ(formatOf(document, "plain").fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")})
        << "\\plain goes back to the default font";
}

TEST(RtfReader, ColourTableIndexesFromOneAndZeroIsAutomatic)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1{\colortbl;\red200\green0\blue0;\red0\green0\blue160;})"
                          R"(\cf1 red \cf2 blue \cf0 auto \cf9 missing {\highlight2 marked}})",
                          document));
    EXPECT_EQ(formatOf(document, "red").foreground().color(), QColor(200, 0, 0));
    EXPECT_EQ(formatOf(document, "blue").foreground().color(), QColor(0, 0, 160));
    EXPECT_FALSE(formatOf(document, "auto").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(formatOf(document, "missing").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(document, "marked").background().color(), QColor(0, 0, 160));
}

TEST(RtfReader, ParagraphAlignmentAndIndentsBelongToTheirParagraph)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1\qc centred\par\pard\li720\fi-360\sb120\sa240 indented\par\pard plain\par})",
                          document));
    ASSERT_EQ(document.blockCount(), 3);
    const QTextBlockFormat centred = document.findBlockByNumber(0).blockFormat();
    const QTextBlockFormat indented = document.findBlockByNumber(1).blockFormat();
    const QTextBlockFormat plain = document.findBlockByNumber(2).blockFormat();
    EXPECT_EQ(centred.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(indented.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(indented.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(indented.bottomMargin(), 16.0);
    EXPECT_EQ(indented.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(plain.leftMargin(), 0.0);
}

TEST(RtfReader, TabStopsCountFromWhereTheFirstLineStarts)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1\tx1500\tqr\tx4500 a\tab b\tab c\par)"
                          R"(\pard\li600\fi-300\tx3000 \bullet\tab item\tab x\par\pard\li600\tx300 early\par})",
                          document));
    ASSERT_EQ(document.blockCount(), 3);
    using Tab = QTextOption::Tab;
    EXPECT_EQ(document.findBlockByNumber(0).blockFormat().tabPositions(),
              (QList<Tab>{Tab(100, QTextOption::LeftTab), Tab(300, QTextOption::RightTab)}));
    // The hanging indent stops the bullet's tab at the left indent.
    EXPECT_EQ(document.findBlockByNumber(1).blockFormat().tabPositions(),
              (QList<Tab>{Tab(20, QTextOption::LeftTab), Tab(180, QTextOption::LeftTab)}));
    EXPECT_TRUE(document.findBlockByNumber(2).blockFormat().tabPositions().isEmpty()) << "a stop left of the text";
}

TEST(RtfReader, LastParagraphWithoutParKeepsItsFormat)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1 first\par\qr last})", document));
    EXPECT_EQ(document.lastBlock().text(), QStringLiteral("last"));
    EXPECT_EQ(document.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST(RtfReader, DeepNestingIsBoundedAndStillEnds)
{
    // Moderate nesting is read; nesting past any sensible depth is skipped
    // whole rather than growing memory without bound.
    EXPECT_EQ(plainText("{\\rtf1 " + QByteArray(100, '{') + "x" + QByteArray(100, '}') + "y}"), QStringLiteral("xy"));

    const QString deep = plainText("{\\rtf1 a" + QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + "b}");
    EXPECT_EQ(deep, QStringLiteral("ab"));
}

TEST(RtfReader, ManyFormatChangesStayLinear)
{
    // A long run of tiny formatted pieces: every piece must arrive, in order.
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 5000; ++i)
        rtf += (i % 2 ? "\\b0 " : "\\b ") + QByteArray::number(i % 10);
    rtf += "}";
    const QString text = plainText(rtf);
    ASSERT_EQ(text.size(), 5000);
    EXPECT_TRUE(text.startsWith(QStringLiteral("0123456789")));
}

TEST(RtfTokenizer, NumbersAreClampedWhereTheyAreRead)
{
    const std::pair<const char*, int> cases[] = {
        {"\\fi-2147483648", -RtfToken::MaxParameter}, {"\\li2147483648", RtfToken::MaxParameter},
        {"\\bin99999999999999999999", RtfToken::MaxParameter}, {"\\sb-7", -7}, {"\\b0", 0},
        {"\\u-10", -10}};
    for (const auto& [rtf, expected] : cases) {
        RtfTokenizer tokens{QByteArrayView(rtf)};
        const RtfToken token = tokens.next();
        EXPECT_TRUE(token.hasParameter) << rtf;
        EXPECT_EQ(token.parameter, expected) << rtf;
    }
}

TEST(RtfReader, AHugeParagraphGoesOnInNewBlocksWithoutLosingALetter)
{
    // Qt lays out a paragraph in one piece, quadratically for one long word:
    // such paragraphs are cut into blocks the view can lay out one by one.
    const QByteArray word(200000, 'A');
    QByteArray words;
    for (int i = 0; i < 20000; ++i)
        words += "lorem ";
    for (const QByteArray& body : {word, words}) {
        QTextDocument document;
        ASSERT_TRUE(rtf::read("{\\rtf1\\fi300\\sb200 " + body + "\\par}", document));
        ASSERT_GT(document.blockCount(), 10);
        QString joined;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            EXPECT_LE(block.length(), 16384) << block.blockNumber();
            // A cut between words keeps the space on the line before it.
            if (body == words && block.next().isValid()) {
                EXPECT_TRUE(block.text().endsWith(QLatin1Char(' '))) << block.blockNumber();
            }
            joined += block.text();
        }
        EXPECT_EQ(joined, QString::fromLatin1(body));
        // The parts read as one paragraph: no new indent, no space between.
        const QTextBlockFormat second = document.begin().next().blockFormat();
        EXPECT_EQ(document.begin().blockFormat().textIndent(), 20);
        EXPECT_EQ(second.textIndent(), 0);
        EXPECT_EQ(second.topMargin(), 0);
        EXPECT_EQ(document.begin().blockFormat().bottomMargin(), 0);
    }
}

TEST(RtfReader, TheWholeDocumentArrivesAsOneChange)
{
    // A shown view lays out again on every change; one change per piece of
    // text made reading quadratic in a paragraph's length.
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i)
        rtf += "\\b bold\\b0  plain\\par ";
    QTextDocument document;
    (void)document.documentLayout(); // changes are told only to a layout
    QSignalSpy changes(&document, &QTextDocument::contentsChange);
    ASSERT_TRUE(rtf::read(rtf + "}", document));
    EXPECT_LE(changes.count(), 3) << "Qt's clearing takes two, the new content one";
    EXPECT_EQ(document.blockCount(), 200);
}

} // namespace
