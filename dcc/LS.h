#pragma once

#include "Shared.h"

#include <cstdint>

class DCC;

// DCC accessory switching: one accessory number and the side of the point
// ("L" or "R" in CoilSide) become an on frame and, after a pause, an off
// frame to the accessory decoder.
class LS {
public:
    // How long the decoder output stays on, and the rest after switching it
    // off before the next request may run. Peers keep an output on for 30 to
    // 500 ms; 200 ms moves a solenoid point motor surely, and the rest lets a
    // capacitor discharge unit recover a little between points.
    static constexpr float OnSeconds = 0.2f;
    static constexpr float RestSeconds = 0.3f;

    LS(Shared& shared, DCC& dcc);

    // Switches accessory n on and off again. Offline by choice nothing is
    // sent; while the link is down the activate is refused (false) and
    // nothing else happens.
    bool SwitchAccessory(std::uint8_t n);
    // AccData from AccActivate, AccPair and CoilSide, then the frame. A side
    // that is neither "L" nor "R" keeps the previous AccData.
    bool SetAccessoryOutput();
    // FrameBuf = 52 AccAddress AccData check, then SendFrame.
    // False when refused because the link is down.
    bool SendAccessoryFrame();

    std::uint8_t AccAddress = 0;
    std::uint8_t AccPair = 0;
    std::uint8_t AccActivate = 0;
    std::uint8_t AccData = 0;

private:
    Shared& shared_;
    DCC& dcc_;
};
