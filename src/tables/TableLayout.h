// The byte layouts of the five table types and the rules that decide how much of a record
// can be shown. Every read and write stays inside the record's bytes.
#pragma once

#include "ValueEncoding.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelvara {

// How a table is read as curves: point pairs, a 16-bit array (plain or fixed point), or a
// matrix seen column by column ("tbl3d") or row by row ("tbl3d_2").
enum class CurveMode { PairTable, Word16Table, Fixed16Table, ColumnCurves, RowCurves };

// The curve mode a table type is shown in; nullopt for types that are no tables.
[[nodiscard]] std::optional<CurveMode> CurveModeOf(int type);

// "tbldb": a 32-bit point count N, then N pairs of doubles (X, Y).
inline constexpr size_t kPairBytes = 16;
// Valid when the record holds at least 12 bytes and all N pairs.
[[nodiscard]] bool IsValidTblDb(std::span<const uint8_t> data);
// The pairs that lie inside the record, whatever its count says.
[[nodiscard]] uint32_t TblDbPointsPresent(std::span<const uint8_t> data);

// Doubles of a "tbldb" that a 32-bit float cannot hold (overflow, infinity, NaN) are made 0.0,
// as the simulator reads them as floats. Returns how many were replaced.
int ZeroValuesBeyondFloat(std::span<uint8_t> data);

// "tbl3d"/"tbl3d_2": m columns and n rows (32 bits each), then m x n doubles column after
// column; element (a, b) lies at 8 + 8 (a n + b).
struct MatrixShape {
    uint32_t columns = 0;      // m as stored
    uint32_t rows = 0;         // n as stored
    uint32_t wholeColumns = 0; // columns whose n elements all lie inside the record

    [[nodiscard]] bool CutShort() const { return wholeColumns < columns; }
};
// nullopt when the record is too short for the two counts.
[[nodiscard]] std::optional<MatrixShape> ReadMatrixShape(std::span<const uint8_t> data);
// The element, or nullopt when it lies outside the whole columns.
[[nodiscard]] std::optional<double> MatrixElement(std::span<const uint8_t> data,
                                                  const MatrixShape& shape, uint32_t column,
                                                  uint32_t row);
bool SetMatrixElement(std::span<uint8_t> data, const MatrixShape& shape, uint32_t column,
                      uint32_t row, double value);
// Where the element lies in the record; nullopt outside the whole columns.
[[nodiscard]] std::optional<size_t> MatrixElementOffset(const MatrixShape& shape, uint32_t column,
                                                        uint32_t row);

// The 16-bit tables store the low 16 bits of the truncated value ("tbl16_2": value x 2048).
// Only the mouse, which clamps first, relies on the wrap.
[[nodiscard]] uint16_t Word16Bits(long double value);
[[nodiscard]] uint16_t Fixed16Bits(long double value);

// A typed or imported table value, read strictly and checked against what the table's
// element holds: pairs are read as floats by the simulator, "tbl16" holds whole numbers
// 0..65535, "tbl16_2" -16..32767/2048, a matrix any finite double.
struct TableValue {
    NumberFault fault = NumberFault::None;
    std::optional<RangeLimits> outside;
    double value = 0;
    [[nodiscard]] bool Ok() const { return fault == NumberFault::None && !outside; }
};
[[nodiscard]] TableValue ReadTableValue(CurveMode mode, std::string_view text, char mark);
// The refusal of a value that is not Ok, naming the reason or the range.
[[nodiscard]] std::string TableValueMessage(const TableValue& value, std::string_view text, bool german);
// The 16-bit pattern a checked value of a 16-bit table stores.
[[nodiscard]] uint16_t TableWordBits(CurveMode mode, double value);

} // namespace kelvara
