#pragma once

#include "LocoFrames.h"

// The command station's own commands as bytes, check byte included: the
// whole layout at once rather than one loco.
namespace station_frames {

using Frame = loco_frames::Frame;

// 80 80: every loco stops at once; the track stays powered.
Frame emergencyStop();
// 21 80 A1: track power off.
Frame trackPowerOff();
// 21 81 A0: track power on, normal operation resumed.
Frame resumeOperation();
// 21 21 00: which command station is it, and which version.
Frame versionQuery();
// 21 24 05: the command station's state, answered by 62 22 SS.
Frame statusQuery();

} // namespace station_frames
