#pragma once

#include <QString>

#include <optional>

// A loco key as phones name it: "S3" (short address) or "L1012" (long).
namespace withrottle {

struct LocoKey {
    bool isLong = false;
    int number = 0;
    friend bool operator==(const LocoKey&, const LocoKey&) = default;
};

// "S<digits>" or "L<digits>"; nothing for anything else ("*", "S", "Sx", ...).
std::optional<LocoKey> parseKey(QStringView text);
QString keyText(LocoKey key);

// The decoder number XpressNet drives for a key, or why it cannot: the link
// sends every number below 100 as a short address, so a long address below
// 100 would drive another decoder.
struct KeyCheck {
    int address = 0;  // 1..9999 when drivable
    QString refusal;  // empty when drivable
};
KeyCheck checkKey(LocoKey key);

// The key a roster loco is offered under: short for 1..99, long above.
LocoKey keyForAddress(int address);

} // namespace withrottle
