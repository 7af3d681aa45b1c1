#pragma once

#include "HidBackend.h"
#include "Reports.h"

#include <QString>

#include <deque>
#include <functional>
#include <set>
#include <vector>

class Clock;

// A K8055 in memory, on the far side of the same driver the real board uses:
// it takes the driver's written reports and sends input reports like the
// board (one every 10 ms, at most 30 queued, inputs scrambled, 16-bit
// counters that wrap). Tests script its inputs and read back what it was
// told; the demo run has it print every change of its outputs in words.
class SimulatedBoard final : public HidBackend {
public:
    static constexpr double ReportPeriod = 0.010; // seconds
    static constexpr std::size_t QueueLimit = 30;

    struct OutputChange {
        double seconds = 0;
        k8055::OutputState outputs;
    };
    using LineHandler = std::function<void(double seconds, const QString& words)>;

    // Cards present at start: address 0, as the jumpers come from the factory.
    explicit SimulatedBoard(const Clock& clock);

    // HidBackend
    bool open(std::uint16_t vendorId, std::uint16_t productId) override;
    void close() override;
    bool isOpen() const override { return openAddress_ >= 0; }
    int write(std::span<const std::uint8_t> report) override;
    int read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    QString error() const override { return error_; }

    // Scripting.
    void plugIn(int cardAddress);
    // Pulls the card out; an open handle to it fails from then on.
    void unplug(int cardAddress);
    // The status byte is card address + this: 1 for a K8055, 11 for a K8055N.
    void setStatusOffset(int offset) { statusOffset_ = offset; }
    // Input changes show in the reports sent after them; reports already
    // queued keep what the inputs were.
    void setDigitalInputs(int inputs);
    void setAnalogInputs(int analog1, int analog2);
    void setCounter(int counter, int value);
    void countPulses(int counter, int pulses);

    // What it was told.
    int openAddress() const { return openAddress_; }
    const k8055::OutputState& outputs() const { return outputs_; }
    const std::vector<OutputChange>& outputChanges() const { return changes_; }
    const std::vector<k8055::WrittenReport>& writtenReports() const { return written_; }
    int opens() const { return opens_; }

    void setLineHandler(LineHandler handler) { lines_ = std::move(handler); }

private:
    void queueDueReports();
    void beforeInputChange();
    void apply(const k8055::OutputReport& report);
    void say(const QString& words) const;
    bool present() const;

    const Clock& clock_;
    std::set<int> cards_{0};
    int openAddress_ = -1;
    int statusOffset_ = 1;
    k8055::InputState inputs_;
    k8055::OutputState outputs_;
    std::deque<k8055::InputReport> queue_;
    double nextReportAt_ = 0;
    std::vector<OutputChange> changes_;
    std::vector<k8055::WrittenReport> written_;
    int opens_ = 0;
    QString error_;
    LineHandler lines_;
};
