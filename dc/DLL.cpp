#include "DLL.h"

#include "Clock.h"
#include "K8055.h"
#include "LS.h"
#include "ProgramFolder.h"
#include "SR.h"
#include "Shared.h"

#include <cmath>

DLL::DLL(Shared& shared, K8055& board, Clock& clock, SR& sr, LS& ls, const ProgramFolder& folder)
    : shared_(shared)
    , board_(board)
    , clock_(clock)
    , sr_(sr)
    , ls_(ls)
    , folder_(folder)
{
    guard_.setSingleShot(true);
    guard_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&guard_, &QTimer::timeout, [this] { timPulseGuard_Timer(); });
}

void DLL::SwitchCoil()
{
    const bool dcc = shared_.ControlSystem == control_system::Dcc;
    submit({dcc, shared_.CoilCode, shared_.CoilSide});
}

void DLL::SwitchAccessory(int n, bool thrown)
{
    submit({true, static_cast<std::uint8_t>(2 * n), thrown ? QStringLiteral("R") : QStringLiteral("L")});
}

void DLL::PulseCoil()
{
    submit({false, shared_.CoilCode, {}});
}

void DLL::submit(CoilRequest request)
{
    queue_.push_back(std::move(request));
    if (busy_)
        return; // the running request's loop below takes it in turn
    busy_ = true;
    while (!queue_.empty()) {
        const CoilRequest next = queue_.front();
        queue_.pop_front();
        if (next.accessory)
            runAccessory(next);
        else
            runPulse(next.code);
    }
    busy_ = false;
}

void DLL::runAccessory(const CoilRequest& request)
{
    shared_.CoilSide = request.side;
    ls_.SwitchAccessory(static_cast<std::uint8_t>(request.code / 2));
    sr_.FormatFrameText();
}

void DLL::runPulse(std::uint8_t code)
{
    aborted_ = false;
    for (int attempt = 0; attempt < PulseAttempts; ++attempt) {
        if (firePulse(code) || aborted_)
            return;
    }
    if (notFired)
        notFired(code);
}

bool DLL::firePulse(std::uint8_t code)
{
    // CoilCode is the pulse's own code while it runs, whatever a click in a
    // wait may store there; it holds 2c again at the end.
    shared_.CoilCode = code;
    phaseCut_ = false;
    board_.WriteAllDigital(code);
    WaitPulse();
    // The guard only cuts a phase after it has run longer than a phase, so
    // a cut in the fire phase still fired the coil.
    const bool fired = !phaseCut_;
    if (fired) {
        board_.WriteAllDigital(code + 1);
        WaitPulse();
    }
    board_.ClearAllDigital();
    shared_.CoilCode = code;
    return fired;
}

void DLL::WaitPulse()
{
    guard_.start(PulseGuardMs);
    clock_.wait(PulsePhaseSeconds, [this] { return phaseCut_; });
    guard_.stop();
}

void DLL::timPulseGuard_Timer()
{
    if (!busy_)
        return;
    phaseCut_ = true;
    board_.ClearAllDigital();
}

void DLL::abortCoils()
{
    queue_.clear();
    if (busy_) {
        phaseCut_ = true;
        aborted_ = true;
    }
    board_.ClearAllDigital();
    board_.ClearAllAnalog();
}

void DLL::motorsAtStop()
{
    MotorStep = {};
    KnobFrame = {};
}

void DLL::StopAll()
{
    abortCoils();
    motorsAtStop();
}

QString DLL::StepMotorSpeed()
{
    const int k = shared_.ActiveIndex;
    if (!knobIndex(k))
        return {};
    std::int16_t& step = MotorStep[static_cast<std::size_t>(k)];
    if (KnobButton == 1 && step > 0)
        --step;
    else if (KnobButton == 2 && step < TopMotorStep)
        ++step;
    board_.OutputAnalogChannel(k, 15 * step);
    return knobPercent(k);
}

QString DLL::knobPercent(int knob) const
{
    if (!knobIndex(knob))
        return {};
    // The whole part of level / 2.08, in integers.
    return QString::number(15 * MotorStep[static_cast<std::size_t>(knob)] * 25 / 52);
}

DLL::KnobPicture DLL::ShowKnob()
{
    const int k = shared_.ActiveIndex;
    if (!knobIndex(k))
        return {};
    std::uint8_t& frame = KnobFrame[static_cast<std::size_t>(k)];
    if (KnobButton == 1 && frame > 0)
        --frame;
    else if (KnobButton == 2 && frame < TopKnobFrame)
        ++frame;
    return knobPicture(k);
}

DLL::KnobPicture DLL::knobPicture(int knob) const
{
    if (!knobIndex(knob))
        return {};
    const std::size_t k = static_cast<std::size_t>(knob);
    KnobPicture picture;
    picture.knob = knob;
    picture.direction = KnobDir[k].trimmed();
    picture.frame = KnobFrame[k];
    picture.path = folder_.resolve(QStringLiteral("\\Data\\VM110\\Knob") + picture.direction
                                   + QString::number(picture.frame) + QStringLiteral(".bmp"));
    return picture;
}
