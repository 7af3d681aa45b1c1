#include "RtfTokenizer.h"

#include <algorithm>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Longer words exist only in broken files; the rest of the letters is read
// and dropped so that it does not turn into text.
constexpr qsizetype MaxWordLength = 32;

} // namespace

RtfTokenizer::RtfTokenizer(QByteArrayView input)
    : input_(input)
{
}

RtfToken RtfTokenizer::next()
{
    RtfToken token;
    while (position_ < input_.size()) {
        const char c = input_[position_];
        if (c == '{' || c == '}') {
            ++position_;
            token.kind = c == '{' ? RtfToken::Kind::GroupOpen : RtfToken::Kind::GroupClose;
            return token;
        }
        if (c == '\\') {
            token = readControl();
            if (token.kind != RtfToken::Kind::End)
                return token;
            continue; // a broken escape yields nothing; go on after it
        }
        if (c == '\r' || c == '\n') {
            ++position_; // line ends in RTF are layout of the file, not text
            continue;
        }
        const qsizetype start = position_;
        while (position_ < input_.size()) {
            const char d = input_[position_];
            if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
                break;
            ++position_;
        }
        token.kind = RtfToken::Kind::Text;
        token.text = input_.sliced(start, position_ - start);
        return token;
    }
    return token;
}

RtfToken RtfTokenizer::readControl()
{
    RtfToken token;
    ++position_; // the backslash
    if (position_ >= input_.size())
        return token; // a lone backslash at the end

    const char c = input_[position_];
    if (isLetter(c)) {
        const qsizetype start = position_;
        while (position_ < input_.size() && isLetter(input_[position_]))
            ++position_;
        token.kind = RtfToken::Kind::ControlWord;
        token.word = input_.sliced(start, std::min(position_ - start, MaxWordLength)).toByteArray();

        bool negative = false;
        if (position_ + 1 < input_.size() && input_[position_] == '-' && isDigit(input_[position_ + 1])) {
            negative = true;
            ++position_;
        }
        if (position_ < input_.size() && isDigit(input_[position_])) {
            std::int32_t value = 0;
            while (position_ < input_.size() && isDigit(input_[position_])) {
                value = std::min(value * 10 + (input_[position_] - '0'), RtfToken::MaxParameter);
                ++position_;
            }
            token.hasParameter = true;
            token.parameter = negative ? -value : value;
        }
        if (position_ < input_.size() && input_[position_] == ' ')
            ++position_; // the delimiter belongs to the word
        return token;
    }

    ++position_;
    if (c == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && position_ < input_.size() && hexValue(input_[position_]) >= 0) {
            value = value * 16 + hexValue(input_[position_]);
            ++position_;
            ++digits;
        }
        if (digits == 0)
            return token; // \' without a hex digit: dropped
        token.kind = RtfToken::Kind::HexByte;
        token.byte = static_cast<std::uint8_t>(value);
        return token;
    }
    if (c == '\r' || c == '\n') {
        // A backslash before a line end is an old way of writing \par.
        token.kind = RtfToken::Kind::ControlWord;
        token.word = QByteArrayLiteral("par");
        return token;
    }
    token.kind = RtfToken::Kind::ControlSymbol;
    token.symbol = c;
    return token;
}

void RtfTokenizer::skipBytes(std::int64_t count)
{
    if (count <= 0)
        return;
    const std::int64_t left = input_.size() - position_;
    position_ += static_cast<qsizetype>(std::min(count, left));
}
