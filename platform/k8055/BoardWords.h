#pragma once

#include "Reports.h"

#include <QString>
#include <QStringList>

// The K8055's outputs in words, as the program means them: bit 0 is the fire
// bit, bits 1..7 the coil number; knob k's direction relays are coils k
// (forward) and k + 2 (reverse).
namespace k8055 {

// "outputs 00000110: coil 3 select (knob 1 reverse relay)".
QString describeDigital(std::uint8_t digital);
// One line per output that differs between the two states, digital first:
// "outputs ...", "analog 1: 90".
QStringList describeOutputChanges(const OutputState& before, const OutputState& after);

} // namespace k8055
