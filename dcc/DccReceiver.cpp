#include "DccReceiver.h"

#include "Clock.h"

#include "xpressnet/Reply.h"

namespace {

using xpressnet::ReplyKind;

xpressnet::Bytes bytesOf(const QByteArray& frame)
{
    return {reinterpret_cast<const std::uint8_t*>(frame.constData()), static_cast<std::size_t>(frame.size())};
}

// 80 (emergency stop) and 21 8x (track power) are answered by the broadcast
// they cause.
bool isStationCommand(const QByteArray& frame)
{
    const auto header = static_cast<std::uint8_t>(frame.isEmpty() ? 0 : frame[0]);
    return header == 0x80 || header == 0x21;
}

bool isAccessoryCommand(const QByteArray& frame)
{
    return !frame.isEmpty() && static_cast<std::uint8_t>(frame[0]) == 0x52;
}

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

DccReceiver::DccReceiver(Clock& clock, Hooks hooks)
    : hooks_(std::move(hooks))
    , answerTimer_(clock.createTimer([this] { answerTimedOut(); }))
    , probeTimer_(clock.createTimer([this] { probeTick(); }))
{
}

DccReceiver::~DccReceiver() = default;

void DccReceiver::sent(const QByteArray& frame)
{
    if (owed_.size() >= MaxOwed)
        owed_.pop_front();
    owed_.push_back({frame, false});
    if (!answerTimer_->isActive())
        answerTimer_->start(AnswerTimeoutMs);
}

void DccReceiver::received(const DccLink::Received& in)
{
    // Bytes that make no frame are no sign of a working box.
    if (!in.good)
        return;
    const LinkState before = state_;
    heard();
    const xpressnet::Reply reply = xpressnet::classifyReply(bytesOf(in.bytes));
    const bool owed = !owed_.empty();
    switch (reply.kind) {
    case ReplyKind::Acknowledged:
        state_.stationSilent = false;
        state_.notPassedOn = false;
        if (owed)
            settle(Answer::Outcome::Accepted);
        break;
    case ReplyKind::TransmissionError:
        if (owed && !owed_.front().retried) {
            owed_.front().retried = true;
            answerTimer_->start(AnswerTimeoutMs);
            if (hooks_.resend)
                hooks_.resend(owed_.front().frame);
        } else if (owed) {
            state_.notPassedOn = true;
            settle(Answer::Outcome::NotPassedOn);
        }
        break;
    case ReplyKind::TimeSlotLost:
        state_.stationSilent = true;
        if (owed)
            settle(Answer::Outcome::NotPassedOn);
        break;
    case ReplyKind::TimeSlotRestored:
        state_.stationSilent = false;
        break;
    case ReplyKind::NormalOperation:
    case ReplyKind::TrackPowerOff:
    case ReplyKind::ServiceMode:
    case ReplyKind::EmergencyStop:
        state_.track = reply.kind == ReplyKind::NormalOperation ? LinkState::Track::Normal
            : reply.kind == ReplyKind::TrackPowerOff            ? LinkState::Track::PowerOff
            : reply.kind == ReplyKind::ServiceMode              ? LinkState::Track::ServiceMode
                                                                : LinkState::Track::EmergencyStop;
        if (owed && isStationCommand(owed_.front().frame))
            settle(Answer::Outcome::Accepted);
        break;
    case ReplyKind::NotSupported:
        if (owed)
            settle(Answer::Outcome::Refused, QStringLiteral("the command station does not support it"));
        break;
    case ReplyKind::DoubleHeaderRefused:
        if (owed)
            settle(Answer::Outcome::Refused, fromStd(xpressnet::refusalText(reply.refusal)));
        break;
    case ReplyKind::TakenOver:
        state_.takenOver = reply.address;
        break;
    case ReplyKind::InterfaceVersion:
        interfaceWords_ = QStringLiteral("interface %1 / %2")
                              .arg(fromStd(xpressnet::versionText(reply.hardware)), fromStd(xpressnet::versionText(reply.software)));
        if (owed)
            settle(Answer::Outcome::Accepted);
        break;
    case ReplyKind::CommandStationVersion:
        stationWords_ = QStringLiteral("command station %1 %2")
                            .arg(fromStd(xpressnet::stationTypeName(reply.stationType)), fromStd(xpressnet::versionText(reply.version)));
        if (owed)
            settle(Answer::Outcome::Accepted);
        break;
    case ReplyKind::Feedback:
        // Also sent unprompted when a point moves; an answer only to our own accessory frame.
        if (owed && isAccessoryCommand(owed_.front().frame))
            settle(Answer::Outcome::Accepted);
        break;
    case ReplyKind::Unknown:
        if (owed)
            settle(Answer::Outcome::Accepted);
        break;
    }
    QStringList identity;
    if (!interfaceWords_.isEmpty())
        identity << interfaceWords_;
    if (!stationWords_.isEmpty())
        identity << stationWords_;
    state_.identity = identity.join(QStringLiteral(", "));
    if (!(state_ == before))
        notify();
}

void DccReceiver::reset()
{
    owed_.clear();
    misses_ = 0;
    answerTimer_->stop();
    probeTimer_->stop();
    interfaceWords_.clear();
    stationWords_.clear();
    const bool changed = !(state_ == LinkState{});
    state_ = LinkState{};
    if (changed)
        notify();
}

void DccReceiver::clearTakenOver()
{
    if (state_.takenOver == 0)
        return;
    state_.takenOver = 0;
    notify();
}

void DccReceiver::settle(Answer::Outcome outcome, const QString& why)
{
    Answer answer{owed_.front().frame, outcome, why};
    owed_.pop_front();
    restartAnswerTimer();
    if (hooks_.answered)
        hooks_.answered(answer);
}

void DccReceiver::answerTimedOut()
{
    if (owed_.empty())
        return;
    ++misses_;
    if (misses_ >= MissesForSilence && !state_.boxSilent) {
        setBoxSilent(true);
        notify();
    }
    settle(Answer::Outcome::NoAnswer);
}

void DccReceiver::probeTick()
{
    if (!state_.boxSilent)
        return;
    probeTimer_->start(ProbeIntervalMs);
    if (hooks_.probe)
        hooks_.probe();
}

void DccReceiver::heard()
{
    misses_ = 0;
    setBoxSilent(false);
}

void DccReceiver::restartAnswerTimer()
{
    if (owed_.empty())
        answerTimer_->stop();
    else
        answerTimer_->start(AnswerTimeoutMs);
}

void DccReceiver::setBoxSilent(bool silent)
{
    state_.boxSilent = silent;
    if (silent)
        probeTimer_->start(ProbeIntervalMs);
    else
        probeTimer_->stop();
}

void DccReceiver::notify()
{
    if (hooks_.changed)
        hooks_.changed();
}
