#include "LS.h"

#include "AccessoryFrames.h"
#include "DCC.h"

#include <algorithm>

LS::LS(Shared& shared, DCC& dcc)
    : shared_(shared)
    , dcc_(dcc)
{
}

bool LS::SwitchAccessory(std::uint8_t n)
{
    // A lost link is not the chosen offline mode: the activate is refused
    // with a word below, and nothing waits for an off.
    if (!dcc_.Online() && !dcc_.LinkDown()) {
        shared_.FrameText = QStringLiteral(" modem OFF");
        return false;
    }
    const frames::AccessoryTarget target = frames::accessoryTarget(n);
    AccAddress = target.address;
    AccPair = target.pair;
    AccActivate = 8;
    // Another click may run during the pause and set its own side; the off
    // frame must go to the output that was switched on.
    const QString side = shared_.CoilSide;
    if (!SetAccessoryOutput())
        return false;
    if (side == QStringLiteral("L") || side == QStringLiteral("R"))
        dcc_.NoteAccessory(n, side == QStringLiteral("R"));
    dcc_.Pause(OnSeconds);
    AccAddress = target.address;
    AccPair = target.pair;
    AccActivate = 0;
    shared_.CoilSide = side;
    SetAccessoryOutput();
    dcc_.Pause(RestSeconds);
    return true;
}

bool LS::SetAccessoryOutput()
{
    if (shared_.CoilSide == QStringLiteral("L") || shared_.CoilSide == QStringLiteral("R"))
        AccData = frames::accessoryData(AccActivate, AccPair, shared_.CoilSide == QStringLiteral("R"));
    return SendAccessoryFrame();
}

bool LS::SendAccessoryFrame()
{
    const auto frame = frames::accessoryFrame(AccAddress, AccData);
    std::copy(frame.begin(), frame.end(), shared_.FrameBuf.begin());
    return dcc_.SendFrame();
}
