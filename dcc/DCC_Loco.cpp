// Address bytes, the speed-and-direction command and the double header.
#include "DCC.h"

#include "LocoFrames.h"

void DCC::SetAddressBytes()
{
    const auto address = loco_frames::addressOf(LocoNumber);
    if (!address)
        return;
    if (AddressForEngine) {
        EngineAddrHigh = address->high;
        EngineAddrLow = address->low;
    } else {
        PilotAddrHigh = address->high;
        PilotAddrLow = address->low;
    }
}

void DCC::SendSpeedFrame(std::uint8_t high, std::uint8_t low)
{
    shared_.FrameBuf = loco_frames::speedFrame({high, low}, SpeedByte);
    SendFrame();
}

void DCC::SendSpeed(std::uint8_t high, std::uint8_t low)
{
    SendSpeedFrame(high, low);
    Pause(0.005f);
}

bool DCC::SendSpeedStep()
{
    SpeedByte = static_cast<std::uint8_t>(DirectionBit + shared_.ActiveIndex);
    shared_.FrameBuf = loco_frames::speedFrame({EngineAddrHigh, EngineAddrLow}, SpeedByte);
    if (!SendFrame())
        return false;
    Pause(0.005f);
    return true;
}

void DCC::SendDoubleHeader()
{
    shared_.FrameBuf = loco_frames::doubleHeaderFrame({EngineAddrHigh, EngineAddrLow}, {PilotAddrHigh, PilotAddrLow});
    SendFrame();
}
