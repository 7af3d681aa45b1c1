#pragma once

#include "xpressnet/Frame.h"

#include <cstdint>
#include <string>

namespace xpressnet {

// What a frame from the interface or the command station means for the
// program, so it can act without looking at bytes.
enum class ReplyKind {
    Acknowledged,          // 01 04 05: passed on to the command station
    TransmissionError,     // 01 01/02/03/06/08/09/0A, 61 80/81: not passed on; send it once more
    TimeSlotLost,          // 01 05 04: the command station no longer polls the interface
    TimeSlotRestored,      // 01 07 06
    NormalOperation,       // 61 01 60: track power on, emergency stop over
    TrackPowerOff,         // 61 00 61 (also after a short circuit)
    ServiceMode,           // 61 02 63
    EmergencyStop,         // 81 00 81
    NotSupported,          // 61 82 E3: the command station does not know the instruction
    DoubleHeaderRefused,   // E1 81..88, or the old 61 83..86: see `refusal`
    TakenOver,             // E3 40 AH AL: see `address`
    InterfaceVersion,      // 02 HW SW: see `hardware`, `software`
    CommandStationVersion, // 63 21 VV TT: see `version`, `stationType`
    Feedback,              // 42 AA DD: see `address`, `code`
    StationStatus,         // 62 22 SS, the answer to 21 24: see `code`
    Unknown,               // anything else, a bad check byte or a wrong length
};

// Why a double header was refused; the numbers are those of E1 81..88.
enum class Refusal : std::uint8_t {
    None = 0,
    NotDrivenHere = 1,         // a loco was not driven by this device, or address 0
    DrivenElsewhere = 2,       // a loco is driven by another device
    AlreadyCoupled = 3,        // a loco is already in a double header or multi-unit
    NotStopped = 4,            // a loco's speed is not 0
    NotInMultiUnit = 5,
    NotMultiUnitBase = 6,
    CannotDelete = 7,
    StackFull = 8,
};

struct Reply {
    ReplyKind kind = ReplyKind::Unknown;
    std::uint8_t code = 0;     // TransmissionError: the second byte (01 xx, 61 xx); Feedback: DD
    Refusal refusal = Refusal::None;
    unsigned address = 0;      // TakenOver: the loco number; Feedback: AA
    std::uint8_t hardware = 0; // InterfaceVersion, BCD
    std::uint8_t software = 0; // InterfaceVersion, BCD
    std::uint8_t version = 0;  // CommandStationVersion, BCD
    std::uint8_t stationType = 0;
};

// The status byte of 62 22 SS: bit 0 track power off (emergency off), bit 1
// emergency stop, bit 3 service mode.
constexpr std::uint8_t StatusPowerOff = 0x01;
constexpr std::uint8_t StatusEmergencyStop = 0x02;
constexpr std::uint8_t StatusServiceMode = 0x08;

// One whole frame (as FrameAssembler gives it) from the box's side.
Reply classifyReply(Bytes frame);

// 0x36 -> "3.6".
std::string versionText(std::uint8_t bcd);

// 0x00 -> "LZ100/LZV100", 0x01 -> "LH200", 0x02 -> "compact or other",
// 0x10 -> "multiMAUS", 0x12 -> "z21", others "type 0x20".
std::string stationTypeName(std::uint8_t type);

// In plain words, e.g. "a loco is not at speed 0".
std::string refusalText(Refusal refusal);

} // namespace xpressnet
