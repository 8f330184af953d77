#include "SavedImage.h"

#include <algorithm>

namespace kelvara {

void SavedImage::Clear() {
    // Give the memory back, not just the size.
    mRecords = {};
}

void SavedImage::Take(const RecordTree& tree) {
    Clear();
    mRecords.reserve(tree.RootCount());
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const RecordNode& root = *tree.Root(i);
        const std::span<const uint8_t> data = root.record.Bytes();
        mRecords.push_back({root.record.number, static_cast<uint32_t>(root.ChildCount()), HashBytes(data)});
    }
}

bool SavedImage::Same(const Record& saved, const AirRecord& record) {
    // Number first: most differences show there without hashing.
    return record.number == saved.number && HashBytes(record.data) == saved.hash;
}

std::span<const uint8_t> SavedImage::FieldBytes(std::span<const uint8_t> record, size_t offset,
                                                size_t size) {
    offset = std::min(offset, record.size());
    return record.subspan(offset, std::min(size, record.size() - offset));
}

bool SavedImage::Matches(const RecordTree& tree) const {
    if (tree.RootCount() != mRecords.size()) {
        return false;
    }
    for (size_t i = 0; i < mRecords.size(); ++i) {
        if (!Same(mRecords[i], tree.Root(i)->record)) {
            return false;
        }
    }
    return true;
}

bool SavedImage::Holds(size_t record, const AirRecord& candidate) const {
    return record < mRecords.size() && Same(mRecords[record], candidate);
}

std::optional<size_t> SavedImage::Find(const RecordTree& tree, const RecordNode& root) const {
    size_t occurrence = 0;
    for (size_t i = 0; i < tree.RootCount() && tree.Root(i) != &root; ++i) {
        occurrence += tree.Root(i)->record.number == root.record.number ? 1 : 0;
    }
    for (size_t i = 0; i < mRecords.size(); ++i) {
        if (mRecords[i].number == root.record.number && occurrence-- == 0) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace kelvara
