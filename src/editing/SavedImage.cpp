#include "SavedImage.h"

#include <algorithm>

namespace kelvara {

void SavedImage::Clear() {
    // Give the memory back, not just the sizes.
    mRecords = {};
    mPieces = {};
    mBytes = {};
}

void SavedImage::Add(const AirRecord& record) {
    mPieces.push_back({mBytes.size(), record.data.size()});
    mBytes.insert(mBytes.end(), record.data.begin(), record.data.end());
}

void SavedImage::Take(const RecordTree& tree) {
    Clear();
    size_t bytes = 0;
    size_t pieces = 0;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const RecordNode& root = *tree.Root(i);
        bytes += root.record.data.size();
        pieces += 1 + root.ChildCount();
        for (size_t f = 0; f < root.ChildCount(); ++f) {
            bytes += root.Child(f)->record.data.size();
        }
    }
    mRecords.reserve(tree.RootCount());
    mPieces.reserve(pieces);
    mBytes.reserve(bytes);
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const RecordNode& root = *tree.Root(i);
        mRecords.push_back({root.record.number, static_cast<uint32_t>(root.ChildCount()), mPieces.size()});
        Add(root.record);
        for (size_t f = 0; f < root.ChildCount(); ++f) {
            Add(root.Child(f)->record);
        }
    }
}

bool SavedImage::Matches(const RecordTree& tree) const {
    if (tree.RootCount() != mRecords.size()) {
        return false;
    }
    for (size_t i = 0; i < mRecords.size(); ++i) {
        const AirRecord& record = tree.Root(i)->record;
        const std::span<const uint8_t> saved = Bytes(i);
        if (record.number != mRecords[i].number ||
            !std::equal(record.data.begin(), record.data.end(), saved.begin(), saved.end())) {
            return false;
        }
    }
    return true;
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
