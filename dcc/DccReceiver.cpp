#include "DccReceiver.h"

#include "Clock.h"
#include "CommandKind.h"

#include "xpressnet/Reply.h"

namespace {

using xpressnet::ReplyKind;

xpressnet::Bytes bytesOf(const QByteArray& frame)
{
    return {reinterpret_cast<const std::uint8_t*>(frame.constData()), static_cast<std::size_t>(frame.size())};
}

bool startsWith(const QByteArray& frame, std::uint8_t header, int second = -1)
{
    return !frame.isEmpty() && static_cast<std::uint8_t>(frame[0]) == header
        && (second < 0 || (frame.size() > 1 && static_cast<std::uint8_t>(frame[1]) == second));
}

bool isQuery(const QByteArray& frame)
{
    return command_kind::classify(frame).kind == command_kind::Kind::Query;
}

// The station command a track broadcast answers: 80 80 by 81 00, 21 80 by
// 61 00, 21 81 by 61 01.
std::optional<std::pair<std::uint8_t, int>> causeOf(ReplyKind kind)
{
    switch (kind) {
    case ReplyKind::EmergencyStop:
        return std::pair<std::uint8_t, int>{0x80, 0x80};
    case ReplyKind::TrackPowerOff:
        return std::pair<std::uint8_t, int>{0x21, 0x80};
    case ReplyKind::NormalOperation:
        return std::pair<std::uint8_t, int>{0x21, 0x81};
    default:
        return std::nullopt;
    }
}

LinkState::Track trackOf(std::uint8_t status)
{
    if (status & xpressnet::StatusPowerOff)
        return LinkState::Track::PowerOff;
    if (status & xpressnet::StatusEmergencyStop)
        return LinkState::Track::EmergencyStop;
    if (status & xpressnet::StatusServiceMode)
        return LinkState::Track::ServiceMode;
    return LinkState::Track::Normal;
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
    const command_kind::Command command = command_kind::classify(frame);
    const std::uint64_t sequence = ++sequence_;
    if (command.target != 0)
        newest_[command.target] = sequence;
    if (command.kind == command_kind::Kind::EmergencyStop || command.kind == command_kind::Kind::PowerOff)
        newestStopAll_ = sequence;
    owed_.push_back({frame, false, sequence, command.target});
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
    // An answer to us, not a word to every device.
    const bool answer = !in.broadcast;
    const auto front = [this](const std::function<bool(const QByteArray&)>& fits) -> std::optional<std::size_t> {
        if (owed_.empty() || !fits(owed_.front().frame))
            return std::nullopt;
        return 0;
    };
    const auto any = [](const QByteArray&) { return true; };
    switch (reply.kind) {
    case ReplyKind::Acknowledged:
        state_.stationSilent = false;
        state_.notPassedOn = false;
        // Queries are answered by their own reply, not by an acknowledgement.
        if (answer)
            settleAt(find([](const QByteArray& f) { return !isQuery(f); }), Answer::Outcome::Accepted);
        break;
    case ReplyKind::TransmissionError:
        if (answer)
            transmissionError();
        break;
    case ReplyKind::TimeSlotLost:
        state_.stationSilent = true;
        if (answer)
            settleAt(front(any), Answer::Outcome::NotPassedOn);
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
        // The one broadcast that answers: the one our own station command caused.
        if (const auto cause = causeOf(reply.kind))
            settleAt(find([&](const QByteArray& f) { return startsWith(f, cause->first, cause->second); }),
                     Answer::Outcome::Accepted);
        break;
    case ReplyKind::StationStatus:
        state_.track = trackOf(reply.code);
        settleAt(find([](const QByteArray& f) { return startsWith(f, 0x21, 0x24); }), Answer::Outcome::Accepted);
        break;
    case ReplyKind::NotSupported:
        if (answer)
            settleAt(front(any), Answer::Outcome::Refused, QStringLiteral("the command station does not support it"));
        break;
    case ReplyKind::DoubleHeaderRefused:
        settleAt(find([](const QByteArray& f) { return startsWith(f, 0xE5, 0x43); }), Answer::Outcome::Refused,
                 fromStd(xpressnet::refusalText(reply.refusal)));
        break;
    case ReplyKind::TakenOver:
        state_.takenOver = reply.address;
        break;
    case ReplyKind::InterfaceVersion:
        interfaceWords_ = QStringLiteral("interface %1 / %2")
                              .arg(fromStd(xpressnet::versionText(reply.hardware)), fromStd(xpressnet::versionText(reply.software)));
        settleAt(find([](const QByteArray& f) { return startsWith(f, 0xF0); }), Answer::Outcome::Accepted);
        break;
    case ReplyKind::CommandStationVersion:
        stationWords_ = QStringLiteral("command station %1 %2")
                            .arg(fromStd(xpressnet::stationTypeName(reply.stationType)), fromStd(xpressnet::versionText(reply.version)));
        settleAt(find([](const QByteArray& f) { return startsWith(f, 0x21, 0x21); }), Answer::Outcome::Accepted);
        break;
    case ReplyKind::Feedback:
        // Also sent unprompted when a point moves; an answer only to our own accessory frame.
        if (answer)
            settleAt(front([](const QByteArray& f) { return startsWith(f, 0x52); }), Answer::Outcome::Accepted);
        break;
    case ReplyKind::Unknown:
        // Of no known kind: it answers nothing we can name.
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
    newest_.clear();
    newestStopAll_ = 0;
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

std::optional<std::size_t> DccReceiver::find(const std::function<bool(const QByteArray&)>& fits) const
{
    for (std::size_t i = 0; i < owed_.size(); ++i) {
        if (fits(owed_[i].frame))
            return i;
    }
    return std::nullopt;
}

bool DccReceiver::stillTrue(const Owed& owed) const
{
    if (newestStopAll_ > owed.sequence)
        return false;
    const auto newest = newest_.find(owed.target);
    return owed.target == 0 || newest == newest_.end() || newest->second == owed.sequence;
}

void DccReceiver::transmissionError()
{
    if (owed_.empty())
        return;
    Owed& front = owed_.front();
    if (!stillTrue(front)) {
        // A stale frame sent again would undo what was sent since.
        settle(Answer::Outcome::Superseded);
    } else if (!front.retried) {
        front.retried = true;
        answerTimer_->start(AnswerTimeoutMs);
        if (hooks_.resend)
            hooks_.resend(front.frame);
    } else {
        state_.notPassedOn = true;
        settle(Answer::Outcome::NotPassedOn);
    }
}

void DccReceiver::settle(Answer::Outcome outcome, const QString& why)
{
    settleAt(owed_.empty() ? std::nullopt : std::optional<std::size_t>(0), outcome, why);
}

void DccReceiver::settleAt(std::optional<std::size_t> index, Answer::Outcome outcome, const QString& why)
{
    if (!index)
        return;
    const auto at = owed_.begin() + static_cast<std::ptrdiff_t>(*index);
    Answer answer{at->frame, outcome, why};
    owed_.erase(at);
    restartAnswerTimer();
    if (hooks_.answered)
        hooks_.answered(answer);
}

void DccReceiver::answerTimedOut()
{
    if (owed_.empty())
        return;
    // A command station that does not know a query may leave it unanswered:
    // that is no sign of a silent box.
    if (!isQuery(owed_.front().frame))
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
