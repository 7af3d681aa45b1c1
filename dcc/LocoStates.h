#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

// What each loco was last told, whoever told it (the loco window, a key, a
// phone): read off the frames that go to the box, or wait to go first, so
// every throttle on a loco sees one state. Functions F0..F7 follow the
// function byte of the frames; F8..F12, which that byte does not carry,
// follow what the throttles switched.
class LocoStates {
public:
    // Who sent a frame: 0 for the program's own windows, otherwise a phone.
    static constexpr int Panel = 0;

    struct Loco {
        int step = 0; // 0..28
        bool forward = true;
        std::uint16_t functions = 0; // bit n: Fn on
    };
    enum class Change { Speed, Direction, Function };

    // A frame went to the box (or waits to go first) for `origin`.
    void sent(const QByteArray& frame, int origin);
    // A function the frame cannot carry was switched.
    void switched(int address, int function, bool on, int origin);
    Loco loco(int address) const;
    // The locos last told to move, with their direction.
    std::vector<std::pair<int, bool>> running() const;

    // A loco changed: which, what (and which function), by whom.
    std::function<void(int address, Change change, int function, int origin)> changed;

private:
    void setSpeed(int address, int step, bool forward, int origin);
    void setFunctions(int address, std::uint16_t functions, int origin);

    std::map<int, Loco> locos_;
};
