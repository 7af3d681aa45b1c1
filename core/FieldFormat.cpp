#include "FieldFormat.h"

#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

std::optional<std::int64_t> parseDecimal(const QByteArray& token)
{
    if (token.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (token[0] == '-' || token[0] == '+') {
        negative = token[0] == '-';
        i = 1;
    }
    if (i == token.size())
        return std::nullopt;
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9' || value > limit)
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

} // namespace

FieldReader::FieldReader(QByteArray content)
    : content_(std::move(content))
    , encoding_(text_encoding::detect(content_))
{
}

FieldReader::FieldReader(QByteArray content, text_encoding::Encoding encoding)
    : content_(std::move(content))
    , encoding_(encoding)
{
}

bool FieldReader::atEnd() const
{
    return pos_ >= content_.size();
}

int FieldReader::line() const
{
    return static_cast<int>(content_.left(pos_).count('\n')) + 1;
}

void FieldReader::skipBlanks(qsizetype& pos) const
{
    while (pos < content_.size() && isBlank(content_[pos]))
        ++pos;
}

std::optional<FieldReader::Raw> FieldReader::peekField(bool stopAtBlank) const
{
    if (atEnd())
        return std::nullopt;
    qsizetype pos = pos_;
    skipBlanks(pos);
    Raw raw;
    if (pos < content_.size() && content_[pos] == '"') {
        raw.quoted = true;
        qsizetype close = pos + 1;
        while (close < content_.size() && content_[close] != '"' && !isLineEnd(content_[close]))
            ++close;
        raw.text = content_.mid(pos + 1, close - pos - 1);
        pos = close < content_.size() && content_[close] == '"' ? close + 1 : close;
        // Anything between the closing quote and the delimiter is ignored.
        while (pos < content_.size() && content_[pos] != ',' && !isLineEnd(content_[pos]))
            ++pos;
    } else {
        const qsizetype start = pos;
        while (pos < content_.size() && content_[pos] != ',' && !isLineEnd(content_[pos])
               && !(stopAtBlank && isBlank(content_[pos])))
            ++pos;
        raw.text = content_.mid(start, pos - start);
        while (!raw.text.isEmpty() && isBlank(raw.text.back()))
            raw.text.chop(1);
        skipBlanks(pos);
    }
    raw.end = pos;
    return raw;
}

void FieldReader::finishField(qsizetype end)
{
    pos_ = end;
    if (pos_ < content_.size() && content_[pos_] == ',') {
        ++pos_;
        return;
    }
    if (pos_ < content_.size() && content_[pos_] == '\r')
        ++pos_;
    if (pos_ < content_.size() && content_[pos_] == '\n')
        ++pos_;
}

std::optional<QString> FieldReader::readText()
{
    const auto raw = peekField(false);
    if (!raw)
        return std::nullopt;
    finishField(raw->end);
    return text_encoding::decode(raw->text, encoding_);
}

std::optional<std::int64_t> FieldReader::readNumber()
{
    const auto raw = peekField(true);
    if (!raw)
        return std::nullopt;
    const auto value = parseDecimal(raw->text);
    if (value)
        finishField(raw->end);
    return value;
}

std::optional<bool> FieldReader::readTruth()
{
    const auto raw = peekField(true);
    if (!raw)
        return std::nullopt;
    const QByteArray token = raw->text.toUpper();
    std::optional<bool> value;
    if (token == "#TRUE#")
        value = true;
    else if (token == "#FALSE#")
        value = false;
    if (value)
        finishField(raw->end);
    return value;
}

void FieldReader::skipLine()
{
    while (pos_ < content_.size() && !isLineEnd(content_[pos_]))
        ++pos_;
    finishField(pos_);
}

void FieldWriter::separate()
{
    if (lineStarted_)
        text_.append(QLatin1Char(','));
    lineStarted_ = true;
}

FieldWriter& FieldWriter::text(const QString& value)
{
    separate();
    // The format has no escapes: a double quote or a line end inside a text
    // would split the field on reading, so they are written as ' and blank.
    QString safe = value;
    safe.replace(QLatin1Char('"'), QLatin1Char('\''));
    safe.replace(QLatin1Char('\r'), QLatin1Char(' '));
    safe.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text_.append(QLatin1Char('"')).append(safe).append(QLatin1Char('"'));
    return *this;
}

FieldWriter& FieldWriter::number(std::int64_t value)
{
    separate();
    text_.append(QString::number(static_cast<qlonglong>(value)));
    return *this;
}

FieldWriter& FieldWriter::truth(bool value)
{
    separate();
    text_.append(value ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#"));
    return *this;
}

FieldWriter& FieldWriter::endLine()
{
    text_.append(QStringLiteral("\r\n"));
    lineStarted_ = false;
    return *this;
}

QByteArray FieldWriter::bytes(text_encoding::Encoding encoding) const
{
    if (auto encoded = text_encoding::encode(text_, encoding))
        return *std::move(encoded);
    return text_.toUtf8();
}
