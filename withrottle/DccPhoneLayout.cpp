#include "DccPhoneLayout.h"

#include "DCC.h"
#include "FunctionCaptions.h"
#include "Shared.h"
#include "LinkState.h"
#include "LocoFrames.h"
#include "StationFrames.h"

namespace withrottle {

namespace {

int powerOf(const DCC& dcc)
{
    if (!dcc.Online())
        return 2;
    switch (dcc.linkState().track) {
    case LinkState::Track::Normal:
        return 1;
    case LinkState::Track::PowerOff:
        return 0;
    case LinkState::Track::EmergencyStop:
    case LinkState::Track::ServiceMode:
        break;
    }
    return 2;
}

} // namespace

DccPhoneLayout::DccPhoneLayout(Shared& shared, DCC& dcc, SwitchAccessory switchAccessory)
    : shared_(shared)
    , dcc_(dcc)
    , switchAccessory_(std::move(switchAccessory))
    , power_(powerOf(dcc))
{
    connect(&dcc_.Events, &DccEvents::locoChanged, this, [this](int address, int change, int function, int origin) {
        if (locoChanged)
            locoChanged({address, static_cast<LocoEvent::Change>(change), function, origin});
    });
    connect(&dcc_.Events, &DccEvents::linkChanged, this, [this] { linkChanged(); });
    connect(&dcc_.Events, &DccEvents::accessoryChanged, this, [this](int number, int state) {
        if (accessoryChanged)
            accessoryChanged(number, state);
    });
}

QList<RosterEntry> DccPhoneLayout::roster() const
{
    QList<RosterEntry> out;
    for (int i = 0; i < dcc_.roster.LocoCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        // A loco without a drivable chip is not offered: choosing it could only fail.
        const int chip = loco_frames::chipValue(dcc_.roster.LocoChip[index]);
        if (loco_frames::addressOf(chip))
            out.append({dcc_.roster.LocoName[index], chip});
    }
    return out;
}

QStringList DccPhoneLayout::functionCaptions() const
{
    // The name from function.txt, without the box's "F0   OFF" label.
    QStringList out;
    for (int f = 0; f < FunctionCount; ++f) {
        const QString name = function_captions::namePart(dcc_.FuncCaption[static_cast<std::size_t>(f)]).trimmed();
        out << (name.isEmpty() ? QStringLiteral("F%1").arg(f) : name);
    }
    return out;
}

bool DccPhoneLayout::latching(int function) const
{
    return function >= 0 && function < DCC::FunctionCount && dcc_.FuncLatching[static_cast<std::size_t>(function)];
}

int DccPhoneLayout::power() const
{
    return power_;
}

PhoneLayout::Loco DccPhoneLayout::loco(int address) const
{
    const LocoStates::Loco state = dcc_.Locos.loco(address);
    return {state.step, state.forward, state.functions};
}

bool DccPhoneLayout::heldByPanel(int address) const
{
    return dcc_.EngineNumber() == address;
}

int DccPhoneLayout::accessoryState(int number) const
{
    const int state = dcc_.AccessoryState(number);
    return state == 0 ? 1 : state;
}

QString DccPhoneLayout::send(int origin)
{
    const DCC::CommandOrigin before = dcc_.Origin;
    dcc_.Origin = {origin, nameOf ? nameOf(origin) : QString()};
    const bool sent = dcc_.SendFrame();
    dcc_.Origin = before;
    return sent ? QString() : QStringLiteral("not sent: ") + dcc_.linkState().notSent;
}

QString DccPhoneLayout::drive(int origin, int address, int step, bool forward)
{
    const auto bytes = loco_frames::addressOf(address);
    if (!bytes)
        return QStringLiteral("%1 is no loco address.").arg(address);
    shared_.FrameBuf = loco_frames::speedFrame(*bytes, loco_frames::speedByteOfStep(step, forward));
    return send(origin);
}

QString DccPhoneLayout::emergencyStop(int origin, int address)
{
    const auto bytes = loco_frames::addressOf(address);
    if (!bytes)
        return QStringLiteral("%1 is no loco address.").arg(address);
    shared_.FrameBuf = loco_frames::emergencyStopFrame(*bytes);
    return send(origin);
}

QString DccPhoneLayout::function(int origin, int address, int function, bool on)
{
    const auto bytes = loco_frames::addressOf(address);
    const auto group = loco_frames::functionGroupOf(function);
    if (!bytes || !group)
        return {};
    // The whole function byte goes in every group, as the loco window sends it.
    std::uint8_t byte = 0;
    const std::uint16_t functions = dcc_.Locos.loco(address).functions;
    for (int f = 0; f <= 7; ++f)
        if ((functions >> f) & 1)
            byte = static_cast<std::uint8_t>(byte | loco_frames::functionWeight(f));
    const std::uint8_t weight = loco_frames::functionWeight(function);
    byte = static_cast<std::uint8_t>(on ? byte | weight : byte & ~weight);
    shared_.FrameBuf = loco_frames::functionGroupFrame(*group, *bytes, byte);
    const QString refusal = send(origin);
    if (refusal.isEmpty())
        dcc_.Locos.switched(address, function, on, origin);
    return refusal;
}

QString DccPhoneLayout::setPower(bool on)
{
    shared_.FrameBuf = on ? station_frames::resumeOperation() : station_frames::trackPowerOff();
    return send(Panel);
}

QString DccPhoneLayout::switchAccessory(int number, bool thrown)
{
    // The activate goes later, after whatever coil is switching now; while
    // the link is down it would be refused there, so it is refused here.
    if (dcc_.LinkDown())
        return QStringLiteral("not sent: ") + (dcc_.linkState().notSent.isEmpty() ? QStringLiteral("DCC box lost")
                                                                               : dcc_.linkState().notSent);
    if (switchAccessory_)
        switchAccessory_(number, thrown);
    return {};
}

void DccPhoneLayout::linkChanged()
{
    const int now = powerOf(dcc_);
    if (now == power_)
        return;
    power_ = now;
    if (powerChanged)
        powerChanged(now);
}

} // namespace withrottle
