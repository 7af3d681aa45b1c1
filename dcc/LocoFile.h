#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The loco file: one line per roster entry, the chip number and the name as
// two text fields. Reading never loses a line: every line is returned as it
// stands (without its line end), so that a rewrite writes it back byte for
// byte, whether it could be read or not.
namespace loco_file {

struct Entry {
    QString chip;
    QString name;
    friend bool operator==(const Entry&, const Entry&) = default;
};

struct Content {
    std::vector<Entry> entries;
    // Entry i's line as it stands.
    QByteArrayList entryLines;
    // Lines that are not a chip and a name, with their 1-based numbers.
    QByteArrayList unreadable;
    QList<int> unreadableLines;
    // Blank lines with more data after them.
    QList<int> blankLines;
    // Blank lines (or blanks) after the last line of data.
    bool blanksAfterLastLine = false;
};

// Text is read in the file's encoding (UTF-8, or Windows-1252 in a file
// that is not valid UTF-8).
Content parse(const QByteArray& bytes);

// A new entry as a line of the file, without its line end.
QByteArray line(const Entry& entry, text_encoding::Encoding encoding = text_encoding::Encoding::Utf8);

// The lines in the given order, each ended by CR LF.
QByteArray format(const QByteArrayList& lines);

// A chip number of one to three digits completed with leading zeros.
QString paddedChip(const QString& chip);

// The row of the roster list: the name immediately followed by the chip.
inline QString row(const Entry& entry)
{
    return entry.name + entry.chip;
}

// Where a row lands in a list kept sorted alphabetically with letter case
// ignored: after every row that sorts before it or equal to it.
qsizetype insertIndex(const QStringList& rows, const QString& row);

} // namespace loco_file
