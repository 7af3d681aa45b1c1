#include "SpeedSteps.h"

#include <algorithm>

namespace withrottle {

int stepOfSpeed(int speed)
{
    speed = std::clamp(speed, 0, MaxPhoneSpeed);
    if (speed == 0)
        return 0;
    // Rounded half up in whole numbers: (V x 28 + 63) / 126.
    return std::max(1, (speed * MaxStep + MaxPhoneSpeed / 2) / MaxPhoneSpeed);
}

int speedOfStep(int step)
{
    step = std::clamp(step, 0, MaxStep);
    return (step * MaxPhoneSpeed + MaxStep / 2) / MaxStep;
}

} // namespace withrottle
