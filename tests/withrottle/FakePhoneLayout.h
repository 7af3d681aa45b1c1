#pragma once

#include "PhoneLayout.h"

#include <QStringList>

#include <map>
#include <set>

// The railway as a phone sees it, kept in memory: each command is recorded
// in words, changes the state as the DCC module would, and is reported
// through the change hooks. `refusal` makes every command refused.
class FakePhoneLayout final : public withrottle::PhoneLayout {
public:
    QList<withrottle::RosterEntry> roster() const override { return rosterEntries; }
    QStringList functionCaptions() const override { return captions; }
    bool latching(int function) const override { return latchingFunctions.count(function) != 0; }
    int power() const override { return powerState; }
    Loco loco(int address) const override
    {
        const auto found = locos.find(address);
        return found == locos.end() ? Loco{} : found->second;
    }
    bool heldByPanel(int address) const override { return address == panelLoco; }
    int accessoryState(int number) const override
    {
        const auto found = accessories.find(number);
        return found == accessories.end() ? 1 : found->second;
    }

    QString drive(int origin, int address, int step, bool forward) override
    {
        calls << QStringLiteral("drive %1 step %2 %3").arg(address).arg(step).arg(forward ? "fwd" : "rev");
        if (!refusal.isEmpty())
            return refusal;
        Loco& state = locos[address];
        const bool turned = state.forward != forward;
        state.step = step;
        state.forward = forward;
        if (locoChanged) {
            locoChanged({address, withrottle::LocoEvent::Change::Speed, 0, origin});
            if (turned)
                locoChanged({address, withrottle::LocoEvent::Change::Direction, 0, origin});
        }
        return {};
    }
    QString emergencyStop(int origin, int address) override
    {
        calls << QStringLiteral("emergency stop %1").arg(address);
        locos[address].step = 0;
        if (locoChanged)
            locoChanged({address, withrottle::LocoEvent::Change::Speed, 0, origin});
        return {};
    }
    QString function(int origin, int address, int function, bool on) override
    {
        calls << QStringLiteral("F%1 %2 %3").arg(function).arg(on ? "on" : "off").arg(address);
        if (!refusal.isEmpty())
            return refusal;
        Loco& state = locos[address];
        state.functions = static_cast<std::uint16_t>(on ? state.functions | (1u << function)
                                                        : state.functions & ~(1u << function));
        if (locoChanged)
            locoChanged({address, withrottle::LocoEvent::Change::Function, function, origin});
        return {};
    }
    QString setPower(bool on) override
    {
        calls << QStringLiteral("power %1").arg(on ? "on" : "off");
        powerState = on ? 1 : 0;
        if (powerChanged)
            powerChanged(powerState);
        return {};
    }
    QString switchAccessory(int number, bool thrown) override
    {
        calls << QStringLiteral("accessory %1 %2").arg(number).arg(thrown ? "thrown" : "closed");
        accessories[number] = thrown ? 4 : 2;
        if (accessoryChanged)
            accessoryChanged(number, accessories[number]);
        return {};
    }

    QList<withrottle::RosterEntry> rosterEntries;
    QStringList captions{"light", "bell", "horn", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    std::set<int> latchingFunctions{0, 1};
    int powerState = 1;
    int panelLoco = 0;
    std::map<int, Loco> locos;
    std::map<int, int> accessories;
    QString refusal;
    QStringList calls;
};
