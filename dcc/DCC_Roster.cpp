// The roster: loco.txt, the sorted roster list with its parallel arrays,
// new locos from the entry panel, and the train-engine and pilot choice.
#include "DCC.h"

#include "DataFile.h"
#include "Dialogs.h"
#include "LocoFrames.h"

#include <QDir>

#include <algorithm>
#include <cassert>
#include <limits>

namespace {

QString lineList(const QList<int>& lines)
{
    QStringList numbers;
    for (int line : lines)
        numbers << QString::number(line);
    return (lines.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) + numbers.join(QStringLiteral(", "));
}

std::int16_t locoNumberOf(const QString& chip)
{
    return static_cast<std::int16_t>(std::min(loco_frames::chipValue(chip), int{std::numeric_limits<std::int16_t>::max()}));
}

} // namespace

void DCC::InsertLoco(const loco_file::Entry& entry)
{
    assert(LocoCount < MaxLocos);
    const QString row = loco_file::row(entry);
    const int k = static_cast<int>(loco_file::insertIndex(lstLoco, row));
    lstLoco.insert(k, row);
    const int count = LocoCount;
    std::move_backward(LocoChip.begin() + k, LocoChip.begin() + count, LocoChip.begin() + count + 1);
    std::move_backward(LocoName.begin() + k, LocoName.begin() + count, LocoName.begin() + count + 1);
    std::move_backward(FuncState.begin() + k, FuncState.begin() + count, FuncState.begin() + count + 1);
    LocoChip[k] = entry.chip;
    LocoName[k] = entry.name;
    FuncState[k] = 0;
    ++LocoCount;
    // The chosen locos keep their choice, ticks and function byte.
    if (EngineChosen && k <= EngineIndex)
        ++EngineIndex;
    if (PilotIndex != NoPilot && k <= PilotIndex)
        ++PilotIndex;
}

bool DCC::ReadLocoFile()
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
    std::vector<loco_file::Entry> unused;
    for (const loco_file::Entry& entry : content.entries) {
        if (LocoCount < MaxLocos)
            InsertLoco(entry);
        else
            unused.push_back(entry);
    }
    // Locos beyond the 100 the roster holds stay in the file, as do lines
    // that could not be read.
    for (const loco_file::Entry& entry : unused)
        LocoFileKept << loco_file::line(entry);
    LocoFileKept << content.unreadable;
    ReportLocoFile(content, static_cast<int>(unused.size()));
    return !content.blanksAfterLastLine;
}

void DCC::ReportLocoFile(const loco_file::Content& content, int unused)
{
    QStringList problems;
    if (!content.blankLines.isEmpty())
        problems << QStringLiteral("Skipped the blank %1.").arg(lineList(content.blankLines));
    if (!content.unreadableLines.isEmpty())
        problems << QStringLiteral("Could not read %1: each line needs the chip number and the name, each in double "
                                   "quotes, separated by a comma.")
                        .arg(lineList(content.unreadableLines));
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

void DCC::WriteLocoFile()
{
    if (LocoFileUnread) {
        dialogs_.message(QDir::toNativeSeparators(shared_.LocoFilePath)
                             + QStringLiteral(" could not be read at start, so it is not rewritten: "
                                              "the new loco is in the roster for this run only."),
                         QStringLiteral("Varnolix roster"), Dialogs::Critical);
        return;
    }
    std::vector<loco_file::Entry> entries;
    for (shared_.LoopIndex = 0; shared_.LoopIndex < LocoCount; ++shared_.LoopIndex)
        entries.push_back({LocoChip[shared_.LoopIndex], LocoName[shared_.LoopIndex]});
    dialogs_.reportUnsaved(data_file::writeAtomically(shared_.LocoFilePath, loco_file::format(entries, LocoFileKept)),
                           QStringLiteral("The new loco is in the roster for this run only."),
                           QStringLiteral("Varnolix roster"));
}

DCC::LocoWrite DCC::WriteLoco(const QString& chip, const QString& name)
{
    const loco_file::Entry entry{loco_file::paddedChip(chip), name};
    if (entry.chip.isEmpty()) {
        dialogs_.message(QStringLiteral("Type the loco's chip number (0001 to 9999) before writing it."),
                         QStringLiteral("new chip"), Dialogs::Information);
        return LocoWrite::NoChip;
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

bool DCC::CheckChipEntry(const QString& chip)
{
    return chip.size() == 4;
}

bool DCC::SelectTrainEngine(int index)
{
    // Under a double header the engine stays; the blank item of an empty
    // roster chooses nothing.
    if (PilotIndex != NoPilot || index < 0 || index >= LocoCount)
        return false;
    EngineIndex = static_cast<std::uint8_t>(index);
    EngineChosen = true;
    ResetFunctionPanel();
    AddressForEngine = true;
    LocoNumber = locoNumberOf(LocoChip[index]);
    SetAddressBytes();
    return true;
}

DCC::PilotChoice DCC::SelectPilot(int index)
{
    if (index == EngineIndex)
        return PilotChoice::Ignored;
    if (!EngineChosen)
        return PilotChoice::NoEngine;
    if (index < 0 || index >= LocoCount || (PilotIndex != NoPilot && PilotIndex != index))
        return PilotChoice::Ignored;
    if (PilotIndex == NoPilot) {
        PilotIndex = index;
        AddressForEngine = false;
        LocoNumber = locoNumberOf(LocoChip[index]);
        SetAddressBytes();
        return CoupleDoubleHeader();
    }
    PilotIndex = NoPilot;
    PilotPending = false;
    PilotAddrHigh = 0;
    PilotAddrLow = 0;
    SendDoubleHeader();
    return PilotChoice::Released;
}
