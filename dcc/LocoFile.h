#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The loco file: one line per roster entry, the chip number and the name as
// two text fields. Reading never loses a line: what cannot be read is
// returned as it stands so that a rewrite can keep it.
namespace loco_file {

struct Entry {
    QString chip;
    QString name;
    friend bool operator==(const Entry&, const Entry&) = default;
};

struct Content {
    std::vector<Entry> entries;
    // Lines that are not a chip and a name, with their 1-based numbers.
    QByteArrayList unreadable;
    QList<int> unreadableLines;
    // Blank lines with more data after them.
    QList<int> blankLines;
    // Blank lines (or blanks) after the last line of data.
    bool blanksAfterLastLine = false;
};

Content parse(const QByteArray& bytes);

// One entry as a line of the file, without its line end.
QByteArray line(const Entry& entry);

// Entries in the given order, then the kept lines as they were read.
QByteArray format(const std::vector<Entry>& entries, const QByteArrayList& kept);

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
