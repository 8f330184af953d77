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

// Why a text is no number. Incomplete texts ("", "-", "1e") may still become one as the
// user types on; the others never will. NotWhole is the verdict of integer stores.
enum class NumberFault { None, Empty, Incomplete, NotANumber, TooLarge, NotWhole };

struct NumberReading {
    NumberFault fault = NumberFault::None;
    double value = 0;
    [[nodiscard]] bool Ok() const { return fault == NumberFault::None; }
};

// The one reader of typed and imported numbers: blanks around, an optional sign, digits with
// at most one decimal mark ("." or ","), an optional exponent, and nothing else. Values too
// small for a double read as the nearest one; NaN, infinity and overflow are refused.
[[nodiscard]] NumberReading ReadNumberText(std::string_view text);
[[nodiscard]] std::optional<double> ParseNumberText(std::string_view text);

// The shortest of the 15- and 17-significant-digit general texts that reads back as the same
// double, so that a written table reads back bit for bit.
[[nodiscard]] std::string FormatRoundTrip(double value, char mark);

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
