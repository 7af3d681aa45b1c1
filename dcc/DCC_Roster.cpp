// The train-engine and pilot choice from the roster.
#include "DCC.h"

void DCC::FollowInserted(int index)
{
    // The chosen locos keep their choice, ticks and function byte.
    if (EngineChosen && index <= EngineIndex)
        ++EngineIndex;
    if (PilotIndex != NoPilot && index <= PilotIndex)
        ++PilotIndex;
}

bool DCC::SelectTrainEngine(int index)
{
    // Under a double header the engine stays; the blank item of an empty
    // roster chooses nothing.
    if (PilotIndex != NoPilot || index < 0 || index >= roster.LocoCount || !roster.DrivableAddress(index))
        return false;
    EngineIndex = static_cast<std::uint8_t>(index);
    EngineChosen = true;
    ResetFunctionPanel();
    AddressForEngine = true;
    LocoNumber = roster.LocoNumberOf(index);
    SetAddressBytes();
    return true;
}

DCC::PilotChoice DCC::SelectPilot(int index)
{
    if (index == EngineIndex)
        return PilotChoice::Ignored;
    if (!EngineChosen)
        return PilotChoice::NoEngine;
    if (index < 0 || index >= roster.LocoCount || (PilotIndex != NoPilot && PilotIndex != index))
        return PilotChoice::Ignored;
    // A lost link is not the chosen offline mode: nothing is coupled or
    // dissolved that the command station has not been told of.
    if (RefusedWhileDown())
        return PilotChoice::Refused;
    if (PilotIndex == NoPilot) {
        // Without an address the frame would dissolve rather than couple.
        if (!roster.DrivableAddress(index))
            return PilotChoice::BadChip;
        PilotIndex = index;
        AddressForEngine = false;
        LocoNumber = roster.LocoNumberOf(index);
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
