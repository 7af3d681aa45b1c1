#include "dccbox/CommandStation.h"

namespace dccbox {
namespace {

using xpressnet::Refusal;

// Speed codes 0 and 1 stop the loco (1 at once): 28 steps keep the code in
// bits 3..0, 128 steps in bits 6..0.
bool isStop(std::uint8_t instruction, std::uint8_t value)
{
    return (value & (instruction == 0x13 ? 0x7F : 0x0F)) <= 1;
}

} // namespace

CommandStation::CommandStation(const Options& options)
    : options_(options)
{
}

std::vector<Outgoing> CommandStation::answer(const Frame& f)
{
    const auto is = [&f](std::initializer_list<std::uint8_t> bytes) { return f == Frame(bytes); };
    if (is({0xF0, 0xF0}))
        return {{versionReply(options_.hardware, options_.software)}};
    if (is({0x21, 0x21, 0x00}))
        return {{stationVersionReply(options_.stationVersion, options_.stationType)}};
    if (is({0x21, 0x24, 0x05}))
        return {{stationStatusReply(status_)}};
    const auto withBroadcast = [this](const Frame& broadcast) {
        noteBroadcast(broadcast);
        return std::vector<Outgoing>{{commandAccepted}, {broadcast, true}};
    };
    if (is({0x80, 0x80}))
        return withBroadcast(emergencyStop);
    if (is({0x21, 0x80, 0xA1}))
        return withBroadcast(trackPowerOff);
    if (is({0x21, 0x81, 0xA0}))
        return withBroadcast(normalOperation);
    if (f.size() == 6 && f[0] == 0xE4 && (f[1] & 0xF0) == 0x10)
        driven_[xpressnet::locoNumber(f[2], f[3])].stopped = isStop(f[1], f[4]);
    // One loco's emergency stop: that loco stands, the others run on.
    if (f.size() == 4 && f[0] == 0x92)
        driven_[xpressnet::locoNumber(f[1], f[2])].stopped = true;
    if (f.size() == 7 && f[0] == 0xE5 && f[1] == 0x43)
        return {{doubleHeader(xpressnet::locoNumber(f[2], f[3]), xpressnet::locoNumber(f[4], f[5]))}};
    return {{commandAccepted}};
}

void CommandStation::noteBroadcast(const Frame& frame)
{
    if (frame == trackPowerOff)
        status_ = xpressnet::StatusPowerOff;
    else if (frame == emergencyStop)
        status_ = xpressnet::StatusEmergencyStop;
    else if (frame == serviceMode)
        status_ = xpressnet::StatusServiceMode;
    else if (frame == normalOperation)
        status_ = 0;
}

Frame CommandStation::doubleHeader(unsigned first, unsigned second)
{
    const auto uncouple = [this](unsigned loco) {
        const auto found = driven_.find(loco);
        if (found != driven_.end())
            found->second.partner = 0;
    };
    if (second == 0) {
        // Dissolving is always acknowledged.
        const auto found = driven_.find(first);
        if (found != driven_.end() && found->second.partner != 0)
            uncouple(found->second.partner);
        uncouple(first);
        return commandAccepted;
    }
    if (options_.refuseDoubleHeaders) {
        if (Frame refusal = refusalFor(first, second); !refusal.empty())
            return refusal;
    }
    driven_[first].partner = second;
    driven_[second].partner = first;
    return commandAccepted;
}

Frame CommandStation::refusalFor(unsigned first, unsigned second) const
{
    const auto a = driven_.find(first);
    const auto b = driven_.find(second);
    if (first == 0 || a == driven_.end() || b == driven_.end())
        return doubleHeaderRefusal(Refusal::NotDrivenHere);
    if (a->second.partner != 0 || b->second.partner != 0)
        return doubleHeaderRefusal(Refusal::AlreadyCoupled);
    if (!a->second.stopped || !b->second.stopped)
        return doubleHeaderRefusal(Refusal::NotStopped);
    return {};
}

} // namespace dccbox
