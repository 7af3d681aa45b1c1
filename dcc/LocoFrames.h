#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The loco commands as bytes: address bytes of a decoder number and the
// speed, function-group and double-header frames, check byte included.
namespace loco_frames {

using Frame = std::array<std::uint8_t, 7>;

struct Address {
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    friend bool operator==(const Address&, const Address&) = default;
};

// Short addresses 1..99 give 00 nn; long addresses 100..9999 give
// C0 + n/256, n%256. Anything else has no address.
std::optional<Address> addressOf(int number);

// The value of a chip number's leading digits (blanks before them are
// skipped); 0 when there are none. Long runs of digits are capped above 9999.
int chipValue(const QString& chip);

// E4 12: speed and direction in 28 steps.
Frame speedFrame(Address engine, std::uint8_t speedByte);
// 92: the emergency stop of one loco; the others run on.
Frame emergencyStopFrame(Address loco);
// The decoder number of address bytes; 0 for none.
int numberOf(Address address);

// The 28-step speed byte: direction bit 0x80 (forward) and step 0..28 in the
// code of bits 4..0 (bit 4 the half step); step 0 stops.
std::uint8_t speedByteOfStep(int step, bool forward);
// The step 0..28 a 28-step speed byte drives; the emergency-stop codes give 0.
int stepOfSpeedByte(std::uint8_t speedByte);

// E4 20/21/22: this program sends the whole function byte in every group.
Frame functionGroupFrame(std::uint8_t group, Address engine, std::uint8_t functionByte);
// E5 43: couples the pilot to the engine; pilot 00 00 dissolves the pair.
Frame doubleHeaderFrame(Address engine, Address pilot);

// Identification byte of the group that carries function 0..12.
std::optional<std::uint8_t> functionGroupOf(int function);
// The function's weight in the function byte: F0 16, F1..F4 1..8, F5..F7
// 32..128; F8..F12 carry no bit.
std::uint8_t functionWeight(int function);

} // namespace loco_frames
