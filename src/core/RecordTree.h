// The loaded ".air" file in memory: one node per record, and under a structured record one
// node per field. The tree is the record store; the GUI shows it through a model.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "SmallBytes.h"

namespace kelvara {

struct AirRecord {
    uint32_t number = 0;       // as read; written back by the writer (records only)
    int32_t lookupNumber = -1; // dictionary key; -1 for a field, 0x7fffffff for numbers above it
    int32_t type = 18;
    uint32_t offset = 0;     // record: data position in the file; field: position in the parent
    uint32_t fileOffset = 0; // data position in the file
    // Narrow because a large file holds hundreds of thousands of these; the dictionary caps
    // layouts and field numbers well below the range.
    int16_t layout = -1;
    int16_t fieldNumber = -1;
    bool isField = false;
    SmallBytes data;

    [[nodiscard]] std::span<const uint8_t> Bytes() const { return {data.data(), data.size()}; }
    [[nodiscard]] std::span<uint8_t> Bytes() { return {data.data(), data.size()}; }
    // The bytes up to the first zero byte.
    [[nodiscard]] std::string Text() const;
    void SetData(std::vector<uint8_t> bytes);
};

class RecordNode {
public:
    AirRecord record;

    RecordNode() = default;
    RecordNode(const RecordNode&) = delete; // the stored caption belongs to this address
    RecordNode& operator=(const RecordNode&) = delete;
    ~RecordNode();
    // From slabs of nodes: a large file holds hundreds of thousands, and each allocation of its
    // own would cost a header.
    static void* operator new(size_t size);
    static void operator delete(void* node, size_t size);

    // The caption a value edit wrote, or empty: then the caption is built from the bytes.
    // Few nodes ever get one, so it is held in a table apart from the nodes.
    [[nodiscard]] const std::string& Caption() const;
    void SetCaption(std::string caption);

    [[nodiscard]] RecordNode* Parent() const { return mParent; }
    [[nodiscard]] int Row() const { return mRow; }
    [[nodiscard]] size_t ChildCount() const { return mChildCount; }
    [[nodiscard]] RecordNode* Child(size_t i) const { return mChildren[i].get(); }
    RecordNode* AppendChild(std::unique_ptr<RecordNode> child);

private:
    friend class RecordTree;
    static constexpr uint32_t kMaxChildren = (uint32_t{1} << 31) - 1;
    RecordNode* mParent = nullptr;
    int32_t mRow = 0;
    // Capacity is the next power of two from the count: no capacity field, and no list at all
    // for the fields, which are most of the nodes.
    uint32_t mChildCount : 31 = 0;
    uint32_t mHasCaption : 1 = 0;
    std::unique_ptr<std::unique_ptr<RecordNode>[]> mChildren;
};

// -1, 0 or 1: records by ascending unsigned record number; a field compares equal to
// everything, and a record is above a field.
[[nodiscard]] int CompareRecordNodes(const RecordNode& a, const RecordNode& b);

class RecordTree {
public:
    [[nodiscard]] size_t RootCount() const { return mRoots.size(); }
    [[nodiscard]] RecordNode* Root(size_t i) const { return mRoots[i].get(); }
    [[nodiscard]] bool Empty() const { return mRoots.empty(); }
    RecordNode* AppendRoot(std::unique_ptr<RecordNode> node);
    RecordNode* InsertRoot(size_t index, std::unique_ptr<RecordNode> node);
    std::unique_ptr<RecordNode> TakeRoot(size_t index);
    void Clear() { mRoots.clear(); }

    // Stable sort by CompareRecordNodes: records ascending, fields in field order.
    void Sort();

    // Every node in tree order: each record followed by its fields.
    void ForEach(const std::function<void(RecordNode&)>& visit) const;
    [[nodiscard]] size_t NodeCount() const;

    // The first record in tree order with this record number (0 to 0xffffffff), or nullptr.
    [[nodiscard]] RecordNode* FindRecord(int64_t number) const;

private:
    void Renumber(size_t from);
    std::vector<std::unique_ptr<RecordNode>> mRoots;
};

} // namespace kelvara
