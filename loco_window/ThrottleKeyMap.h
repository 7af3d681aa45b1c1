#pragma once

#include <Qt>

#include <optional>

// Which key drives which throttle control: the conventions most throttles
// share, kept apart from any widget so the mapping reads as one table.
namespace throttle_keys {

enum class Action {
    None,
    SpeedUp,
    SpeedDown,
    Stop,
    Forward, // direction bit set (0x80)
    Reverse, // direction bit clear
    ToggleDirection,
    Function,
    PreviousLoco,
    NextLoco,
};

struct Binding {
    Action action = Action::None;
    int function = -1; // F0..F12 for Action::Function
    friend bool operator==(const Binding&, const Binding&) = default;
};

// What a key with these modifiers does; Action::None for every key the
// throttle leaves to the window (Escape among them: it is the program's).
Binding bindingFor(int key, Qt::KeyboardModifiers modifiers);

// Only a held Up or Down steps on at the keyboard's repeat rate; every other
// key acts once per press.
bool repeats(Action action);

// The speed button one step up (+1) or down (-1) the row from `button`
// (0 = STOP, then 2 to 14); none past either end.
std::optional<int> speedButtonAfter(int button, int step);

// The roster row one step before (-1) or after (+1) the train engine, none
// past either end. Without an engine the first step goes to the first row
// (forward) or the last (back).
std::optional<int> rosterRowAfter(std::optional<int> engine, int count, int step);

} // namespace throttle_keys
