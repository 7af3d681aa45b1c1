#include "FoldingLayout.h"

namespace withrottle {

FoldingLayout::FoldingLayout(PhoneLayout& inner, Clock& clock)
    : inner_(inner)
    , folder_(clock, [this](int address, const SpeedFolder::Speed& speed) {
        const QString refusal = inner_.drive(speed.origin, address, speed.step, speed.forward);
        if (!refusal.isEmpty() && refusedLater)
            refusedLater(speed.origin, refusal);
    })
{
    inner_.locoChanged = [this](const LocoEvent& event) {
        if (locoChanged)
            locoChanged(event);
    };
    inner_.powerChanged = [this](int state) {
        if (powerChanged)
            powerChanged(state);
    };
    inner_.accessoryChanged = [this](int number, int state) {
        if (accessoryChanged)
            accessoryChanged(number, state);
    };
}

FoldingLayout::~FoldingLayout()
{
    inner_.locoChanged = {};
    inner_.powerChanged = {};
    inner_.accessoryChanged = {};
}

PhoneLayout::Loco FoldingLayout::loco(int address) const
{
    Loco state = inner_.loco(address);
    if (const SpeedFolder::Speed* waiting = folder_.waiting(address)) {
        state.step = waiting->step;
        state.forward = waiting->forward;
    }
    return state;
}

QString FoldingLayout::drive(int origin, int address, int step, bool forward)
{
    if (step == 0) {
        folder_.stopped(address);
        return inner_.drive(origin, address, step, forward);
    }
    folder_.speed(address, {step, forward, origin});
    return {};
}

QString FoldingLayout::emergencyStop(int origin, int address)
{
    folder_.stopped(address);
    return inner_.emergencyStop(origin, address);
}

} // namespace withrottle
