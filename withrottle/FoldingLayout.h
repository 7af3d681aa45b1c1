#pragma once

#include "FloodGuards.h"
#include "PhoneLayout.h"

namespace withrottle {

// The layout as the phones reach it: speed changes are folded per loco
// (the newest wins, at most one speed frame per loco per SpeedFolder::
// IntervalMs), so sixteen phones sliding at once never flood the bus;
// stops and emergency stops pass at once and drop what waits. A phone sees
// a waiting speed as the loco's speed, so its next command builds on it.
class FoldingLayout final : public PhoneLayout {
public:
    FoldingLayout(PhoneLayout& inner, Clock& clock);
    ~FoldingLayout() override;

    // A folded speed that was refused when its turn came: `origin` is told.
    std::function<void(int origin, const QString& refusal)> refusedLater;

    QList<RosterEntry> roster() const override { return inner_.roster(); }
    QStringList functionCaptions() const override { return inner_.functionCaptions(); }
    bool latching(int function) const override { return inner_.latching(function); }
    int power() const override { return inner_.power(); }
    Loco loco(int address) const override;
    bool heldByPanel(int address) const override { return inner_.heldByPanel(address); }
    int accessoryState(int number) const override { return inner_.accessoryState(number); }

    QString drive(int origin, int address, int step, bool forward) override;
    QString emergencyStop(int origin, int address) override;
    QString function(int origin, int address, int function, bool on) override
    {
        return inner_.function(origin, address, function, on);
    }
    QString setPower(bool on) override { return inner_.setPower(on); }
    QString switchAccessory(int number, bool thrown) override { return inner_.switchAccessory(number, thrown); }

private:
    PhoneLayout& inner_;
    SpeedFolder folder_;
};

} // namespace withrottle
