#include "RtfReader.h"

#include "RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

// Deeper nesting than this occurs only in broken files; such groups are
// skipped whole so that memory stays bounded.
constexpr std::size_t MaxDepth = 512;
// Generous bounds for sizes and indents; beyond them the value is clamped.
constexpr int MaxHalfPoints = 400;
constexpr int MaxTwips = 31680; // 22 inches

// Bytes 0x80-0x9F of Windows code page 1252; the rest is Latin-1.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar fromCp1252(std::uint8_t byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(Cp1252High[byte - 0x80]);
    return QChar(byte);
}

enum class Destination { Text, Skip, FontTable, ColorTable };

enum class Word {
    // Character formatting.
    Bold, Italic, Underline, UnderlineNone, Strike, Hidden, FontSize, Font, Colour, Highlight, Super, Sub,
    NoSuperSub, Plain,
    // Paragraphs.
    Par, Line, Tab, Pard, AlignLeft, AlignCentre, AlignRight, AlignJustify, LeftIndent, RightIndent,
    FirstIndent, SpaceBefore, SpaceAfter, TabStop, TabStopRight, TabStopCentre, Cell, Row,
    // Characters.
    Unicode, UnicodeSkip, EmDash, EnDash, Bullet, LeftQuote, RightQuote, LeftDoubleQuote, RightDoubleQuote,
    EmSpace, EnSpace,
    // Tables of the header.
    FontTable, ColourTable, DefaultFont, FamilyRoman, FamilySwiss, FamilyModern, FamilyScript, FamilyDecor,
    FamilyTech, Red, Green, Blue,
    // Everything else that matters.
    Binary, SkipDestination,
};

const QHash<QByteArray, Word>& words()
{
    static const QHash<QByteArray, Word> table = [] {
        QHash<QByteArray, Word> t{
            {"b", Word::Bold}, {"i", Word::Italic}, {"ul", Word::Underline}, {"ulw", Word::Underline},
            {"uld", Word::Underline}, {"uldb", Word::Underline}, {"ulnone", Word::UnderlineNone},
            {"strike", Word::Strike}, {"v", Word::Hidden}, {"fs", Word::FontSize}, {"f", Word::Font},
            {"cf", Word::Colour}, {"highlight", Word::Highlight}, {"cb", Word::Highlight},
            {"super", Word::Super}, {"sub", Word::Sub}, {"nosupersub", Word::NoSuperSub}, {"plain", Word::Plain},
            {"par", Word::Par}, {"sect", Word::Par}, {"page", Word::Par}, {"line", Word::Line},
            {"tab", Word::Tab}, {"pard", Word::Pard}, {"ql", Word::AlignLeft}, {"qc", Word::AlignCentre},
            {"qr", Word::AlignRight}, {"qj", Word::AlignJustify}, {"li", Word::LeftIndent},
            {"ri", Word::RightIndent}, {"fi", Word::FirstIndent}, {"sb", Word::SpaceBefore},
            {"sa", Word::SpaceAfter}, {"tx", Word::TabStop}, {"tqr", Word::TabStopRight},
            {"tqc", Word::TabStopCentre}, {"cell", Word::Cell}, {"nestcell", Word::Cell}, {"row", Word::Row},
            {"nestrow", Word::Row}, {"u", Word::Unicode}, {"uc", Word::UnicodeSkip}, {"emdash", Word::EmDash},
            {"endash", Word::EnDash}, {"bullet", Word::Bullet}, {"lquote", Word::LeftQuote},
            {"rquote", Word::RightQuote}, {"ldblquote", Word::LeftDoubleQuote},
            {"rdblquote", Word::RightDoubleQuote}, {"emspace", Word::EmSpace}, {"enspace", Word::EnSpace},
            {"fonttbl", Word::FontTable}, {"colortbl", Word::ColourTable}, {"deff", Word::DefaultFont},
            {"froman", Word::FamilyRoman}, {"fswiss", Word::FamilySwiss}, {"fmodern", Word::FamilyModern},
            {"fscript", Word::FamilyScript}, {"fdecor", Word::FamilyDecor}, {"ftech", Word::FamilyTech},
            {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue}, {"bin", Word::Binary},
        };
        // Destinations whose content is never shown.
        for (const char* name :
             {"stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "footnote", "annotation", "fldinst", "listtable", "listoverridetable",
              "revtbl", "rsidtbl", "filetbl", "xmlnstbl", "themedata", "colorschememapping", "datastore",
              "latentstyles", "nonshppict", "shppict", "pgdsctbl", "mmathPr", "userprops", "docvar", "template",
              "comment", "generator", "xe", "tc", "txe", "private", "objdata", "result", "bkmkstart", "bkmkend"})
            t.insert(QByteArray(name), Word::SkipDestination);
        return t;
    }();
    return table;
}

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int halfPoints = 24;
    int font = -1; // -1: the document's default font
    int colour = 0; // 0: automatic
    int highlight = 0;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0; // twips
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    QList<QTextOption::Tab> tabs; // positions in twips from the paragraph's origin
    QTextOption::TabType nextTab = QTextOption::LeftTab; // set by \tqr, \tqc
};

// More tab stops than this in one paragraph occur only in broken files.
constexpr qsizetype MaxTabs = 64;

// Qt lays out a paragraph in one piece, and its line breaking rescans a
// word that does not fit from every line it starts: a huge paragraph or a
// long word would take time growing with the square of its length. So a
// paragraph goes on in a new block after MaxBlockLength characters, at the
// next space within MaxWordTail characters or else where it stands; the
// view can then lay it out piece by piece. Real documents never get there.
constexpr int MaxBlockLength = 8192;
constexpr int MaxWordTail = 1024;

bool breaksLine(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(QChar::LineSeparator);
}

struct GroupState {
    CharState character;
    ParaState paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

struct FontEntry {
    QString name;
    QFont::StyleHint hint = QFont::AnyStyle;
};

qreal pixels(int twips)
{
    return std::clamp(twips, -MaxTwips, MaxTwips) / 15.0;
}

bool switchedOn(const RtfToken& token)
{
    return !token.hasParameter || token.parameter != 0;
}

class Reader {
public:
    Reader(QByteArrayView bytes, QTextDocument& document)
        : tokens_(bytes)
        , cursor_(&document)
    {
    }

    void run();

private:
    void openGroup();
    void closeGroup();
    void controlWord(const RtfToken& token);
    void formatWord(Word word, const RtfToken& token);
    void symbol(char c);
    void text(QByteArrayView bytes);
    void character(QChar c);
    void append(QChar c);
    bool skippingFallback();
    void flush();
    void endParagraph();
    void finishParagraph();
    void continueInNewBlock();
    void commitFont();
    void commitColour();
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat(bool continued) const;

    RtfTokenizer tokens_;
    QTextCursor cursor_;
    std::vector<GroupState> stack_;
    GroupState state_;
    bool started_ = false;
    bool finished_ = false;
    int overflow_ = 0;  // groups opened past MaxDepth, skipped whole
    int fallback_ = 0;  // characters still to drop after \uN
    int pendingCells_ = 0; // cell ends waiting for the row's next text
    int blockLength_ = 0;  // characters in the current block
    bool atBreak_ = false; // the last character lets a line break after it
    bool continued_ = false; // the current block continues a paragraph
    QString pending_;   // text in the current format, not yet inserted

    std::map<int, FontEntry> fonts_;
    int defaultFont_ = 0;
    int fontIndex_ = 0;
    FontEntry font_;

    std::vector<std::optional<QColor>> colours_;
    int rgb_[3] = {0, 0, 0};
    bool colourSeen_ = false;
};

void Reader::run()
{
    for (;;) {
        const RtfToken token = tokens_.next();
        switch (token.kind) {
        case RtfToken::Kind::End:
            finishParagraph(); // a truncated file: keep what was read
            return;
        case RtfToken::Kind::GroupOpen:
            openGroup();
            break;
        case RtfToken::Kind::GroupClose:
            closeGroup();
            break;
        case RtfToken::Kind::ControlWord:
            controlWord(token);
            break;
        case RtfToken::Kind::ControlSymbol:
            if (overflow_ == 0 && !skippingFallback())
                symbol(token.symbol);
            break;
        case RtfToken::Kind::HexByte:
            if (overflow_ == 0 && !skippingFallback())
                character(fromCp1252(token.byte));
            break;
        case RtfToken::Kind::Text:
            if (overflow_ == 0)
                text(token.text);
            break;
        }
        if (finished_)
            return;
    }
}

void Reader::openGroup()
{
    fallback_ = 0;
    if (overflow_ > 0 || stack_.size() >= MaxDepth) {
        ++overflow_;
        return;
    }
    flush();
    stack_.push_back(state_);
    started_ = true;
}

void Reader::closeGroup()
{
    fallback_ = 0;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.empty())
        return; // a stray closing brace
    flush();
    if (state_.destination == Destination::FontTable)
        commitFont();
    if (stack_.size() == 1)
        finishParagraph(); // the last paragraph may lack its \par
    state_ = stack_.back();
    stack_.pop_back();
    // The document ends with its outermost group; bytes after it are not RTF.
    finished_ = started_ && stack_.empty();
}

bool Reader::skippingFallback()
{
    if (fallback_ <= 0)
        return false;
    --fallback_;
    return true;
}

void Reader::controlWord(const RtfToken& token)
{
    const auto found = words().constFind(token.word);
    const bool known = found != words().constEnd();
    // \bin's bytes are data wherever it stands and must never be read as RTF.
    if (known && *found == Word::Binary) {
        tokens_.skipBytes(token.hasParameter ? token.parameter : 0);
        return;
    }
    if (overflow_ > 0 || skippingFallback() || !known)
        return;

    const Word word = *found;
    switch (word) {
    case Word::FontTable:
        state_.destination = Destination::FontTable;
        return;
    case Word::ColourTable:
        state_.destination = Destination::ColorTable;
        colours_.clear();
        return;
    case Word::SkipDestination:
        state_.destination = Destination::Skip;
        return;
    case Word::DefaultFont:
        defaultFont_ = token.parameter;
        return;
    default:
        break;
    }

    if (state_.destination == Destination::FontTable) {
        switch (word) {
        case Word::Font:
            commitFont();
            fontIndex_ = token.parameter;
            break;
        case Word::FamilyRoman: font_.hint = QFont::Serif; break;
        case Word::FamilySwiss: font_.hint = QFont::SansSerif; break;
        case Word::FamilyModern: font_.hint = QFont::Monospace; break;
        case Word::FamilyScript: font_.hint = QFont::Cursive; break;
        case Word::FamilyDecor: font_.hint = QFont::Decorative; break;
        default: break;
        }
        return;
    }
    if (state_.destination == Destination::ColorTable) {
        const int value = std::clamp(token.parameter, 0, 255);
        if (word == Word::Red || word == Word::Green || word == Word::Blue) {
            rgb_[word == Word::Red ? 0 : word == Word::Green ? 1 : 2] = value;
            colourSeen_ = true;
        }
        return;
    }
    if (state_.destination != Destination::Text)
        return;
    formatWord(word, token);
}

void Reader::formatWord(Word word, const RtfToken& token)
{
    CharState& ch = state_.character;
    ParaState& para = state_.paragraph;
    const int value = token.parameter;
    switch (word) {
    case Word::Bold: flush(); ch.bold = switchedOn(token); break;
    case Word::Italic: flush(); ch.italic = switchedOn(token); break;
    case Word::Underline: flush(); ch.underline = switchedOn(token); break;
    case Word::UnderlineNone: flush(); ch.underline = false; break;
    case Word::Strike: flush(); ch.strike = switchedOn(token); break;
    case Word::Hidden: flush(); ch.hidden = switchedOn(token); break;
    case Word::FontSize: flush(); ch.halfPoints = token.hasParameter ? std::clamp(value, 2, MaxHalfPoints) : 24; break;
    case Word::Font: flush(); ch.font = value; break;
    case Word::Colour: flush(); ch.colour = value; break;
    case Word::Highlight: flush(); ch.highlight = value; break;
    case Word::Super: flush(); ch.vertical = QTextCharFormat::AlignSuperScript; break;
    case Word::Sub: flush(); ch.vertical = QTextCharFormat::AlignSubScript; break;
    case Word::NoSuperSub: flush(); ch.vertical = QTextCharFormat::AlignNormal; break;
    case Word::Plain: flush(); ch = CharState{}; break;
    case Word::Par: endParagraph(); break;
    case Word::Row: endParagraph(); break;
    case Word::Line: character(QChar::LineSeparator); break;
    case Word::Tab: character(QLatin1Char('\t')); break;
    case Word::Cell: ++pendingCells_; break;
    case Word::Pard: para = ParaState{}; break;
    case Word::AlignLeft: para.alignment = Qt::AlignLeft; break;
    case Word::AlignCentre: para.alignment = Qt::AlignHCenter; break;
    case Word::AlignRight: para.alignment = Qt::AlignRight; break;
    case Word::AlignJustify: para.alignment = Qt::AlignJustify; break;
    case Word::LeftIndent: para.left = value; break;
    case Word::RightIndent: para.right = value; break;
    case Word::FirstIndent: para.first = value; break;
    case Word::SpaceBefore: para.before = value; break;
    case Word::SpaceAfter: para.after = value; break;
    case Word::TabStopRight: para.nextTab = QTextOption::RightTab; break;
    case Word::TabStopCentre: para.nextTab = QTextOption::CenterTab; break;
    case Word::TabStop:
        if (para.tabs.size() < MaxTabs)
            para.tabs.append(QTextOption::Tab(std::clamp(value, 0, MaxTwips), para.nextTab));
        para.nextTab = QTextOption::LeftTab;
        break;
    case Word::Unicode: {
        // Values above 32767 are written negative; anything else is garbage.
        const int code = value < 0 ? value + 65536 : value;
        character(code >= 0 && code <= 0xFFFF ? QChar(static_cast<char16_t>(code)) : QChar(QChar::ReplacementCharacter));
        fallback_ = state_.unicodeSkip;
        break;
    }
    case Word::UnicodeSkip: state_.unicodeSkip = std::clamp(value, 0, 255); break;
    case Word::EmDash: character(QChar(0x2014)); break;
    case Word::EnDash: character(QChar(0x2013)); break;
    case Word::Bullet: character(QChar(0x2022)); break;
    case Word::LeftQuote: character(QChar(0x2018)); break;
    case Word::RightQuote: character(QChar(0x2019)); break;
    case Word::LeftDoubleQuote: character(QChar(0x201C)); break;
    case Word::RightDoubleQuote: character(QChar(0x201D)); break;
    case Word::EmSpace: character(QChar(0x2003)); break;
    case Word::EnSpace: character(QChar(0x2002)); break;
    default: break;
    }
}

void Reader::symbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}': character(QLatin1Char(c)); break;
    case '~': character(QChar(QChar::Nbsp)); break;
    case '_': character(QChar(0x2011)); break;
    case '*': state_.destination = Destination::Skip; break; // a destination this reader does not know
    default: break; // \- (optional hyphen), \| and the rest show nothing
    }
}

void Reader::text(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (skippingFallback())
            continue;
        character(fromCp1252(static_cast<std::uint8_t>(c)));
    }
}

void Reader::character(QChar c)
{
    switch (state_.destination) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        if (c == QLatin1Char(';'))
            commitFont();
        else
            font_.name.append(c);
        return;
    case Destination::ColorTable:
        if (c == QLatin1Char(';'))
            commitColour();
        return;
    case Destination::Text:
        break;
    }
    if (state_.character.hidden || !started_)
        return;
    // Control characters other than the tab would confuse the layout.
    if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
        return;
    for (; pendingCells_ > 0; --pendingCells_)
        append(QLatin1Char('\t'));
    append(c);
}

void Reader::append(QChar c)
{
    // At a space, or anywhere when none comes; never inside a surrogate pair.
    if (blockLength_ >= MaxBlockLength && !c.isLowSurrogate()
        && (atBreak_ || blockLength_ >= MaxBlockLength + MaxWordTail))
        continueInNewBlock();
    pending_.append(c);
    ++blockLength_;
    atBreak_ = breaksLine(c);
}

void Reader::continueInNewBlock()
{
    flush();
    // No space between the parts: they read as one paragraph.
    QTextBlockFormat part = blockFormat(continued_);
    part.setBottomMargin(0);
    cursor_.setBlockFormat(part);
    cursor_.insertBlock();
    continued_ = true;
    blockLength_ = 0;
}

void Reader::flush()
{
    if (pending_.isEmpty())
        return;
    // A lone half of a surrogate pair is not a character.
    for (qsizetype i = 0; i < pending_.size(); ++i) {
        const QChar c = pending_.at(i);
        if (c.isHighSurrogate() && i + 1 < pending_.size() && pending_.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            pending_[i] = QChar::ReplacementCharacter;
    }
    cursor_.insertText(pending_, charFormat());
    pending_.clear();
}

void Reader::endParagraph()
{
    flush();
    pendingCells_ = 0;
    cursor_.setBlockFormat(blockFormat(continued_));
    // An empty paragraph takes its height from its own character format.
    if (cursor_.block().length() <= 1)
        cursor_.setBlockCharFormat(charFormat());
    cursor_.insertBlock();
    blockLength_ = 0;
    atBreak_ = false;
    continued_ = false;
}

void Reader::finishParagraph()
{
    flush();
    if (cursor_.block().length() > 1)
        cursor_.setBlockFormat(blockFormat(continued_));
}

void Reader::commitFont()
{
    const QString name = font_.name.trimmed();
    if (!name.isEmpty() || font_.hint != QFont::AnyStyle)
        fonts_[fontIndex_] = FontEntry{name, font_.hint};
    font_ = FontEntry{};
}

void Reader::commitColour()
{
    colours_.push_back(colourSeen_ ? std::optional<QColor>(QColor(rgb_[0], rgb_[1], rgb_[2])) : std::nullopt);
    rgb_[0] = rgb_[1] = rgb_[2] = 0;
    colourSeen_ = false;
}

QTextCharFormat Reader::charFormat() const
{
    const CharState& ch = state_.character;
    QTextCharFormat format;
    format.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ch.italic);
    format.setFontUnderline(ch.underline);
    format.setFontStrikeOut(ch.strike);
    format.setFontPointSize(ch.halfPoints / 2.0);
    format.setVerticalAlignment(ch.vertical);
    const auto font = fonts_.find(ch.font >= 0 ? ch.font : defaultFont_);
    if (font != fonts_.end()) {
        if (!font->second.name.isEmpty())
            format.setFontFamilies(QStringList{font->second.name});
        format.setFontStyleHint(font->second.hint);
    }
    const auto colour = [this](int index) -> std::optional<QColor> {
        if (index <= 0 || static_cast<std::size_t>(index) >= colours_.size())
            return std::nullopt;
        return colours_[static_cast<std::size_t>(index)];
    };
    if (const auto c = colour(ch.colour))
        format.setForeground(*c);
    if (const auto c = colour(ch.highlight))
        format.setBackground(*c);
    return format;
}

// A block that continues a split paragraph has no first-line indent and no
// space above.
QTextBlockFormat Reader::blockFormat(bool continued) const
{
    const ParaState& para = state_.paragraph;
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(std::max(0.0, pixels(para.left)));
    format.setRightMargin(std::max(0.0, pixels(para.right)));
    const int first = continued ? 0 : para.first;
    format.setTextIndent(pixels(first));
    format.setTopMargin(continued ? 0.0 : std::max(0.0, pixels(para.before)));
    format.setBottomMargin(std::max(0.0, pixels(para.after)));
    // Qt measures tab stops from where the first line starts, RTF from the
    // paragraph's origin; a hanging indent also stops the first tab at the
    // left indent, as word processors do for bullets and numbers.
    const int lineStart = para.left + first;
    QList<QTextOption::Tab> tabs;
    for (const QTextOption::Tab& tab : para.tabs) {
        if (tab.position > lineStart)
            tabs.append(QTextOption::Tab(pixels(static_cast<int>(tab.position) - lineStart), tab.type));
    }
    if (first < 0)
        tabs.append(QTextOption::Tab(pixels(-first), QTextOption::LeftTab));
    std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    return format;
}

bool looksLikeRtf(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i).startsWith("{\\rtf");
}

} // namespace

namespace rtf {

bool read(QByteArrayView bytes, QTextDocument& document)
{
    document.clear();
    if (!looksLikeRtf(bytes))
        return false;
    // One edit for the whole document: otherwise Qt measures (and, in a
    // shown view, lays out) the growing paragraph after every insertion,
    // which is quadratic in a paragraph's length.
    QTextCursor end(&document);
    end.beginEditBlock();
    Reader(bytes, document).run();
    // The final \par of a document leaves an empty paragraph behind.
    end.movePosition(QTextCursor::End);
    if (end.block().length() <= 1 && end.blockNumber() > 0)
        end.deletePreviousChar();
    end.endEditBlock();
    return true;
}

} // namespace rtf
