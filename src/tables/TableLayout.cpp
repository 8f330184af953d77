#include "TableLayout.h"

#include "ByteIO.h"
#include "DataType.h"
#include "ValueFormat.h"

#include <cmath>
#include <limits>

namespace kelvara {

std::optional<CurveMode> CurveModeOf(int type) {
    switch (type) {
    case DataType::TblDb:
        return CurveMode::PairTable;
    case DataType::Tbl16:
        return CurveMode::Word16Table;
    case DataType::Tbl16_2:
        return CurveMode::Fixed16Table;
    case DataType::Tbl3d:
        return CurveMode::ColumnCurves;
    case DataType::Tbl3d_2:
        return CurveMode::RowCurves;
    default:
        return std::nullopt;
    }
}

bool IsValidTblDb(std::span<const uint8_t> data) {
    const auto count = ReadLE<uint32_t>(data);
    return data.size() >= 12 && count && data.size() - 4 >= uint64_t{*count} * kPairBytes;
}

uint32_t TblDbPointsPresent(std::span<const uint8_t> data) {
    const auto count = ReadLE<uint32_t>(data);
    if (!count) {
        return 0;
    }
    const uint64_t room = (data.size() - 4) / kPairBytes;
    return static_cast<uint32_t>(std::min<uint64_t>(*count, room));
}

int ZeroValuesBeyondFloat(std::span<uint8_t> data) {
    const uint64_t values = uint64_t{TblDbPointsPresent(data)} * 2;
    int replaced = 0;
    for (uint64_t i = 0; i < values; ++i) {
        const size_t offset = 4 + 8 * i;
        const double v = ReadLE<double>(data, offset).value_or(0.0);
        if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) {
            WriteLE<double>(data, 0.0, offset);
            ++replaced;
        }
    }
    return replaced;
}

std::optional<MatrixShape> ReadMatrixShape(std::span<const uint8_t> data) {
    const auto m = ReadLE<uint32_t>(data, 0);
    const auto n = ReadLE<uint32_t>(data, 4);
    if (!m || !n) {
        return std::nullopt;
    }
    MatrixShape shape{*m, *n, 0};
    const uint64_t columnBytes = uint64_t{*n} * 8;
    const uint64_t room = data.size() - 8;
    // Without rows no cell exists, so no column counts as whole: walking a header's claim of
    // billions of empty columns would stall every reader of the shape.
    shape.wholeColumns = columnBytes == 0 ? 0
                                          : static_cast<uint32_t>(std::min<uint64_t>(*m, room / columnBytes));
    return shape;
}

std::optional<size_t> MatrixElementOffset(const MatrixShape& shape, uint32_t column, uint32_t row) {
    if (column >= shape.wholeColumns || row >= shape.rows) {
        return std::nullopt;
    }
    return static_cast<size_t>(8 + 8 * (uint64_t{column} * shape.rows + row));
}

std::optional<double> MatrixElement(std::span<const uint8_t> data, const MatrixShape& shape,
                                    uint32_t column, uint32_t row) {
    const auto offset = MatrixElementOffset(shape, column, row);
    return offset ? ReadLE<double>(data, *offset) : std::nullopt;
}

bool SetMatrixElement(std::span<uint8_t> data, const MatrixShape& shape, uint32_t column,
                      uint32_t row, double value) {
    const auto offset = MatrixElementOffset(shape, column, row);
    return offset && WriteLE<double>(data, value, *offset);
}

uint16_t Word16Bits(long double value) {
    return static_cast<uint16_t>(static_cast<uint64_t>(TruncToInt64(value)) & 0xFFFF);
}

uint16_t Fixed16Bits(long double value) {
    return Word16Bits(value * 2048.0L);
}

TableValue ReadTableValue(CurveMode mode, std::string_view text, char mark) {
    TableValue result;
    const NumberReading reading = ReadNumberText(text);
    if (!reading.Ok()) {
        result.fault = reading.fault;
        return result;
    }
    const double v = reading.value;
    result.value = v;
    switch (mode) {
    case CurveMode::PairTable: {
        constexpr double kMaxFloat = std::numeric_limits<float>::max();
        if (v > kMaxFloat || v < -kMaxFloat) {
            result.outside = RangeLimits{FormatGeneral(-kMaxFloat, mark), FormatGeneral(kMaxFloat, mark)};
        }
        break;
    }
    case CurveMode::Word16Table:
        if (v != std::trunc(v)) {
            result.fault = NumberFault::NotWhole;
        } else if (v < 0 || v > 65535) {
            result.outside = RangeLimits{"0", "65535"};
        }
        break;
    case CurveMode::Fixed16Table:
        if (v < -16 || v > 32767.0 / 2048.0) {
            result.outside = RangeLimits{"-16", FormatGeneral(32767.0 / 2048.0, mark)};
        }
        break;
    case CurveMode::ColumnCurves:
    case CurveMode::RowCurves:
        break;
    }
    return result;
}

std::string TableValueMessage(const TableValue& value, std::string_view text, bool german) {
    if (value.fault != NumberFault::None) {
        return ConversionErrorMessage(text, value.fault, german);
    }
    return value.outside ? RangeMessage(*value.outside, german) : std::string();
}

uint16_t TableWordBits(CurveMode mode, double value) {
    return mode == CurveMode::Fixed16Table ? Fixed16Bits(value) : Word16Bits(value);
}

} // namespace kelvara
