// Function bytes, function-group frames, the function boxes' two modes and
// the function file.
#include "DCC.h"

#include "DataFile.h"
#include "Dialogs.h"
#include "FieldFormat.h"
#include "FunctionCaptions.h"
#include "LocoFrames.h"
#include "NotRewritten.h"

#include <QDir>

#include <algorithm>

void DCC::SelectFunctionGroup()
{
    if (const auto group = loco_frames::functionGroupOf(FuncNumber))
        FuncGroup = *group;
}

bool DCC::SendFunctionGroup(std::uint8_t high, std::uint8_t low)
{
    SelectFunctionGroup();
    shared_.FrameBuf = loco_frames::functionGroupFrame(FuncGroup, {high, low}, roster.FuncState[EngineIndex]);
    return SendFrame();
}

bool DCC::SwitchFunction(int index, bool on)
{
    // Refused while the link is down: the box and the decoder stay as they were.
    if (RefusedWhileDown())
        return false;
    const int weight = loco_frames::functionWeight(index);
    FuncBoxCaption[index] = function_captions::caption(index, on, FuncCaption[index]);
    // Only the function's own bit changes: adding or subtracting its weight
    // would carry into, or borrow from, the other functions.
    std::uint8_t& byte = roster.FuncState[EngineIndex];
    byte = static_cast<std::uint8_t>(on ? byte | weight : byte & ~weight);
    FuncTotCaption = QStringLiteral("FT ") + QString::number(roster.FuncState[EngineIndex]);
    if (!SendFunctionGroup(EngineAddrHigh, EngineAddrLow))
        return false;
    // F8..F12 travel in no bit of the frame: the other throttles hear it here.
    Locos.switched(EngineNumber(), index, on, Origin.id);
    return true;
}

void DCC::FunctionPress(int index)
{
    if (index < 0 || index >= FunctionBoxCount)
        return;
    FuncBoxTicked[index] = true;
    if (OperateMode && index < FunctionCount && !FuncLatched[index] && !SwitchFunction(index, true))
        FuncBoxTicked[index] = false;
}

void DCC::FunctionRelease(int index)
{
    if (!OperateMode || index < 0 || index >= FunctionCount)
        return;
    // The press was refused (the link is down): nothing to release.
    if (!FuncBoxTicked[index])
        return;
    if (FuncLatching[index]) {
        FuncLatched[index] = !FuncLatched[index];
        if (FuncLatched[index]) {
            // The press switched it on; it stays on until the next click.
            FuncBoxTicked[index] = true;
            FuncBoxCaption[index] = function_captions::caption(index, true, FuncCaption[index]);
            return;
        }
    }
    FuncBoxTicked[index] = false;
    if (SwitchFunction(index, false))
        return;
    // Still on at the decoder, so still shown on.
    FuncBoxTicked[index] = true;
    if (FuncLatching[index])
        FuncLatched[index] = true;
}

void DCC::FlipLatching(int index)
{
    if (index < 0 || index >= FunctionCount)
        return;
    FuncLatching[index] = !FuncLatching[index];
    FuncBoxTicked[index] = FuncLatching[index];
}

void DCC::SetStatusMode()
{
    for (int i = 0; i < FunctionCount; ++i)
        FuncBoxTicked[i] = FuncLatching[i];
}

void DCC::SetOperateMode()
{
    for (int i = 0; i < FunctionCount; ++i) {
        FuncBoxTicked[i] = false;
        FuncLatched[i] = false;
    }
    WriteFunctionFile();
}

bool DCC::ToggleFunctionMode()
{
    if (!FuncBoxesEnabled)
        return false;
    const auto on = FuncBoxTicked.begin();
    if (OperateMode && std::any_of(on, on + FunctionCount, [](bool ticked) { return ticked; }))
        return false;
    OperateMode = !OperateMode;
    if (OperateMode)
        SetOperateMode();
    else
        SetStatusMode();
    return true;
}

bool DCC::ResetFunctionByte()
{
    if (!EngineChosen)
        return false;
    // Refused while the link is down: the boxes keep showing the byte the loco has.
    if (RefusedWhileDown())
        return true;
    roster.FuncState[EngineIndex] = 0;
    // The boxes show the engine's own byte, so none stays ticked for a
    // function that is now off.
    if (OperateMode)
        ResetFunctionPanel();
    FuncTotCaption = QStringLiteral("FT 0");
    SendFunctionGroup(EngineAddrHigh, EngineAddrLow);
    return true;
}

void DCC::ResetFunctionPanel()
{
    FuncBoxesEnabled = true;
    const std::uint8_t byte = roster.FuncState[EngineIndex];
    for (int i = 0; i < FunctionCount; ++i) {
        // F8..F12 weigh nothing, so they are never shown as on.
        const std::uint8_t weight = loco_frames::functionWeight(i);
        const bool on = weight != 0 && (byte & weight) != 0;
        FuncBoxTicked[i] = on;
        FuncBoxCaption[i] = function_captions::caption(i, on, FuncCaption[i]);
    }
    FuncTotCaption = QStringLiteral("FT ") + QString::number(byte);
}

bool DCC::ReadFunctionFile()
{
    const auto file = data_file::readCreatingEmpty(shared_.FunctionFilePath);
    FunctionFileUnread = !file.ok;
    FunctionFileRest.clear();
    if (!file.ok) {
        dialogs_.message(file.error + QStringLiteral("\nThe function names are empty for this run; the file is not "
                                                     "rewritten."),
                         QStringLiteral("Varnolix"), Dialogs::Critical);
        SetStatusMode();
        return false;
    }
    FieldReader reader(file.content);
    QList<int> garbled;
    bool complete = true;
    for (shared_.LoopIndex = 0; shared_.LoopIndex < FunctionCount; ++shared_.LoopIndex) {
        const int i = shared_.LoopIndex;
        const int line = reader.line();
        const auto caption = reader.readText();
        if (!caption) {
            // Short: the functions not in the file keep empty captions.
            complete = false;
            break;
        }
        const bool sameLine = reader.line() == line;
        const auto latching = reader.readTruth();
        FuncCaption[i] = *caption;
        FuncBoxCaption[i] = *caption;
        FuncLatching[i] = latching.value_or(false);
        if (!latching) {
            // The caption is kept, the function taken as momentary, and the
            // next line read for the next function.
            garbled << line;
            if (sameLine)
                reader.skipLine();
        }
    }
    FunctionFileRest = reader.remainder();
    ReportFunctionFile(garbled);
    if (!complete || !garbled.isEmpty()) {
        // The panel shows the status mode it is in, so the flags can be
        // checked and saved.
        SetStatusMode();
        return false;
    }
    OperateMode = true;
    return true;
}

void DCC::ReportFunctionFile(const QList<int>& garbledLines)
{
    if (garbledLines.isEmpty())
        return;
    dialogs_.message(QDir::toNativeSeparators(shared_.FunctionFilePath)
                         + QStringLiteral(":\nCould not read %1: each line needs the function's caption in double quotes, "
                                          "a comma and #TRUE# (latches) or #FALSE# (momentary).\n"
                                          "Such a function is taken as momentary; the panel starts in status mode, so "
                                          "you can check which functions latch and save them.")
                               .arg(data_file::lineList(garbledLines)),
                     QStringLiteral("Varnolix"), Dialogs::Critical);
}

void DCC::WriteFunctionFile()
{
    if (FunctionFileUnread) {
        reportNotRewritten(dialogs_, shared_.FunctionFilePath, QStringLiteral("the function settings are kept for this run only."),
                           QStringLiteral("Varnolix"));
        return;
    }
    FieldWriter writer;
    for (shared_.LoopIndex = 0; shared_.LoopIndex < FunctionCount; ++shared_.LoopIndex) {
        const int i = shared_.LoopIndex;
        FuncCaption[i] = FuncBoxCaption[i];
        writer.text(FuncCaption[i]).truth(FuncLatching[i]).endLine();
    }
    const text_encoding::Encoding encoding = data_file::encodingOf(shared_.FunctionFilePath);
    dialogs_.reportUnsaved(data_file::writeAtomically(shared_.FunctionFilePath, writer.bytes(encoding) + FunctionFileRest),
                           QStringLiteral("The function names and which functions latch are kept for this run only."));
}
