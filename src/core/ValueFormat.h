// Conversions between stored fixed-point record values and the texts the user sees.
// All scaling is done in x86 extended precision, which decides the last digits.
#pragma once

#include "NumberStyle.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelvara {

// General format, 15 significant digits, with the given decimal mark ("1.5E-6", "2E20").
[[nodiscard]] std::string FormatGeneral(long double value, char mark);

// FormatGeneral with the locale's mark, then the first "," made "." when decimal is 1.
[[nodiscard]] std::string FormatSingle(float value, const NumberStyle& style);
[[nodiscard]] std::string FormatDouble(double value, const NumberStyle& style);

// The value text of a record: " " for types without a value, and for data shorter than the
// type's width (nothing is read past the data).
[[nodiscard]] std::string FormatValue(int type, std::span<const uint8_t> data, const NumberStyle& style);

// The text of the number editor field for a numeric record, or nullopt for other types and
// for data too short for the type.
[[nodiscard]] std::optional<std::string> EditorNumberText(int type, std::span<const uint8_t> data,
                                                          char localeMark);

// Tolerant reader of typed numbers; 0 for texts without a number, nullopt when the text
// cannot be converted (the caller reports a conversion error and changes nothing).
[[nodiscard]] std::optional<double> ParseNumberText(std::string_view text, char localeMark);

// Cuts (never rounds) a number text after the fifth digit behind its decimal mark.
[[nodiscard]] std::string LimitDecimals(std::string_view text);

// Float-to-integer truncation toward zero that is defined for every input: NaN gives 0,
// values beyond 64 bits saturate.
[[nodiscard]] int64_t TruncToInt64(long double value);

// Extended-precision scaling constants, shared with the encoder.
namespace Scale {
inline constexpr long double kM256 = 6.5025e-05;
inline constexpr long double kAng16 = 0.00182;
inline constexpr long double kAspd = 0.00128;
inline constexpr long double kPct16 = 163.84;
inline constexpr long double kMach = 0.2048;
inline constexpr long double kThrust = 13.671;
// A division by c is a multiplication by the extended-precision reciprocal of c.
inline constexpr long double Reciprocal(long double c) { return 1.0L / c; }
} // namespace Scale

} // namespace kelvara
