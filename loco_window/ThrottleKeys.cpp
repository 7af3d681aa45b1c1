#include "ThrottleKeys.h"

#include "DCC.h"
#include "Form2a.h"
#include "SR.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWheelEvent>

#include <utility>

using throttle_keys::Action;

namespace {

constexpr int Left = 1;
constexpr int StopButton = 0;
constexpr int Notch = 120;

// Typing belongs to a text field, and the arrows to a menu bar walked with
// the keyboard.
bool keepsKeys(const QWidget* widget)
{
    return widget
           && (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
               || qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget)
               || qobject_cast<const QMenuBar*>(widget) || widget->testAttribute(Qt::WA_InputMethodEnabled));
}

// The key's receiver or, for a key a text field passed on to its parents,
// the window's focus widget.
bool focusKeepsKeys(const QObject* receiver)
{
    const auto* widget = static_cast<const QWidget*>(receiver);
    return keepsKeys(widget) || keepsKeys(widget->window()->focusWidget());
}

} // namespace

ThrottleKeys::ThrottleKeys(Form2a& window, DCC& dcc, SR& sr)
    : QObject(&window)
    , window_(window)
    , dcc_(dcc)
    , sr_(sr)
{
    windows_.emplace_back(&window);
    QCoreApplication::instance()->installEventFilter(this);
    // Another engine may be chosen from the menu while a key is held.
    connect(window.mnuList[1], &QMenu::aboutToShow, this, [this] { releaseHeldFunctions(); });
}

void ThrottleKeys::driveFrom(QWidget* window)
{
    windows_.emplace_back(window);
}

bool ThrottleKeys::drives(const QObject* receiver) const
{
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget || QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return false;
    for (const QPointer<QWidget>& window : windows_)
        if (window && widget->window() == window)
            return true;
    return false;
}

bool ThrottleKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return drives(watched) && !focusKeepsKeys(watched) && keyPressed(static_cast<QKeyEvent&>(*event));
    case QEvent::KeyRelease:
        // Wherever the release arrives: a held function must end.
        return keyReleased(static_cast<QKeyEvent&>(*event));
    case QEvent::Wheel:
        return drives(watched) && wheelTurned(watched, static_cast<QWheelEvent&>(*event));
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        // No window of the program has the keyboard any more (another
        // program has it): no release will come here.
        if (!QApplication::activeWindow())
            releaseHeldFunctions();
        return false;
    default:
        return false;
    }
}

bool ThrottleKeys::keyPressed(const QKeyEvent& key)
{
    const throttle_keys::Binding binding = throttle_keys::bindingFor(key.key(), key.modifiers());
    if (binding.action == Action::None)
        return false;
    // One press is one action; only the speed steps go on while held, and
    // only with an engine (no message per repeat).
    if (key.isAutoRepeat() && !(throttle_keys::repeats(binding.action) && dcc_.EngineChosen))
        return true;
    act(binding, key.key());
    return true;
}

bool ThrottleKeys::keyReleased(const QKeyEvent& key)
{
    const auto held = held_.find(key.key());
    if (held == held_.end())
        return false;
    if (!key.isAutoRepeat()) {
        const int function = held->second;
        held_.erase(held);
        window_.chkFunc_MouseUp(function, Left);
    }
    return true;
}

bool ThrottleKeys::wheelTurned(QObject* receiver, const QWheelEvent& wheel)
{
    const auto* widget = static_cast<const QWidget*>(receiver);
    QWidget* row = window_.fraControl;
    if (!row->isVisible() || (widget != row && !row->isAncestorOf(widget)))
        return false;
    const int angle = wheel.angleDelta().y();
    // A turn the other way starts afresh.
    if ((angle > 0) != (wheelAngle_ > 0))
        wheelAngle_ = 0;
    wheelAngle_ += angle;
    for (; wheelAngle_ >= Notch; wheelAngle_ -= Notch)
        stepSpeed(+1);
    for (; wheelAngle_ <= -Notch; wheelAngle_ += Notch)
        stepSpeed(-1);
    return true;
}

void ThrottleKeys::act(throttle_keys::Binding binding, int key)
{
    switch (binding.action) {
    case Action::SpeedUp:
        stepSpeed(+1);
        break;
    case Action::SpeedDown:
        stepSpeed(-1);
        break;
    case Action::Stop:
        window_.cmdLoco_MouseDown(StopButton, Left);
        break;
    case Action::Forward:
    case Action::Reverse: {
        const std::uint8_t wanted = binding.action == Action::Forward ? 128 : 0;
        // Already that way: nothing, as there is nothing to click.
        if (dcc_.DirectionBit != wanted || !dcc_.EngineChosen)
            window_.imgDir_Click();
        break;
    }
    case Action::ToggleDirection:
        window_.imgDir_Click();
        break;
    case Action::Function:
        // The boxes stay disabled until an engine is chosen: no frame to
        // address 0, only the answer the other controls give.
        if (!dcc_.EngineChosen) {
            sr_.Prompt(13);
            break;
        }
        if (held_.emplace(key, binding.function).second)
            window_.chkFunc_MouseDown(binding.function, Left);
        break;
    case Action::PreviousLoco:
    case Action::NextLoco: {
        // A function held on this loco ends here, not on the next one.
        releaseHeldFunctions();
        const std::optional<int> engine = dcc_.EngineChosen ? std::optional<int>(dcc_.EngineIndex) : std::nullopt;
        const int step = binding.action == Action::NextLoco ? +1 : -1;
        if (const auto row = throttle_keys::rosterRowAfter(engine, dcc_.roster.LocoCount, step))
            window_.mnuUnitA.at(static_cast<std::size_t>(*row))->trigger();
        break;
    }
    case Action::None:
        break;
    }
}

void ThrottleKeys::stepSpeed(int step)
{
    if (const auto button = throttle_keys::speedButtonAfter(shownSpeedButton(), step))
        window_.cmdLoco_MouseDown(*button, Left);
    else if (!dcc_.EngineChosen)
        sr_.Prompt(13);
}

void ThrottleKeys::releaseHeldFunctions()
{
    const std::map<int, int> held = std::exchange(held_, {});
    for (const auto& [key, function] : held)
        window_.chkFunc_MouseUp(function, Left);
}

int ThrottleKeys::shownSpeedButton() const
{
    // The raised button is the step the throttle shows; none raised is STOP.
    constexpr int Raised = 800;
    for (int i = 2; i < static_cast<int>(window_.cmdLoco.size()); ++i)
        if (window_.locoButtonHeight(i) == Raised)
            return i;
    return StopButton;
}
