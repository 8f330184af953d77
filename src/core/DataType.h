// The closed set of value type codes of ".air" records, their dictionary keywords,
// field widths and the tags shown in record tree captions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara {

namespace DataType {
inline constexpr int Text = 1;
inline constexpr int Int16 = 2;
inline constexpr int Int32 = 3;
inline constexpr int Bool = 4;
inline constexpr int Double = 5;
inline constexpr int TblDb = 6;
inline constexpr int Tbl16 = 7;
inline constexpr int Tbl3d = 8;
inline constexpr int Record = 9;
inline constexpr int Float = 10;
inline constexpr int Int8 = 11;
inline constexpr int M256 = 12;
inline constexpr int Ang16 = 13;
inline constexpr int Aspd = 14;
inline constexpr int Pct16 = 15;
inline constexpr int Fwgt = 16;
inline constexpr int Mach = 17;
inline constexpr int Unknown = 18;
inline constexpr int Prpm = 19;
inline constexpr int Thrust = 20;
inline constexpr int Int16_2 = 21;
inline constexpr int Int32_2 = 22;
inline constexpr int Tbl16_2 = 23;
inline constexpr int Tbl3d_2 = 24;
inline constexpr int G16 = 25;
inline constexpr int Int16_8 = 26;

// Field-only codes of a record layout.
inline constexpr int Label = -3;
inline constexpr int Undefined = -2;
inline constexpr int RawBlockBase = 1000;
} // namespace DataType

[[nodiscard]] bool IsRawBlock(int type);
[[nodiscard]] bool IsTableType(int type);

// Keyword of a code 1..26 ("ang16"), or empty for any other code.
[[nodiscard]] std::string_view DataTypeKeyword(int type);

// Keyword lookups; the keyword must already be lower-cased.
[[nodiscard]] std::optional<int> RecordTypeFromKeyword(std::string_view keyword);
[[nodiscard]] std::optional<int> FieldTypeFromKeyword(std::string_view keyword);

// Bytes a value of this type occupies (1, 2, 4 or 8), or 0 where no fixed width exists.
[[nodiscard]] int FixedWidth(int type);

// "(ANG16) " for a record caption, " (ANG16) " for a field caption.
[[nodiscard]] std::string_view RecordTag(int type);
[[nodiscard]] std::string FieldTag(int type);

} // namespace kelvara
