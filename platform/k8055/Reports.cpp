#include "Reports.h"

#include <algorithm>
#include <cmath>

namespace k8055 {

namespace {

// Input n (1..5) sits at this bit of the board's first input byte.
constexpr std::array<int, 5> InputBit = {4, 5, 0, 6, 7};

} // namespace

OutputReport buildOutputReport(Command command, const OutputState& state)
{
    return {static_cast<std::uint8_t>(command), state.digital, state.analog1, state.analog2, 0, 0,
            state.debounce1, state.debounce2};
}

WrittenReport forHidapi(const OutputReport& report)
{
    WrittenReport written{};
    std::copy(report.begin(), report.end(), written.begin() + 1);
    return written;
}

OutputState outputsOf(const OutputReport& report)
{
    return {report[1], report[2], report[3], report[6], report[7]};
}

int unscrambleInputs(std::uint8_t raw)
{
    int inputs = 0;
    for (std::size_t n = 0; n < InputBit.size(); ++n)
        if (raw & (1u << InputBit[n]))
            inputs |= 1 << n;
    return inputs;
}

std::uint8_t scrambleInputs(int inputs)
{
    unsigned raw = 0;
    for (std::size_t n = 0; n < InputBit.size(); ++n)
        if (inputs & (1 << n))
            raw |= 1u << InputBit[n];
    return static_cast<std::uint8_t>(raw);
}

InputState parseInputReport(std::span<const std::uint8_t, ReportSize> report)
{
    InputState state;
    state.digital = unscrambleInputs(report[0]);
    state.status = report[1];
    state.analog1 = report[2];
    state.analog2 = report[3];
    // Little endian and unsigned: a count above 32767 must not turn negative.
    state.counter1 = report[4] | (report[5] << 8);
    state.counter2 = report[6] | (report[7] << 8);
    return state;
}

InputReport buildInputReport(const InputState& state)
{
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value & 0xFF); };
    return {scrambleInputs(state.digital), byte(state.status), byte(state.analog1), byte(state.analog2),
            byte(state.counter1), byte(state.counter1 >> 8), byte(state.counter2), byte(state.counter2 >> 8)};
}

bool statusMatches(int status, int cardAddress)
{
    return status == cardAddress + 1 || status == cardAddress + 11;
}

std::uint8_t debounceCode(int milliseconds)
{
    const double ms = std::max(0, milliseconds);
    const long code = std::lround(2.20869 * std::pow(ms, 0.5328));
    return static_cast<std::uint8_t>(std::clamp(code, 1L, 255L));
}

} // namespace k8055
