#include "LocoStates.h"

#include "LocoFrames.h"

namespace {

std::uint8_t at(const QByteArray& frame, qsizetype i)
{
    return i < frame.size() ? static_cast<std::uint8_t>(frame[i]) : 0;
}

int addressAt(const QByteArray& frame, qsizetype i)
{
    return loco_frames::numberOf({at(frame, i), at(frame, i + 1)});
}

} // namespace

void LocoStates::sent(const QByteArray& frame, int origin)
{
    const std::uint8_t header = at(frame, 0);
    if (header == 0x80 && at(frame, 1) == 0x80) {
        // Every loco stops where it stands.
        for (auto& [address, loco] : locos_)
            setSpeed(address, 0, loco.forward, origin);
    } else if (header == 0x92 && frame.size() >= 4) {
        const int address = addressAt(frame, 1);
        setSpeed(address, 0, loco(address).forward, origin);
    } else if (header == 0xE4 && at(frame, 1) == 0x12 && frame.size() >= 6) {
        const std::uint8_t speed = at(frame, 4);
        setSpeed(addressAt(frame, 2), loco_frames::stepOfSpeedByte(speed), (speed & 0x80) != 0, origin);
    } else if (header == 0xE4 && at(frame, 1) >= 0x20 && at(frame, 1) <= 0x22 && frame.size() >= 6) {
        // The whole function byte travels in every group: F0..F7 as it says.
        const int address = addressAt(frame, 2);
        std::uint16_t functions = loco(address).functions;
        for (int function = 0; function <= 7; ++function) {
            const std::uint16_t bit = static_cast<std::uint16_t>(1u << function);
            functions = (at(frame, 4) & loco_frames::functionWeight(function)) ? functions | bit : functions & ~bit;
        }
        setFunctions(address, functions, origin);
    }
}

void LocoStates::switched(int address, int function, bool on, int origin)
{
    if (function < 8 || function > 12)
        return;
    const std::uint16_t bit = static_cast<std::uint16_t>(1u << function);
    const std::uint16_t functions = loco(address).functions;
    setFunctions(address, static_cast<std::uint16_t>(on ? functions | bit : functions & ~bit), origin);
}

LocoStates::Loco LocoStates::loco(int address) const
{
    const auto found = locos_.find(address);
    return found == locos_.end() ? Loco{} : found->second;
}

std::vector<std::pair<int, bool>> LocoStates::running() const
{
    std::vector<std::pair<int, bool>> out;
    for (const auto& [address, loco] : locos_)
        if (loco.step > 0)
            out.emplace_back(address, loco.forward);
    return out;
}

void LocoStates::setSpeed(int address, int step, bool forward, int origin)
{
    if (address == 0)
        return;
    Loco& loco = locos_[address];
    const bool turned = loco.forward != forward;
    const bool moved = loco.step != step;
    loco.step = step;
    loco.forward = forward;
    if (!changed)
        return;
    // Even an unchanged speed is told: a stop that was sent again is news
    // to a throttle that showed the loco running.
    if (moved || !turned)
        changed(address, Change::Speed, 0, origin);
    if (turned)
        changed(address, Change::Direction, 0, origin);
}

void LocoStates::setFunctions(int address, std::uint16_t functions, int origin)
{
    if (address == 0)
        return;
    Loco& loco = locos_[address];
    const std::uint16_t before = loco.functions;
    loco.functions = functions;
    if (!changed)
        return;
    for (int function = 0; function <= 12; ++function)
        if (((before ^ functions) >> function) & 1)
            changed(address, Change::Function, function, origin);
}
