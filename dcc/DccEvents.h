#pragma once

#include <QObject>

// What the DCC module announces to the windows, which then show its state.
class DccEvents : public QObject {
    Q_OBJECT
signals:
    // The link's state changed: connected, lost, silent, a broadcast, a take-over.
    void linkChanged();
    // The pilot menu changed without a click: the box acknowledged or refused
    // a double header.
    void pilotChanged();
    // A loco was told something (LocoStates::Change as a number), by the
    // windows (origin 0) or a phone.
    void locoChanged(int address, int change, int function, int origin);
    // Another throttle changed the train engine: the window shows it anew.
    void engineChanged();
    // DCC accessory n was switched: 2 closed, 4 thrown.
    void accessoryChanged(int number, int state);
};
