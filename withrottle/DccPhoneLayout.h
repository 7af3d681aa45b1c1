#pragma once

#include "PhoneLayout.h"

#include <QObject>

#include <functional>

class DCC;
struct Shared;

namespace withrottle {

// The railway as phones reach it, through the DCC module: the same frames,
// the same link rules (stops kept and sent first while the box is lost,
// other commands refused with its word) and the same loco states as the
// loco window. A phone's frames carry its name to the frame monitor.
class DccPhoneLayout final : public QObject, public PhoneLayout {
    Q_OBJECT
public:
    // Switches DCC accessory `number`'s left-click (closed) or right-click
    // (thrown) output as its button does; set by the composition root.
    using SwitchAccessory = std::function<void(int number, bool thrown)>;

    DccPhoneLayout(Shared& shared, DCC& dcc, SwitchAccessory switchAccessory);

    // Phone session ids and the names their frames carry.
    std::function<QString(int origin)> nameOf;

    QList<RosterEntry> roster() const override;
    QStringList functionCaptions() const override;
    bool latching(int function) const override;
    int power() const override;
    Loco loco(int address) const override;
    bool heldByPanel(int address) const override;
    int accessoryState(int number) const override;

    QString drive(int origin, int address, int step, bool forward) override;
    QString emergencyStop(int origin, int address) override;
    QString function(int origin, int address, int function, bool on) override;
    QString setPower(bool on) override;
    QString switchAccessory(int number, bool thrown) override;

private:
    // Sends the frame in FrameBuf on behalf of `origin`; the refusal word, or empty.
    QString send(int origin);
    void linkChanged();

    Shared& shared_;
    DCC& dcc_;
    SwitchAccessory switchAccessory_;
    int power_ = 2;
};

} // namespace withrottle
