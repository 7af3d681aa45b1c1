// One state per loco for every throttle: what the others told a loco
// reaches the roster's function bytes and the train engine's window.
#include "DCC.h"

#include "FunctionCaptions.h"
#include "LocoFrames.h"

#include <algorithm>
#include <cmath>

int DCC::EngineNumber() const
{
    return EngineChosen ? loco_frames::numberOf({EngineAddrHigh, EngineAddrLow}) : 0;
}

std::uint8_t DCC::NearestSpeedButton(int step)
{
    if (step <= 0)
        return 0;
    // Button c drives step 2c - 3: the odd steps 1 to 25.
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround((step + 3) / 2.0)), 2, 14));
}

void DCC::LocoChanged(int address, LocoStates::Change change, int function, int origin)
{
    Events.locoChanged(address, static_cast<int>(change), function, origin);
    if (origin == LocoStates::Panel)
        return;
    const LocoStates::Loco state = Locos.loco(address);
    if (change == LocoStates::Change::Function) {
        std::uint8_t byte = 0;
        for (int f = 0; f <= 7; ++f)
            if ((state.functions >> f) & 1)
                byte = static_cast<std::uint8_t>(byte | loco_frames::functionWeight(f));
        for (int i = 0; i < roster.LocoCount; ++i)
            if (loco_frames::chipValue(roster.LocoChip[static_cast<std::size_t>(i)]) == address)
                roster.FuncState[static_cast<std::size_t>(i)] = byte;
    }
    if (address != EngineNumber())
        return;
    if (change == LocoStates::Change::Function) {
        const bool on = (state.functions >> function) & 1;
        if (function < FunctionCount) {
            const auto f = static_cast<std::size_t>(function);
            // A latching function another throttle switched on is off at the next click here.
            if (FuncLatching[f])
                FuncLatched[f] = on;
            FuncBoxTicked[f] = on;
            FuncBoxCaption[static_cast<std::size_t>(function)] =
                function_captions::caption(function, on, FuncCaption[static_cast<std::size_t>(function)]);
        }
        FuncTotCaption = QStringLiteral("FT ") + QString::number(roster.FuncState[EngineIndex]);
    } else {
        DirectionBit = state.forward ? 128 : 0;
        shared_.ActiveIndex = NearestSpeedButton(state.step);
    }
    Events.engineChanged();
}

int DCC::AccessoryState(int n) const
{
    return n >= 0 && n < static_cast<int>(accessoryStates_.size()) ? accessoryStates_[static_cast<std::size_t>(n)] : 0;
}

void DCC::NoteAccessory(int n, bool thrown)
{
    if (n < 0 || n >= static_cast<int>(accessoryStates_.size()))
        return;
    const std::uint8_t state = thrown ? 4 : 2;
    accessoryStates_[static_cast<std::size_t>(n)] = state;
    Events.accessoryChanged(n, state);
}
