#include "LocoFile.h"

#include "FieldFormat.h"

#include <algorithm>

namespace loco_file {

namespace {

bool allDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

bool isBlankLine(const QByteArray& line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::optional<Entry> readEntry(const QByteArray& line, text_encoding::Encoding encoding)
{
    FieldReader reader(line, encoding);
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
    const text_encoding::Encoding encoding = text_encoding::detect(bytes);
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
        if (const auto entry = readEntry(line, encoding)) {
            content.entries.push_back(*entry);
            content.entryLines << line;
        } else {
            content.unreadable << line;
            content.unreadableLines << number;
        }
    }
    content.blanksAfterLastLine = !blanks.isEmpty();
    return content;
}

QByteArray line(const Entry& entry, text_encoding::Encoding encoding)
{
    FieldWriter writer;
    writer.text(entry.chip).text(entry.name);
    return writer.bytes(encoding);
}

QByteArray format(const QByteArrayList& lines)
{
    QByteArray bytes;
    for (const QByteArray& each : lines)
        bytes.append(each).append("\r\n");
    return bytes;
}

QString paddedChip(const QString& chip)
{
    return allDigits(chip) && chip.size() < 4 ? chip.rightJustified(4, QLatin1Char('0')) : chip;
}

qsizetype insertIndex(const QStringList& rows, const QString& row)
{
    const auto place = std::upper_bound(rows.begin(), rows.end(), row, [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return place - rows.begin();
}

} // namespace loco_file
