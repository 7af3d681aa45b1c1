#pragma once

// Phones speak speed as 0..126; Varnolix drives 28 speed steps.
namespace withrottle {

constexpr int MaxPhoneSpeed = 126;
constexpr int MaxStep = 28;

// V0 stops; V1..126 is step max(1, round(V x 28 / 126)), so the smallest
// move of a phone's slider never leaves the loco standing.
int stepOfSpeed(int speed);
// The speed a phone shows for a step: the nearest V that maps back to it.
int speedOfStep(int step);

} // namespace withrottle
