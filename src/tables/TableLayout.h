// The byte layouts of the five table types and the rules that decide how much of a record
// can be shown. Every read and write stays inside the record's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

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
[[nodiscard]] uint16_t Word16Bits(long double value);
[[nodiscard]] uint16_t Fixed16Bits(long double value);

} // namespace kelvara
