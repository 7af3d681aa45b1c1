#pragma once

#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>

class Clock;
class K8055;
class LS;
class ProgramFolder;
class SR;
struct Shared;

// The board's output side: coil pulses on the eight digital outputs (or, in
// "DCC", accessory switching), motor levels on the two analog outputs, and
// the knob pictures that go with them.
//
// Coil output format: bit 0 is the fire bit, bits 1..7 the coil number, so
// coil c is CoilCode 2c; a pulse writes 2c (select), then 2c + 1 (fire), each
// for one phase, then all outputs off.
//
// One coil request runs at a time. The waits let other handlers run, and a
// coil request that comes in meanwhile is queued with its own code and side
// and runs when the running one has finished.
class DLL {
public:
    static constexpr double PulsePhaseSeconds = 0.5;
    // A phase held up longer than this by a handler that ran inside the wait
    // (a message box, say) is cut short: the outputs go off at once, so no
    // coil stays energised. A pulse cut before its fire phase is run once
    // more; cut again, it is reported through notFired.
    static constexpr int PulseGuardMs = 550;
    static constexpr int PulseAttempts = 2;
    static constexpr int TopMotorStep = 14;
    static constexpr int TopKnobFrame = 7;

    struct KnobPicture {
        int knob = 0; // 0: ActiveIndex named no knob, nothing to show
        QString path;
        QString direction; // "Fwd" or "Rev"
        int frame = 0;
    };

    DLL(Shared& shared, K8055& board, Clock& clock, SR& sr, LS& ls, const ProgramFolder& folder);
    DLL(const DLL&) = delete;
    DLL& operator=(const DLL&) = delete;

    // Fires the coil of CoilCode by the control system. In "DCC" the coil
    // button's number is the accessory number: CoilCode / 2, side CoilSide.
    void SwitchCoil();
    // DCC accessory n's left-click (closed) or right-click (thrown) output, as
    // its button switches it, in turn after any coil switching now.
    void SwitchAccessory(int n, bool thrown);
    // Pulses CoilCode on the board, in every system: an offline DCC box has
    // nothing to do with the board.
    void PulseCoil();
    // One pulse phase; the user interface keeps running.
    void WaitPulse();
    // Steps knob ActiveIndex by KnobButton and sets its analog output. Returns
    // the knob's percentage for lblPwm, empty when ActiveIndex is no knob.
    QString StepMotorSpeed();
    // Steps the knob's frame by KnobButton and names its picture.
    KnobPicture ShowKnob();
    // Knob k's speed in percent for lblPwm, as it stands.
    QString knobPercent(int knob) const;
    // The picture of knob k as it stands, without stepping.
    KnobPicture knobPicture(int knob) const;

    // The pulse guard's tick: the running phase has overrun.
    void timPulseGuard_Timer();
    // The program is ending: the running pulse stops where it is, queued
    // coil requests are dropped and every output goes off, the motors' too.
    void abortCoils();

    // The emergency stop: both motors to 0 (the knobs to their stop
    // picture), every output off, any coil pulse cut and the queued ones
    // dropped. The program runs on.
    void StopAll();
    // The board was opened again, so its motors stand: the knobs go to stop
    // (keeping their directions).
    void motorsAtStop();

    // Told the code (2c) of a coil whose pulse was cut twice and never fired.
    std::function<void(std::uint8_t code)> notFired;

    bool coilBusy() const { return busy_; }
    std::size_t queuedCoils() const { return queue_.size(); }

    std::uint8_t KnobButton = 0;
    std::array<std::int16_t, 3> MotorStep{};
    std::array<std::uint8_t, 3> KnobFrame{};
    std::array<QString, 3> KnobDir;
    // Direction per knob (true = reverse), elements 1 and 2; the loco
    // window's direction is a flag of its own (Shared::DirReversed).
    std::array<bool, 3> KnobReversed{};

private:
    struct CoilRequest {
        bool accessory = false;
        std::uint8_t code = 0;
        QString side;
    };

    void submit(CoilRequest request);
    void runPulse(std::uint8_t code);
    bool firePulse(std::uint8_t code);
    void runAccessory(const CoilRequest& request);
    bool knobIndex(int k) const { return k == 1 || k == 2; }

    Shared& shared_;
    K8055& board_;
    Clock& clock_;
    SR& sr_;
    LS& ls_;
    const ProgramFolder& folder_;
    std::deque<CoilRequest> queue_;
    bool busy_ = false;
    bool phaseCut_ = false;
    bool aborted_ = false;
    QTimer guard_;
};
