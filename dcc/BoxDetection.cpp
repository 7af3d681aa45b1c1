#include "BoxDetection.h"

#include "Clock.h"
#include "DccLink.h"
#include "StationFrames.h"

namespace {

QByteArray bytesOf(const station_frames::Frame& frame, qsizetype length)
{
    return QByteArray(reinterpret_cast<const char*>(frame.data()), length);
}

} // namespace

BoxDetection::BoxDetection(DccLink& link, Clock& clock, Hooks hooks)
    : link_(link)
    , hooks_(std::move(hooks))
    , timer_(clock.createTimer([this] { timedOut(); }))
{
}

BoxDetection::~BoxDetection() = default;

void BoxDetection::start(int number)
{
    step_ = Step::Opening;
    timeoutError_.clear();
    timer_->start(ConnectTimeoutMs);
    // A serial device opens at once and says so from inside this call.
    if (!link_.openInBackground(number)) {
        if (step_ == Step::Opening)
            finish(Result::NotOpened);
        return;
    }
    if (step_ == Step::Opening && link_.isOpen())
        opened();
}

void BoxDetection::opened()
{
    if (step_ != Step::Opening)
        return;
    if (!link_.isOpen()) {
        finish(Result::NotOpened);
        return;
    }
    link_.discardReceived();
    link_.discardPending();
    step_ = Step::Settling;
    timer_->start(SettleMs);
}

void BoxDetection::heard()
{
    // What the owner sends from its answered hook (stops kept meanwhile) may
    // be answered at once; those answers are not the command station's.
    if (inAnsweredHook_)
        return;
    // Anything at all that comes back counts: the box is there.
    if (step_ == Step::Asking && hooks_.answered) {
        inAnsweredHook_ = true;
        hooks_.answered();
        inAnsweredHook_ = false;
    }
    if (step_ == Step::Asking || step_ == Step::StationVersion || step_ == Step::StationStatus)
        next();
}

void BoxDetection::lost()
{
    if (running())
        finish(step_ == Step::Opening ? Result::NotOpened : Result::NoAnswer);
}

void BoxDetection::cancel()
{
    if (!running())
        return;
    link_.close();
    finish(Result::Cancelled);
}

bool BoxDetection::awaitingLink() const
{
    return step_ == Step::Opening || step_ == Step::Asking || step_ == Step::StationVersion || step_ == Step::StationStatus;
}

QString BoxDetection::failure() const
{
    return timeoutError_.isEmpty() ? link_.openError() : timeoutError_;
}

void BoxDetection::ask(Step step, const QByteArray& frame)
{
    // The step is set first: a link may hand the answer over before write() returns.
    step_ = step;
    timer_->start(AnswerWaitMs);
    hooks_.write(frame);
    if (step_ == step && !link_.isOpen())
        finish(step == Step::Asking ? Result::NoAnswer : Result::Answered);
}

void BoxDetection::next()
{
    switch (step_) {
    case Step::Settling:
        // Stale bytes are dropped before the query rather than after it: a
        // box on a fast link may already have answered by then.
        link_.discardReceived();
        ask(Step::Asking, QByteArray("\xF0\xF0", 2));
        break;
    case Step::Asking:
        // Not every command station answers 21 21; silence here is no fault.
        ask(Step::StationVersion, bytesOf(station_frames::versionQuery(), 3));
        break;
    case Step::StationVersion:
        // Then its state, so the status line is true from the first moment.
        ask(Step::StationStatus, bytesOf(station_frames::statusQuery(), 3));
        break;
    case Step::StationStatus:
        finish(Result::Answered);
        break;
    case Step::Opening:
    case Step::Idle:
        break;
    }
}

void BoxDetection::timedOut()
{
    switch (step_) {
    case Step::Opening:
        timeoutError_ = QStringLiteral("cannot connect to %1: no connection within %2 s")
                            .arg(link_.where())
                            .arg(ConnectTimeoutMs / 1000);
        link_.close();
        finish(Result::NotOpened);
        break;
    case Step::Asking:
        finish(Result::NoAnswer);
        break;
    default:
        next();
        break;
    }
}

void BoxDetection::finish(Result result)
{
    timer_->stop();
    step_ = Step::Idle;
    result_ = result;
    if (hooks_.done)
        hooks_.done(result);
}
