#include "dccbox/Options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace dccbox {
namespace {

bool sameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

bool parseType(std::string_view text, std::uint8_t& type)
{
    static constexpr std::array<std::pair<std::string_view, std::uint8_t>, 7> names = {{
        {"LZV100", 0x00}, {"LZ100", 0x00}, {"LH200", 0x01}, {"compact", 0x02},
        {"multiMAUS", 0x10}, {"z21", 0x12}, {"other", 0x02},
    }};
    for (const auto& [name, value] : names) {
        if (sameText(text, name)) {
            type = value;
            return true;
        }
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFF)
        return false;
    type = static_cast<std::uint8_t>(value);
    return true;
}

// "3.6" -> 0x36: one digit each side, as the command station reports it.
bool parseVersion(std::string_view text, std::uint8_t& version)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.size() != 3 || !digit(text[0]) || text[1] != '.' || !digit(text[2]))
        return false;
    version = static_cast<std::uint8_t>(((text[0] - '0') << 4) | (text[2] - '0'));
    return true;
}

} // namespace

bool parseStation(std::string_view text, std::uint8_t& type, std::uint8_t& version)
{
    const auto colon = text.find(':');
    std::uint8_t newType = 0;
    std::uint8_t newVersion = version;
    if (!parseType(text.substr(0, colon), newType))
        return false;
    if (colon != std::string_view::npos && !parseVersion(text.substr(colon + 1), newVersion))
        return false;
    type = newType;
    version = newVersion;
    return true;
}

} // namespace dccbox
