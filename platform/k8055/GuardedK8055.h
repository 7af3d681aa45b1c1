#pragma once

#include "GuardProtocol.h"
#include "K8055.h"

#include <QStringList>
#include <QTimer>

#include <sys/types.h>

// The K8055 behind its guardian: a small program (varnolix-k8055-guard) that
// owns the board and takes every call from here over a socket on its
// standard input and output. When that connection ends for any reason - this
// process killed, crashed, or silent for a second - the guardian turns every
// output off, which no program can do for itself after a kill -9.
//
// A guardian that cannot be started or has gone leaves every call doing
// nothing and fault() saying why; the next OpenDevice starts it again (its
// opening turns every output off, whatever the last one left). One that
// stopped answering is killed and reaped first: two never hold the board.
//
// The guardian runs in a session of its own, so the terminal's Ctrl+Z (and
// Ctrl+C) never reach it: a suspended Varnolix is a silent one, and the
// guardian turns every output off after its one-second watch.
class GuardedK8055 final : public K8055Board {
public:
    // The heartbeat keeps the guardian's one-second watch satisfied.
    static constexpr int HeartbeatMs = 250;
    // How long an answer may take before the guardian counts as gone.
    static constexpr int AnswerTimeoutMs = 3000;

    GuardedK8055(const QString& program, const QStringList& arguments);
    // Closes the connection (the guardian turns everything off and ends) and
    // waits a moment for the guardian to end.
    ~GuardedK8055() override;
    GuardedK8055(const GuardedK8055&) = delete;
    GuardedK8055& operator=(const GuardedK8055&) = delete;

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

    bool connected() const { return socket_ >= 0; }
    void setAnswerTimeout(int milliseconds) { answerTimeoutMs_ = milliseconds; }
    pid_t guardianPid() const { return guardian_; }

private:
    void start();
    // Ends a guardian still running (stopped, or stuck) and reaps it.
    void endGuardian();
    void send(const QByteArray& line);
    // Sends a call that answers; the answer's numbers, padded to `count`.
    std::vector<int> ask(const QByteArray& line, std::size_t count);
    void lose(const QString& why);
    QString guardianEnded() const;

    int socket_ = -1;
    pid_t guardian_ = -1;
    QString program_;
    QStringList arguments_;
    QByteArray received_;
    QString fault_;
    QTimer heartbeat_;
    int answerTimeoutMs_ = AnswerTimeoutMs;
};
