#include "xpressnet/Reply.h"

#include "xpressnet/Describe.h"

#include "FrameFault.h"

#include <array>

namespace xpressnet {
namespace {

// Every three-byte reply that is one fixed meaning.
struct FixedReply {
    std::uint8_t header;
    std::uint8_t data;
    ReplyKind kind;
    const char* words;
};

constexpr std::array<FixedReply, 17> fixedReplies = {{
    {0x01, 0x04, ReplyKind::Acknowledged, "command accepted"},
    {0x01, 0x01, ReplyKind::TransmissionError, "error between PC and interface (frame dropped)"},
    {0x01, 0x02, ReplyKind::TransmissionError, "error between interface and command station"},
    {0x01, 0x03, ReplyKind::TransmissionError, "unknown communication error (bad check byte)"},
    {0x01, 0x05, ReplyKind::TimeSlotLost, "command station gives the interface no time slot"},
    {0x01, 0x06, ReplyKind::TransmissionError, "interface buffer overflow"},
    {0x01, 0x07, ReplyKind::TimeSlotRestored, "time slot restored"},
    {0x01, 0x08, ReplyKind::TransmissionError, "request without time slot"},
    {0x01, 0x09, ReplyKind::TransmissionError, "bad data sent to the interface"},
    {0x01, 0x0A, ReplyKind::TransmissionError, "interface asks to send again"},
    {0x61, 0x01, ReplyKind::NormalOperation, "normal operation resumed, track power on"},
    {0x61, 0x00, ReplyKind::TrackPowerOff, "track power off"},
    {0x61, 0x02, ReplyKind::ServiceMode, "service mode"},
    {0x81, 0x00, ReplyKind::EmergencyStop, "emergency stop"},
    {0x61, 0x80, ReplyKind::TransmissionError, "transfer error"},
    {0x61, 0x81, ReplyKind::TransmissionError, "command station busy"},
    {0x61, 0x82, ReplyKind::NotSupported, "instruction not supported"},
}};

const FixedReply* fixedReply(Bytes f)
{
    for (const FixedReply& known : fixedReplies) {
        if (f.size() == 3 && f[0] == known.header && f[1] == known.data)
            return &known;
    }
    return nullptr;
}

// E1 81..88, and the X-Bus form 61 83..86 of the first four.
Refusal refusalOf(Bytes f)
{
    if (f.size() == 3 && f[0] == 0xE1 && f[1] >= 0x81 && f[1] <= 0x88)
        return static_cast<Refusal>(f[1] - 0x80);
    if (f.size() == 3 && f[0] == 0x61 && f[1] >= 0x83 && f[1] <= 0x86)
        return static_cast<Refusal>(f[1] - 0x82);
    return Refusal::None;
}

// 42 AA DD: DD = I TT N ZZZZ (I: not finished; TT: kind; N: upper half; Z: four states).
std::string feedbackWords(std::uint8_t address, std::uint8_t data)
{
    const bool upper = (data & 0x10u) != 0;
    const unsigned kind = (data >> 5) & 0x03u;
    std::string words;
    if (kind == 2) {
        words = "feedback address " + std::to_string(address) + ", inputs " + (upper ? "5-8" : "1-4") + ":";
        std::string on;
        for (unsigned bit = 0; bit < 4; ++bit) {
            if (data & (1u << bit)) {
                on += ' ';
                on += std::to_string(bit + 1 + (upper ? 4 : 0));
            }
        }
        words += on.empty() ? std::string(" none on") : on + " on";
    } else {
        const unsigned first = address * 4u + (upper ? 3 : 1);
        words = "accessory information: address " + std::to_string(address) + ", turnouts "
            + std::to_string(first) + "-" + std::to_string(first + 1) + ", state bits ";
        for (int bit = 3; bit >= 0; --bit)
            words += (data & (1u << bit)) ? '1' : '0';
        if (kind == 3)
            words += " (reserved kind)";
    }
    if (data & 0x80u)
        words += ", not finished";
    return words;
}

} // namespace

Reply classifyReply(Bytes f)
{
    Reply reply;
    if (!frameFault(f).empty())
        return reply;
    if (const FixedReply* known = fixedReply(f)) {
        reply.kind = known->kind;
        reply.code = f[1];
    } else if (const Refusal refusal = refusalOf(f); refusal != Refusal::None) {
        reply.kind = ReplyKind::DoubleHeaderRefused;
        reply.refusal = refusal;
    } else if (f.size() == 4 && f[0] == 0x02) {
        reply.kind = ReplyKind::InterfaceVersion;
        reply.hardware = f[1];
        reply.software = f[2];
    } else if (f.size() == 4 && f[0] == 0x42) {
        reply.kind = ReplyKind::Feedback;
        reply.address = f[1];
        reply.code = f[2];
    } else if (f.size() == 4 && f[0] == 0x62 && f[1] == 0x22) {
        reply.kind = ReplyKind::StationStatus;
        reply.code = f[2];
    } else if (f.size() == 5 && f[0] == 0x63 && f[1] == 0x21) {
        reply.kind = ReplyKind::CommandStationVersion;
        reply.version = f[2];
        reply.stationType = f[3];
    } else if (f.size() == 5 && f[0] == 0xE3 && f[1] == 0x40) {
        reply.kind = ReplyKind::TakenOver;
        reply.address = locoNumber(f[2], f[3]);
    }
    return reply;
}

std::string describeReply(Bytes f)
{
    if (std::string fault = frameFault(f); !fault.empty())
        return fault;
    if (const FixedReply* known = fixedReply(f))
        return known->words;

    const Reply reply = classifyReply(f);
    switch (reply.kind) {
    case ReplyKind::DoubleHeaderRefused:
        return "double header refused: " + refusalText(reply.refusal);
    case ReplyKind::InterfaceVersion:
        return "interface version: hardware " + versionText(reply.hardware) + ", software "
            + versionText(reply.software);
    case ReplyKind::CommandStationVersion:
        return "command station: " + stationTypeName(reply.stationType) + ", version " + versionText(reply.version);
    case ReplyKind::TakenOver:
        return "loco " + std::to_string(reply.address) + " taken over by another throttle";
    case ReplyKind::Feedback:
        return feedbackWords(f[1], f[2]);
    case ReplyKind::StationStatus: {
        std::string words = "command station status:";
        if (reply.code & StatusPowerOff)
            words += " track power off";
        if (reply.code & StatusEmergencyStop)
            words += " emergency stop";
        if (reply.code & StatusServiceMode)
            words += " service mode";
        return (reply.code & (StatusPowerOff | StatusEmergencyStop | StatusServiceMode)) ? words : words + " normal operation";
    }
    default:
        return "unknown reply";
    }
}

std::string versionText(std::uint8_t bcd)
{
    return std::to_string(bcd >> 4) + "." + std::to_string(bcd & 0x0F);
}

std::string stationTypeName(std::uint8_t type)
{
    switch (type) {
    case 0x00:
        return "LZ100/LZV100";
    case 0x01:
        return "LH200";
    case 0x02:
        return "compact or other";
    case 0x10:
        return "multiMAUS";
    case 0x12:
        return "z21";
    default:
        return "type 0x" + hex(std::vector{type});
    }
}

std::string refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NotDrivenHere:
        return "a loco was not driven from this panel (or its address is 0)";
    case Refusal::DrivenElsewhere:
        return "a loco is driven by another throttle";
    case Refusal::AlreadyCoupled:
        return "a loco is already in another double header";
    case Refusal::NotStopped:
        return "a loco is not at speed 0";
    case Refusal::NotInMultiUnit:
        return "the loco is not in a multi-unit";
    case Refusal::NotMultiUnitBase:
        return "the address is not a multi-unit address";
    case Refusal::CannotDelete:
        return "the loco cannot be removed";
    case Refusal::StackFull:
        return "the command station's loco stack is full";
    case Refusal::None:
        break;
    }
    return "no reason given";
}

} // namespace xpressnet
