#pragma once

#include "Replies.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace withrottle {

// Who made a change: a phone session's id, or Panel for the program's own
// windows.
constexpr int Panel = 0;

struct LocoEvent {
    enum class Change { Speed, Direction, Function };
    int address = 0;
    Change change = Change::Speed;
    int function = 0; // Function changes: which
    int origin = Panel;
};

// What a phone may see and do on the railway. The program implements it over
// its DCC module, so a phone follows the same rules as the loco window: each
// command returns an empty string when it went (or, for a stop, waits to go
// first when the box answers again), or the words why it was refused.
class PhoneLayout {
public:
    static constexpr int FunctionCount = 13; // F0..F12

    struct Loco {
        int step = 0;      // 0..28
        bool forward = true;
        std::uint16_t functions = 0; // bit n: Fn on
    };

    virtual ~PhoneLayout() = default;

    virtual QList<RosterEntry> roster() const = 0;
    virtual QStringList functionCaptions() const = 0; // F0..F12
    virtual bool latching(int function) const = 0;
    // 0 off, 1 on, 2 unknown, as PPA says it.
    virtual int power() const = 0;
    virtual Loco loco(int address) const = 0;
    // The loco window shows this loco: it holds it too.
    virtual bool heldByPanel(int address) const = 0;
    // 1 unknown, 2 closed, 4 thrown.
    virtual int accessoryState(int number) const = 0;

    virtual QString drive(int origin, int address, int step, bool forward) = 0;
    // The loco's own emergency stop (92 AH AL).
    virtual QString emergencyStop(int origin, int address) = 0;
    virtual QString function(int origin, int address, int function, bool on) = 0;
    virtual QString setPower(bool on) = 0;
    // Closed: the button's left-click output; thrown: its right-click output.
    virtual QString switchAccessory(int number, bool thrown) = 0;

    // Set by the server: what changed, whoever changed it.
    std::function<void(const LocoEvent&)> locoChanged;
    std::function<void(int state)> powerChanged;
    std::function<void(int number, int state)> accessoryChanged;
};

} // namespace withrottle
