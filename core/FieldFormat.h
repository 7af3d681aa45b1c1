#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The comma-separated field format of every data file: text fields in double
// quotes, numbers in plain decimal, truth values as #TRUE# / #FALSE#, one
// record per line, CR LF line ends. A reader takes fields in order across
// lines, so a hand-written file may split or join records as it likes.
// Text is UTF-8, or Windows-1252 in a file that is not valid UTF-8.
class FieldReader {
public:
    // The encoding is the content's own (see text_encoding::detect).
    explicit FieldReader(QByteArray content);
    FieldReader(QByteArray content, text_encoding::Encoding encoding);

    // True when nothing but the end of the content follows.
    bool atEnd() const;
    // Each read returns nothing when the content has no further field or the
    // field is not of the asked kind; the position then stays at the bad
    // field, so a caller may stop or skip the line.
    std::optional<QString> readText();
    std::optional<std::int64_t> readNumber();
    std::optional<bool> readTruth();
    // Skips the rest of the current line.
    void skipLine();
    // 1-based line of the next field, for messages.
    int line() const;
    // The bytes not read yet, as they stand.
    QByteArray remainder() const { return content_.mid(pos_); }

private:
    struct Raw {
        QByteArray text;
        bool quoted = false;
        qsizetype end = 0;
    };
    std::optional<Raw> peekField(bool stopAtBlank) const;
    void finishField(qsizetype end);
    void skipBlanks(qsizetype& pos) const;

    QByteArray content_;
    text_encoding::Encoding encoding_;
    qsizetype pos_ = 0;
};

class FieldWriter {
public:
    FieldWriter& text(const QString& value);
    FieldWriter& number(std::int64_t value);
    FieldWriter& truth(bool value);
    // Ends the current record with CR LF.
    FieldWriter& endLine();
    // What was written, in the given encoding; in UTF-8 when that encoding
    // cannot hold a character of it (a name typed in any script).
    QByteArray bytes(text_encoding::Encoding encoding = text_encoding::Encoding::Utf8) const;

private:
    void separate();

    QString text_;
    bool lineStarted_ = false;
};
