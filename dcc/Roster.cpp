// loco.txt, the sorted roster list with its parallel arrays, and new locos
// from the entry panel.
#include "Roster.h"

#include "DataFile.h"
#include "Dialogs.h"
#include "NotRewritten.h"
#include "Shared.h"

#include <QDir>

#include <algorithm>
#include <cassert>
#include <limits>

Roster::Roster(Shared& shared, Dialogs& dialogs)
    : shared_(shared)
    , dialogs_(dialogs)
{
}

void Roster::InsertLoco(const loco_file::Entry& entry, const QByteArray& line)
{
    assert(LocoCount < MaxLocos);
    const QString row = loco_file::row(entry);
    const int k = static_cast<int>(loco_file::insertIndex(lstLoco, row));
    lstLoco.insert(k, row);
    const int count = LocoCount;
    std::move_backward(LocoChip.begin() + k, LocoChip.begin() + count, LocoChip.begin() + count + 1);
    std::move_backward(LocoName.begin() + k, LocoName.begin() + count, LocoName.begin() + count + 1);
    std::move_backward(FuncState.begin() + k, FuncState.begin() + count, FuncState.begin() + count + 1);
    std::move_backward(LocoLine.begin() + k, LocoLine.begin() + count, LocoLine.begin() + count + 1);
    LocoChip[k] = entry.chip;
    LocoName[k] = entry.name;
    LocoLine[k] = line;
    FuncState[k] = 0;
    ++LocoCount;
    if (Inserted)
        Inserted(k);
}

bool Roster::ReadLocoFile()
{
    const auto file = data_file::readCreatingEmpty(shared_.LocoFilePath);
    LocoCount = 0;
    lstLoco.clear();
    LocoFileKept.clear();
    LocoFileUnread = !file.ok;
    if (!file.ok) {
        dialogs_.message(file.error + QStringLiteral("\nThe roster is empty for this run; new locos are not saved."),
                         QStringLiteral("Varnolix"), Dialogs::Critical);
        return true;
    }
    const loco_file::Content content = loco_file::parse(file.content);
    int unused = 0;
    for (std::size_t i = 0; i < content.entries.size(); ++i) {
        const QByteArray& line = content.entryLines[static_cast<qsizetype>(i)];
        // Locos beyond the 100 the roster holds stay in the file, as do
        // lines that could not be read.
        if (LocoCount < MaxLocos) {
            InsertLoco(content.entries[i], line);
        } else {
            LocoFileKept << line;
            ++unused;
        }
    }
    LocoFileKept << content.unreadable;
    ReportLocoFile(content, unused);
    return !content.blanksAfterLastLine;
}

void Roster::ReportLocoFile(const loco_file::Content& content, int unused)
{
    QStringList problems;
    if (!content.blankLines.isEmpty())
        problems << QStringLiteral("Skipped the blank %1.").arg(data_file::lineList(content.blankLines));
    if (!content.unreadableLines.isEmpty())
        problems << QStringLiteral("Could not read %1: each line needs the chip number and the name, each in double "
                                   "quotes, separated by a comma.")
                        .arg(data_file::lineList(content.unreadableLines));
    if (unused > 0)
        problems << QStringLiteral("Only the first %1 locos are used; the other %2 are left out.").arg(MaxLocos).arg(unused);
    if (problems.isEmpty())
        return;
    if (!content.unreadableLines.isEmpty() || unused > 0)
        problems << QStringLiteral("What is left out stays in the file. Correct it with a text editor while Varnolix is "
                                   "not running.");
    dialogs_.message(QDir::toNativeSeparators(shared_.LocoFilePath) + QStringLiteral(":\n") + problems.join(QLatin1Char('\n')),
                     QStringLiteral("Varnolix roster"), Dialogs::Critical);
}

void Roster::WriteLocoFile()
{
    if (LocoFileUnread) {
        reportNotRewritten(dialogs_, shared_.LocoFilePath, QStringLiteral("the new loco is in the roster for this run only."),
                           QStringLiteral("Varnolix roster"));
        return;
    }
    // Lines read from the file go back as they stood; a new loco is written
    // in the file's encoding.
    const text_encoding::Encoding encoding = data_file::encodingOf(shared_.LocoFilePath);
    QByteArrayList lines;
    for (shared_.LoopIndex = 0; shared_.LoopIndex < LocoCount; ++shared_.LoopIndex) {
        const int i = shared_.LoopIndex;
        lines << (LocoLine[i].isEmpty() ? loco_file::line({LocoChip[i], LocoName[i]}, encoding) : LocoLine[i]);
    }
    lines << LocoFileKept;
    dialogs_.reportUnsaved(data_file::writeAtomically(shared_.LocoFilePath, loco_file::format(lines)),
                           QStringLiteral("The new loco is in the roster for this run only."),
                           QStringLiteral("Varnolix roster"));
}

Roster::LocoWrite Roster::WriteLoco(const QString& chip, const QString& name)
{
    const loco_file::Entry entry{loco_file::paddedChip(chip), name};
    if (entry.chip.isEmpty() || !loco_frames::addressOf(loco_frames::chipValue(entry.chip))) {
        dialogs_.message(entry.chip.isEmpty()
                             ? QStringLiteral("Type the loco's chip number (0001 to 9999) before writing it.")
                             : QStringLiteral("Chip number %1 is outside 0001 to 9999: no loco can be driven with it.\n"
                                              "Type the loco's chip number (0001 to 9999).")
                                   .arg(entry.chip),
                         QStringLiteral("new chip"), Dialogs::Information);
        return LocoWrite::BadChip;
    }
    if (LocoCount >= MaxLocos) {
        dialogs_.message(QStringLiteral("The roster is full: it holds %1 locos. Loco %2 (chip %3) is not added.\n"
                                        "Remove a loco from loco.txt with a text editor while Varnolix is not running.")
                             .arg(MaxLocos)
                             .arg(entry.name, entry.chip),
                         QStringLiteral("new chip"), Dialogs::Critical);
        return LocoWrite::RosterFull;
    }
    InsertLoco(entry);
    WriteLocoFile();
    return LocoWrite::Stored;
}

bool Roster::CheckChipEntry(const QString& chip)
{
    return chip.size() == 4;
}

std::int16_t Roster::LocoNumberOf(int index) const
{
    const int value = loco_frames::chipValue(LocoChip[static_cast<std::size_t>(index)]);
    return static_cast<std::int16_t>(std::min(value, int{std::numeric_limits<std::int16_t>::max()}));
}

std::optional<loco_frames::Address> Roster::DrivableAddress(int index)
{
    const auto address = loco_frames::addressOf(LocoNumberOf(index));
    if (!address) {
        dialogs_.message(QStringLiteral("Loco \"%1\" has chip number \"%2\", which is not 0001 to 9999, so it cannot be "
                                        "driven.\nCorrect its line in %3 with a text editor while Varnolix is not running.")
                             .arg(LocoName[static_cast<std::size_t>(index)], LocoChip[static_cast<std::size_t>(index)],
                                  QDir::toNativeSeparators(shared_.LocoFilePath)),
                         QStringLiteral("Varnolix roster"), Dialogs::Critical);
    }
    return address;
}

int Roster::IndexOf(const std::array<QString, MaxLocos>& column, const QString& value) const
{
    const auto end = column.begin() + LocoCount;
    const auto found = std::find(column.begin(), end, value);
    return found == end ? -1 : static_cast<int>(found - column.begin());
}

int Roster::IndexOfName(const QString& name) const
{
    return IndexOf(LocoName, name);
}

int Roster::IndexOfChip(const QString& chip) const
{
    return IndexOf(LocoChip, chip);
}
