#pragma once

#include "DccLink.h"
#include "LinkState.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

class Clock;
class ClockTimer;

// The listening half of the DCC link: pairs the box's answers with the
// frames sent, notices silence, asks once more after a transmission error,
// and keeps what the broadcasts say in a LinkState.
//
// An answer settles the frame it answers: an acknowledgement the oldest
// command, a version or status the query for it, a track broadcast the
// station command that caused it, a refusal the double header; broadcasts
// and unknown frames settle nothing. After a transmission error a frame is
// sent once more only while it is still true: nothing newer went to the
// same loco or output, and no emergency stop or power off went out since.
// Every command frame is owed an answer within AnswerTimeoutMs; two owed answers missed in a row make the
// box "not answering", and any frame from it ends that. While it is silent
// the box is asked for a sign of life every ProbeIntervalMs, so the status
// clears without the user sending anything.
class DccReceiver {
public:
    static constexpr int AnswerTimeoutMs = 500;
    static constexpr int MissesForSilence = 2;
    static constexpr int ProbeIntervalMs = 1000;
    // More owed answers than this are not tracked: the oldest is forgotten.
    static constexpr std::size_t MaxOwed = 32;

    // What became of a frame the box owed an answer to.
    struct Answer {
        // Superseded: not passed on, and a newer command made it stale.
        enum class Outcome { Accepted, Refused, NotPassedOn, NoAnswer, Superseded };
        QByteArray frame;
        Outcome outcome = Outcome::Accepted;
        // Refused: the reason in plain words.
        QString why;
    };

    struct Hooks {
        // Writes a frame once more, after a transmission error.
        std::function<void(const QByteArray& frame)> resend;
        // Asks the silent box for a sign of life.
        std::function<void()> probe;
        // The LinkState changed.
        std::function<void()> changed;
        // An owed answer came, or did not.
        std::function<void(const Answer& answer)> answered;
    };

    DccReceiver(Clock& clock, Hooks hooks);
    ~DccReceiver();
    DccReceiver(const DccReceiver&) = delete;
    DccReceiver& operator=(const DccReceiver&) = delete;

    // A frame went out that the box owes an answer to.
    void sent(const QByteArray& frame);
    // Something came from the box.
    void received(const DccLink::Received& in);
    // The link was opened or lost: nothing is owed, nothing is known.
    void reset();
    // The next loco command from this panel ends a take-over.
    void clearTakenOver();

    const LinkState& state() const { return state_; }
    bool owes() const { return !owed_.empty(); }

private:
    struct Owed {
        QByteArray frame;
        bool retried = false;
        std::uint64_t sequence = 0;
        std::uint32_t target = 0;
    };

    // The first owed frame `fits`, or none.
    std::optional<std::size_t> find(const std::function<bool(const QByteArray&)>& fits) const;
    bool stillTrue(const Owed& owed) const;
    void transmissionError();
    void settle(Answer::Outcome outcome, const QString& why = {});
    void settleAt(std::optional<std::size_t> index, Answer::Outcome outcome, const QString& why = {});
    void answerTimedOut();
    void probeTick();
    void heard();
    void restartAnswerTimer();
    void setBoxSilent(bool silent);
    void notify();

    Hooks hooks_;
    LinkState state_;
    std::deque<Owed> owed_;
    // The newest frame sent to each loco instruction or accessory output, and
    // the newest emergency stop or power off.
    std::uint64_t sequence_ = 0;
    std::unordered_map<std::uint32_t, std::uint64_t> newest_;
    std::uint64_t newestStopAll_ = 0;
    int misses_ = 0;
    QString interfaceWords_;
    QString stationWords_;
    std::unique_ptr<ClockTimer> answerTimer_;
    std::unique_ptr<ClockTimer> probeTimer_;
};
