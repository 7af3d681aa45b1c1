#include "LocoFile.h"

#include "FieldFormat.h"

#include <algorithm>

namespace loco_file {

namespace {

bool isBlankLine(const QByteArray& line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::optional<Entry> readEntry(const QByteArray& line)
{
    FieldReader reader(line);
    const auto chip = reader.readText();
    const auto name = chip ? reader.readText() : std::nullopt;
    if (!name || !reader.atEnd())
        return std::nullopt;
    return Entry{paddedChip(*chip), *name};
}

} // namespace

Content parse(const QByteArray& bytes)
{
    QByteArrayList lines = bytes.split('\n');
    // A final line end closes the last line; it does not open another.
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    Content content;
    QList<int> blanks;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        const int number = static_cast<int>(i) + 1;
        if (isBlankLine(line)) {
            blanks << number;
            continue;
        }
        // Blank lines followed by data are inside the file, not after it.
        content.blankLines << blanks;
        blanks.clear();
        if (const auto entry = readEntry(line)) {
            content.entries.push_back(*entry);
        } else {
            content.unreadable << line;
            content.unreadableLines << number;
        }
    }
    content.blanksAfterLastLine = !blanks.isEmpty();
    return content;
}

QByteArray line(const Entry& entry)
{
    FieldWriter writer;
    writer.text(entry.chip).text(entry.name);
    return writer.bytes();
}

QByteArray format(const std::vector<Entry>& entries, const QByteArrayList& kept)
{
    QByteArray bytes;
    for (const Entry& entry : entries)
        bytes.append(line(entry)).append("\r\n");
    for (const QByteArray& keptLine : kept)
        bytes.append(keptLine).append("\r\n");
    return bytes;
}

QString paddedChip(const QString& chip)
{
    const bool digits = !chip.isEmpty() && std::all_of(chip.begin(), chip.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    return digits && chip.size() < 4 ? chip.rightJustified(4, QLatin1Char('0')) : chip;
}

qsizetype insertIndex(const QStringList& rows, const QString& row)
{
    const auto place = std::upper_bound(rows.begin(), rows.end(), row, [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return place - rows.begin();
}

} // namespace loco_file
