// The bytes of every record as last read or written, for "Revert record" and for telling when
// undo has brought the file back to that state. A copy of the whole tree would hold its nodes
// and captions twice; this keeps only the records' bytes, in one block. A field's saved bytes
// are those at its place in its record's.
#pragma once

#include "RecordTree.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kelvara {

class SavedImage {
public:
    // The tree as it is now is what is on disk.
    void Take(const RecordTree& tree);
    void Clear();

    // Same records in the same order with the same numbers and bytes (a record's bytes hold
    // its fields').
    [[nodiscard]] bool Matches(const RecordTree& tree) const;

    // The saved record that a top-level node stands for: the same record number, counted in
    // order, since cut and paste may have moved records around.
    [[nodiscard]] std::optional<size_t> Find(const RecordTree& tree, const RecordNode& root) const;
    [[nodiscard]] size_t FieldCount(size_t record) const { return mRecords[record].fieldCount; }
    [[nodiscard]] std::span<const uint8_t> Bytes(size_t record) const {
        return std::span<const uint8_t>(mBytes).subspan(mRecords[record].begin, mRecords[record].size);
    }
    // The saved bytes of a field at this offset and size in the record: fewer where the
    // record ends first.
    [[nodiscard]] std::span<const uint8_t> FieldBytes(size_t record, size_t offset, size_t size) const;

private:
    struct Record {
        uint32_t number;
        uint32_t fieldCount;
        size_t begin;
        size_t size;
    };

    std::vector<Record> mRecords;
    std::vector<uint8_t> mBytes;
};

} // namespace kelvara
