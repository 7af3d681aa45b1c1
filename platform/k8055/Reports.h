#pragma once

#include <array>
#include <cstdint>
#include <span>

// The K8055's USB reports, built and read by small pure functions. Both
// directions carry 8 bytes and no report id; hidapi wants a leading 0 on a
// write, so a written report is 9 bytes.
namespace k8055 {

constexpr std::uint16_t VendorId = 0x10CF;
constexpr std::uint16_t FirstProductId = 0x5500; // + card address 0..3
constexpr int ReportSize = 8;

using OutputReport = std::array<std::uint8_t, ReportSize>;
using InputReport = std::array<std::uint8_t, ReportSize>;
using WrittenReport = std::array<std::uint8_t, ReportSize + 1>;

enum class Command : std::uint8_t {
    SetDebounce1 = 1,
    SetDebounce2 = 2,
    ResetCounter1 = 3,
    ResetCounter2 = 4,
    SetOutputs = 5,
};

// The board cannot be asked what its outputs are, and it has no command per
// output: the driver keeps this copy and sends all of it with every command.
struct OutputState {
    std::uint8_t digital = 0;
    std::uint8_t analog1 = 0;
    std::uint8_t analog2 = 0;
    std::uint8_t debounce1 = 1; // codes, never 0 (see debounceCode)
    std::uint8_t debounce2 = 1;

    bool operator==(const OutputState&) const = default;
};

struct InputState {
    int digital = 0; // inputs 1..5 as bits 0..4
    int status = 0;  // card address + 1 (K8055) or + 11 (K8055N)
    int analog1 = 0;
    int analog2 = 0;
    int counter1 = 0; // 0..65535
    int counter2 = 0;

    bool operator==(const InputState&) const = default;
};

constexpr std::uint16_t productIdFor(int cardAddress)
{
    return static_cast<std::uint16_t>(FirstProductId + cardAddress);
}

OutputReport buildOutputReport(Command command, const OutputState& state);
// The same with the leading report id hidapi expects.
WrittenReport forHidapi(const OutputReport& report);
// What a board makes of a written report (the simulated board uses it).
OutputState outputsOf(const OutputReport& report);

InputState parseInputReport(std::span<const std::uint8_t, ReportSize> report);
// The board's input byte has inputs 1..5 at bits 4, 5, 0, 6, 7.
int unscrambleInputs(std::uint8_t raw);
std::uint8_t scrambleInputs(int inputs);
InputReport buildInputReport(const InputState& state);

// A K8055 answers with address + 1, a K8055N in its compatible mode with
// address + 11. Anything else (a K8055N switched to its own protocol answers
// above 20) is not a board this driver can talk to.
bool statusMatches(int status, int cardAddress);

// Debounce time in ms to the board's code, 1..255 (0 would make the
// counters run away). Velleman's own conversion: 2 ms -> 3, 10 -> 8, 1000 -> 88.
std::uint8_t debounceCode(int milliseconds);

} // namespace k8055
