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
};
