// What differs between two loaded flight-model files, record by record, in the units the
// record view shows: for the command line's "diff" and the compare view in the window.
#pragma once

#include "NumberStyle.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvara {

class RecordDictionary;
class RecordNode;
class RecordTree;

enum class DiffKind {
    OnlyInA,
    OnlyInB,
    Value,  // a single value: oldText, newText
    Fields, // a structured record: fields
    Table,  // a table: differingPoints of pointCount, the first few in points
    Bytes,  // anything else: differingBytes of byteCount
};

struct ValueChange {
    std::string what; // field name, or where in a table ("point 3", "column 2, row 1")
    std::string oldText;
    std::string newText;
    bool isText = false; // texts of a text field, which may hold any byte
};

struct RecordDifference {
    // Bytes: points holds one change, the differing bytes in hex.
    DiffKind kind = DiffKind::Bytes;
    int32_t lookupNumber = -1;
    std::string name;
    std::string oldText;
    std::string newText;
    std::vector<ValueChange> fields;
    std::vector<ValueChange> points;
    size_t differingPoints = 0;
    size_t pointCount = 0;
    size_t differingBytes = 0;
    size_t byteCount = 0;
    // How often the record number occurs in each file: a record left unpaired is then
    // reported as a repeated number rather than as missing.
    size_t countInA = 0;
    size_t countInB = 0;
    // The records compared (null on the side that lacks it); valid while the trees are.
    const RecordNode* a = nullptr;
    const RecordNode* b = nullptr;
};

// Table differences listed beyond the count.
inline constexpr size_t kShownTablePoints = 5;
// Shown for a field or table point that one side lacks.
inline constexpr const char* kAbsentValue = "(none)";

// Records are paired by number (the n-th of a number in A with the n-th in B) and listed in
// record order; records with equal bytes are left out.
[[nodiscard]] std::vector<RecordDifference> DiffRecords(const RecordTree& a, const RecordTree& b,
                                                        const RecordDictionary& dictionary,
                                                        const NumberStyle& style);

// Bytes as "0A FF 00"; past limit bytes the text ends in "…".
[[nodiscard]] std::string HexBytesText(std::span<const uint8_t> bytes, size_t limit = SIZE_MAX);

// One difference as the lines "kelvara-cli diff" prints, each ending in a line break.
// textRecord: the values are texts, shown quoted with control bytes escaped.
[[nodiscard]] std::string DifferenceText(const RecordDifference& difference, bool textRecord);

} // namespace kelvara
