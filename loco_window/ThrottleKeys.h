#pragma once

#include "ThrottleKeyMap.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <vector>

class DCC;
class Form2a;
class QKeyEvent;
class QWheelEvent;
class QWidget;
class SR;

// The keyboard throttle: keys pressed in the loco window or another window
// it is told of (the main window) and the mouse wheel over the throttle row
// become the very handler calls the mouse makes, so a key sends what its
// mouse action sends. Watches the whole application, so a function key
// released in any window, or the program losing the keyboard, still ends a
// momentary function.
class ThrottleKeys : public QObject {
public:
    ThrottleKeys(Form2a& window, DCC& dcc, SR& sr);

    // Keys pressed in `window` drive the throttle too.
    void driveFrom(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool drives(const QObject* receiver) const;
    bool keyPressed(const QKeyEvent& key);
    bool keyReleased(const QKeyEvent& key);
    bool wheelTurned(QObject* receiver, const QWheelEvent& wheel);
    void act(throttle_keys::Binding binding, int key);
    void stepSpeed(int step);
    void releaseHeldFunctions();
    int shownSpeedButton() const;

    Form2a& window_;
    DCC& dcc_;
    SR& sr_;
    std::vector<QPointer<QWidget>> windows_;
    // Function keys held down (key -> function), released as the mouse
    // releases a box.
    std::map<int, int> held_;
    // Wheel turn not yet a whole notch (120 = one notch).
    int wheelAngle_ = 0;
};
