// What every record was as last read or written, for "Revert record" and for telling when
// undo has brought the file back to that state. Only a fingerprint per record is kept, not its
// bytes: a revert reads the record back from the file and checks it against the fingerprint.
#pragma once

#include "ByteHash.h"
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
    [[nodiscard]] size_t Count() const { return mRecords.size(); }
    [[nodiscard]] size_t FieldCount(size_t record) const { return mRecords[record].fieldCount; }
    // Whether a record (as read back from the file) is the one saved at this place.
    [[nodiscard]] bool Holds(size_t record, const AirRecord& candidate) const;

    // The bytes of a field at this offset and size in its record's bytes: fewer where the
    // record ends first.
    [[nodiscard]] static std::span<const uint8_t> FieldBytes(std::span<const uint8_t> record,
                                                             size_t offset, size_t size);

private:
    struct Record {
        uint32_t number;
        uint32_t fieldCount;
        ByteHash hash; // of the bytes and their count: a longer or shorter record differs

    };

    [[nodiscard]] static bool Same(const Record& saved, const AirRecord& record);

    std::vector<Record> mRecords;
};

} // namespace kelvara
