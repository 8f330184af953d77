#include "SavedImage.h"

#include <algorithm>

namespace kelvara {

void SavedImage::Clear() {
    // Give the memory back, not just the sizes.
    mRecords = {};
    mBytes = {};
}

void SavedImage::Take(const RecordTree& tree) {
    Clear();
    size_t bytes = 0;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        bytes += tree.Root(i)->record.data.size();
    }
    mRecords.reserve(tree.RootCount());
    mBytes.reserve(bytes);
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const RecordNode& root = *tree.Root(i);
        const std::vector<uint8_t>& data = root.record.data;
        mRecords.push_back({root.record.number, static_cast<uint32_t>(root.ChildCount()), mBytes.size(), data.size()});
        mBytes.insert(mBytes.end(), data.begin(), data.end());
    }
}

std::span<const uint8_t> SavedImage::FieldBytes(size_t record, size_t offset, size_t size) const {
    const std::span<const uint8_t> bytes = Bytes(record);
    offset = std::min(offset, bytes.size());
    return bytes.subspan(offset, std::min(size, bytes.size() - offset));
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
