#pragma once

#include "HidBackend.h"
#include "K8055.h"
#include "Reports.h"

// Our own K8055 driver over a HID backend. It keeps the output report as a
// shadow copy (the board has no per-output command and cannot be read back)
// and reads inputs through one reader that drains the queue and keeps the
// newest report, because queued reports can be up to a second old.
//
// A board that stops answering is closed quietly: later calls do nothing,
// reads give 0, and fault() says what happened until the next open.
class HidK8055 final : public K8055Board {
public:
    // How long opening waits for the board's first input report.
    static constexpr int OpenAnswerTimeoutMs = 250;
    // hidapi queues at most about 30 reports; draining stops after this many.
    static constexpr int MaxDrainedReports = 64;

    explicit HidK8055(HidBackend& hid);
    // Turns every output off (digital and analog) and closes the board.
    ~HidK8055() override;
    HidK8055(const HidK8055&) = delete;
    HidK8055& operator=(const HidK8055&) = delete;

    int OpenDevice(int cardAddress) override;
    void CloseDevice() override;
    void WriteAllDigital(int value) override;
    void ClearAllDigital() override;
    void SetAllDigital() override;
    void SetDigitalChannel(int channel) override;
    void ClearDigitalChannel(int channel) override;
    int ReadAllDigital() override;
    void OutputAnalogChannel(int channel, int level) override;
    void SetAllAnalog() override;
    void ClearAllAnalog() override;
    void ReadAllAnalog(int* data1, int* data2) override;
    int ReadCounter(int counter) override;
    void ResetCounter(int counter) override;
    void SetCounterDebounceTime(int counter, int milliseconds) override;

    QString fault() const override { return fault_; }

    bool isOpen() const { return address_ >= 0; }
    const k8055::OutputState& outputs() const { return shadow_; }

private:
    void send(k8055::Command command);
    const k8055::InputState& newestInputs();
    bool takeReport(int timeoutMs);
    void lose(const QString& what);
    int failOpen(const QString& why);

    HidBackend& hid_;
    int address_ = -1; // the open card, -1 when none
    k8055::OutputState shadow_;
    k8055::InputState newest_;
    QString fault_;
};
