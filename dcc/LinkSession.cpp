#include "LinkSession.h"

#include "CommandKind.h"

#include <algorithm>

namespace {

using command_kind::Kind;

// What goes first: the whole layout stops, then coils are freed, then each loco.
int rankOf(Kind kind)
{
    switch (kind) {
    case Kind::EmergencyStop:
        return 0;
    case Kind::PowerOff:
        return 1;
    case Kind::AccessoryOff:
        return 2;
    default:
        return 3;
    }
}

} // namespace

bool LinkSession::setState(State state)
{
    if (state == state_)
        return false;
    state_ = state;
    if (state == State::Online)
        notSent_.clear();
    if (state == State::OfflineByChoice) {
        kept_.clear();
        notSent_.clear();
    }
    return true;
}

LinkSession::Verdict LinkSession::admit(const QByteArray& frame)
{
    if (!down())
        return Verdict::Send;
    const command_kind::Command command = command_kind::classify(frame);
    if (command.kind == Kind::Query)
        return Verdict::Send;
    if (!command_kind::isStop(command.kind)) {
        refuse();
        return Verdict::Refused;
    }
    const int rank = rankOf(command.kind);
    std::erase_if(kept_, [&](const Kept& k) { return k.rank == rank && k.target == command.target; });
    kept_.push_back({rank, command.target, frame});
    return Verdict::Kept;
}

bool LinkSession::refuse()
{
    if (!down())
        return false;
    notSent_ = state_ == State::NotAnswering ? QStringLiteral("DCC box not answering") : QStringLiteral("DCC box lost");
    return true;
}

QByteArrayList LinkSession::takeKept()
{
    std::stable_sort(kept_.begin(), kept_.end(), [](const Kept& a, const Kept& b) { return a.rank < b.rank; });
    QByteArrayList frames;
    for (const Kept& k : kept_)
        frames << k.frame;
    kept_.clear();
    return frames;
}
