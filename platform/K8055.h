#pragma once

#include <QString>

// The Velleman K8055 (VM110) board as the program sees it: exactly the
// fifteen calls of the board library. Every argument and result is a plain
// int, as in the vendor's library. Only OpenDevice reports failure; the other
// calls do nothing when no board is open or the board has gone.
class K8055 {
public:
    virtual ~K8055() = default;

    // Card address 0..3 (jumpers SK5/SK6). Returns the address when that
    // board is open, -1 when there is none; any board opened before is closed.
    virtual int OpenDevice(int cardAddress) = 0;
    virtual void CloseDevice() = 0;

    // Digital outputs 1..8 are bits 0..7.
    virtual void WriteAllDigital(int value) = 0;
    virtual void ClearAllDigital() = 0;
    virtual void SetAllDigital() = 0;
    virtual void SetDigitalChannel(int channel) = 0;   // 1..8
    virtual void ClearDigitalChannel(int channel) = 0; // 1..8
    // Digital inputs 1..5 as bits 0..4.
    virtual int ReadAllDigital() = 0;

    // Analog (PWM) outputs 1 and 2, level 0..255.
    virtual void OutputAnalogChannel(int channel, int level) = 0;
    virtual void SetAllAnalog() = 0;
    virtual void ClearAllAnalog() = 0;
    // Analog inputs 1 and 2, 0..255 each.
    virtual void ReadAllAnalog(int* data1, int* data2) = 0;

    // Pulse counters 1 and 2.
    virtual int ReadCounter(int counter) = 0;
    virtual void ResetCounter(int counter) = 0;
    // Debounce time in ms (0, 2, 10 or 1000 from the board panel).
    virtual void SetCounterDebounceTime(int counter, int milliseconds) = 0;
};

// Why the open board stopped answering, for the board panel to show; empty
// while the board answers (or none was opened).
class K8055Status {
public:
    virtual ~K8055Status() = default;
    virtual QString fault() const = 0;
};

// What the composition root hands out: the calls and their status together.
class K8055Board : public K8055, public K8055Status {};
