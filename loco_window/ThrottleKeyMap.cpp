#include "ThrottleKeyMap.h"

namespace throttle_keys {

Binding bindingFor(int key, Qt::KeyboardModifiers modifiers)
{
    // The number pad's keys count as the main keys.
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier) {
        // Ctrl+0, Ctrl+1, Ctrl+2: the functions past the ten digits.
        if (key >= Qt::Key_0 && key <= Qt::Key_2)
            return {Action::Function, 10 + key - Qt::Key_0};
        return {};
    }
    if (modifiers != Qt::NoModifier)
        return {};
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return {Action::Function, key - Qt::Key_0};
    switch (key) {
    case Qt::Key_Up:
        return {Action::SpeedUp};
    case Qt::Key_Down:
        return {Action::SpeedDown};
    case Qt::Key_Space:
        return {Action::Stop};
    case Qt::Key_Right:
        return {Action::Forward};
    case Qt::Key_Left:
        return {Action::Reverse};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {Action::ToggleDirection};
    case Qt::Key_PageUp:
        return {Action::PreviousLoco};
    case Qt::Key_PageDown:
        return {Action::NextLoco};
    default:
        return {};
    }
}

bool repeats(Action action)
{
    return action == Action::SpeedUp || action == Action::SpeedDown;
}

std::optional<int> speedButtonAfter(int button, int step)
{
    // Button 1 is the hidden focus holder, never a speed.
    constexpr int Stop = 0;
    constexpr int Lowest = 2;
    constexpr int Highest = 14;
    if (button == Stop)
        return step > 0 ? std::optional<int>(Lowest) : std::nullopt;
    const int next = button + step;
    if (next < Lowest)
        return Stop;
    if (next > Highest)
        return std::nullopt;
    return next;
}

std::optional<int> rosterRowAfter(std::optional<int> engine, int count, int step)
{
    if (count <= 0)
        return std::nullopt;
    if (!engine)
        return step > 0 ? 0 : count - 1;
    const int next = *engine + step;
    if (next < 0 || next >= count)
        return std::nullopt;
    return next;
}

} // namespace throttle_keys
