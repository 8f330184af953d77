// Small byte-string helpers shared by the readers of configuration texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// Removes leading and trailing characters whose code is 32 or less.
[[nodiscard]] std::string_view Trim(std::string_view text);

// ASCII lower-casing; other bytes are left alone so that 8-bit texts survive.
[[nodiscard]] std::string ToLower(std::string_view text);

// Splits at a one-character separator into at most 50 trimmed pieces; the 50th keeps the rest.
std::vector<std::string> SplitFields(std::string_view text, char separator);
inline constexpr int kMaxSplitPieces = 50;

// Leading decimal integer: white space skipped, optional sign, digits up to the first other
// character, no digits gives 0. Wraps like a 32-bit integer, and reports whether it had to.
struct LeadingInteger {
    int32_t value = 0;
    bool overflowed = false;
};
[[nodiscard]] LeadingInteger ParseLeadingInteger(std::string_view text);

// Hexadecimal number; an optional "0x" prefix is accepted when allowPrefix. Returns -1 when the
// text holds no hexadecimal digits or is above max (dictionary keys: 31 bits; record numbers
// in a file: 32).
[[nodiscard]] int64_t ParseHexNumber(std::string_view text, bool allowPrefix, int64_t max = 0x7FFFFFFF);

} // namespace kelvara
