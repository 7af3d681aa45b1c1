// Function bytes, function-group frames, the function boxes' two modes and
// the function file.
#include "DCC.h"

#include "DataFile.h"
#include "Dialogs.h"
#include "FieldFormat.h"
#include "FunctionCaptions.h"
#include "LocoFrames.h"

#include <algorithm>

namespace {

// The function byte only changes when the result stays within 0..255.
void addWithin(std::uint8_t& byte, int delta)
{
    const int result = byte + delta;
    if (result >= 0 && result <= 255)
        byte = static_cast<std::uint8_t>(result);
}

} // namespace

void DCC::SelectFunctionGroup()
{
    if (const auto group = loco_frames::functionGroupOf(FuncNumber))
        FuncGroup = *group;
}

void DCC::SendFunctionGroup(std::uint8_t high, std::uint8_t low)
{
    SelectFunctionGroup();
    shared_.FrameBuf = loco_frames::functionGroupFrame(FuncGroup, {high, low}, FuncState[EngineIndex]);
    SendFrame();
}

void DCC::SwitchFunction(int index, bool on)
{
    const int weight = loco_frames::functionWeight(index);
    FuncBoxCaption[index] = function_captions::caption(index, on, FuncCaption[index]);
    addWithin(FuncState[EngineIndex], on ? weight : -weight);
    FuncTotCaption = QStringLiteral("FT ") + QString::number(FuncState[EngineIndex]);
    SendFunctionGroup(EngineAddrHigh, EngineAddrLow);
}

void DCC::FunctionPress(int index)
{
    if (index < 0 || index >= FunctionBoxCount)
        return;
    FuncBoxTicked[index] = true;
    if (OperateMode && index < FunctionCount && !FuncLatched[index])
        SwitchFunction(index, true);
}

void DCC::FunctionRelease(int index)
{
    if (!OperateMode || index < 0 || index >= FunctionCount)
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
    SwitchFunction(index, false);
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

void DCC::ResetFunctionByte()
{
    FuncState[EngineIndex] = 0;
    FuncTotCaption = QStringLiteral("FT 0");
    SendFunctionGroup(EngineAddrHigh, EngineAddrLow);
}

void DCC::ResetFunctionPanel()
{
    FuncBoxesEnabled = true;
    const std::uint8_t byte = FuncState[EngineIndex];
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
    FieldReader reader(file.content);
    for (shared_.LoopIndex = 0; shared_.LoopIndex < FunctionCount; ++shared_.LoopIndex) {
        const auto caption = reader.readText();
        const auto latching = caption ? reader.readTruth() : std::nullopt;
        if (!file.ok || !latching) {
            // Short or garbled: what was read stays, and the panel shows
            // the status mode it is in.
            SetStatusMode();
            return false;
        }
        const int i = shared_.LoopIndex;
        FuncCaption[i] = *caption;
        FuncLatching[i] = *latching;
        FuncBoxCaption[i] = *caption;
    }
    OperateMode = true;
    return true;
}

void DCC::WriteFunctionFile()
{
    FieldWriter writer;
    for (shared_.LoopIndex = 0; shared_.LoopIndex < FunctionCount; ++shared_.LoopIndex) {
        const int i = shared_.LoopIndex;
        FuncCaption[i] = FuncBoxCaption[i];
        writer.text(FuncCaption[i]).truth(FuncLatching[i]).endLine();
    }
    dialogs_.reportUnsaved(data_file::writeAtomically(shared_.FunctionFilePath, writer.bytes()),
                           QStringLiteral("The function names and which functions latch are kept for this run only."));
}
