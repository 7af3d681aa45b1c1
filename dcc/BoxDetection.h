#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class DccLink;

// Finding the DCC box on a link without holding up the user interface. The
// link opens in the background (a network name lookup and connection may
// take seconds), the box gets a second to settle, then F0 F0 asks for the
// interface; once anything answers, the command station's version (21 21)
// and its state (21 24) are asked, each answer awaited at most AnswerWaitMs.
// Every wait is a timer on the clock, so nothing here blocks. The link's
// handlers stay with the owner, who passes on opened(), heard() and lost().
class BoxDetection {
public:
    // A USB serial adapter holds received bytes up to its 16 ms latency
    // timer, so an answer can come well after the query.
    static constexpr int AnswerWaitMs = 250;
    static constexpr int SettleMs = 1000;
    // How long a network connection (name lookup included) may take.
    static constexpr int ConnectTimeoutMs = 3000;

    enum class Result { Answered, NotOpened, NoAnswer, Cancelled };

    struct Hooks {
        // Writes one query; the owner may log it and expect its answer.
        std::function<void(const QByteArray& frame)> write;
        // The box answered the interface query: the link carries commands now.
        std::function<void()> answered;
        // The detection ended; result() says how.
        std::function<void(Result result)> done;
    };

    BoxDetection(DccLink& link, Clock& clock, Hooks hooks);
    ~BoxDetection();
    BoxDetection(const BoxDetection&) = delete;
    BoxDetection& operator=(const BoxDetection&) = delete;

    // Opens port `number` (unused by the network kinds) with the settings the
    // link holds; a detection still running is given up without a word.
    void start(int number);
    // The link's opened handler: open now, or its opening failed.
    void opened();
    // Something came from the box.
    void heard();
    // The link went while being looked at.
    void lost();
    // Closes the link and ends with Cancelled.
    void cancel();

    bool running() const { return step_ != Step::Idle; }
    // Waiting on the link itself (its opening, or an answer) rather than on a
    // plain pause: the only time a caller has anything to wait for.
    bool awaitingLink() const;
    Result result() const { return result_; }
    // Why it did not open, in words naming the device or host.
    QString failure() const;

private:
    enum class Step { Idle, Opening, Settling, Asking, StationVersion, StationStatus };

    void ask(Step step, const QByteArray& frame);
    void next();
    void timedOut();
    void finish(Result result);

    DccLink& link_;
    Hooks hooks_;
    std::unique_ptr<ClockTimer> timer_;
    Step step_ = Step::Idle;
    Result result_ = Result::NoAnswer;
    QString timeoutError_;
    bool inAnsweredHook_ = false;
};
