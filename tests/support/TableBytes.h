// Table records built from values.
#pragma once

#include "AirFileBuilder.h"
#include "DataType.h"
#include "RecordTree.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kelvara::test {

using Bytes = std::vector<uint8_t>;

inline Bytes PairTable(const std::vector<std::pair<double, double>>& points) {
    Bytes out = Le32(static_cast<int32_t>(points.size()));
    for (const auto& [x, y] : points) {
        out = Concat({out, LeDouble(x), LeDouble(y)});
    }
    return out;
}

inline Bytes WordTable(const std::vector<int>& values) {
    Bytes out;
    for (int v : values) {
        out = Concat({out, Le16(static_cast<int16_t>(v))});
    }
    return out;
}

// m columns, n rows, element (a, b) = value(a, b), stored column after column.
inline Bytes Matrix(uint32_t m, uint32_t n, const std::function<double(uint32_t, uint32_t)>& value) {
    Bytes out = Concat({Le32(static_cast<int32_t>(m)), Le32(static_cast<int32_t>(n))});
    for (uint32_t a = 0; a < m; ++a) {
        for (uint32_t b = 0; b < n; ++b) {
            out = Concat({out, LeDouble(value(a, b))});
        }
    }
    return out;
}

// Keys a (column) and b (row) are 10 a and b; values are 100 a + b.
inline double KeyedValue(uint32_t a, uint32_t b) {
    return a == 0 ? b : b == 0 ? 10.0 * a : 100.0 * a + b;
}

inline std::unique_ptr<RecordNode> TableNode(int type, Bytes bytes, uint32_t number = 0x1503) {
    auto node = std::make_unique<RecordNode>();
    node->record.type = type;
    node->record.number = number;
    node->record.lookupNumber = static_cast<int32_t>(number);
    node->record.SetData(std::move(bytes));
    return node;
}

inline double ReadDouble(std::span<const uint8_t> bytes, size_t offset) {
    double v;
    std::memcpy(&v, bytes.data() + offset, 8);
    return v;
}

} // namespace kelvara::test
