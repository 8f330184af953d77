// The bytes of every record and field as last read or written, for "Revert record" and for
// telling when undo has brought the file back to that state. A copy of the whole tree would
// hold its nodes and captions twice; this keeps only the bytes, in one block.
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
    [[nodiscard]] std::span<const uint8_t> Bytes(size_t record) const { return Piece(mRecords[record].first); }
    [[nodiscard]] std::span<const uint8_t> FieldBytes(size_t record, size_t field) const {
        return Piece(mRecords[record].first + 1 + field);
    }

private:
    struct Record {
        uint32_t number;
        uint32_t fieldCount;
        size_t first; // index of the record's piece; its fields' pieces follow
    };
    struct Span {
        size_t begin;
        size_t size;
    };
    [[nodiscard]] std::span<const uint8_t> Piece(size_t i) const {
        return std::span<const uint8_t>(mBytes).subspan(mPieces[i].begin, mPieces[i].size);
    }
    void Add(const AirRecord& record);

    std::vector<Record> mRecords;
    std::vector<Span> mPieces;
    std::vector<uint8_t> mBytes;
};

} // namespace kelvara
