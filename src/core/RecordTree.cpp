#include "RecordTree.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace kelvara {

std::string AirRecord::Text() const {
    const auto zero = std::find(data.begin(), data.end(), uint8_t{0});
    return std::string(data.begin(), zero);
}

void AirRecord::SetData(std::vector<uint8_t> bytes) {
    data = bytes;
}

namespace {

// The stored captions of all nodes, by node. Never destroyed, so that a node that outlives the
// statics can still be freed.
struct CaptionTable {
    std::mutex lock;
    std::unordered_map<const RecordNode*, std::string> captions;
};

CaptionTable& Captions() {
    static auto* table = new CaptionTable;
    return *table;
}

// Nodes carved from large blocks, with a list of the freed ones to hand out first. The blocks
// are kept for the next nodes, as the C library would keep most of them too.
class NodePool {
public:
    void* Get() {
        const std::lock_guard hold(mLock);
        if (mFreed) {
            return std::exchange(mFreed, mFreed->next);
        }
        if (mUsed == kNodesPerBlock) {
            mBlocks.push_back(std::make_unique_for_overwrite<Slot[]>(kNodesPerBlock));
            mUsed = 0;
        }
        return &mBlocks.back()[mUsed++];
    }
    void Put(void* node) {
        const std::lock_guard hold(mLock);
        mFreed = ::new (node) Slot{mFreed};
    }

private:
    union Slot {
        Slot* next;
        alignas(RecordNode) unsigned char node[sizeof(RecordNode)];
    };
    static constexpr size_t kNodesPerBlock = 1024;
    std::mutex mLock;
    std::vector<std::unique_ptr<Slot[]>> mBlocks;
    size_t mUsed = kNodesPerBlock;
    Slot* mFreed = nullptr;
};

// The sanitizers see every node as an allocation of its own, so that they catch a freed one
// being used.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

NodePool& Pool() {
    static auto* pool = new NodePool; // never destroyed, like the captions
    return *pool;
}

} // namespace

void* RecordNode::operator new(size_t size) {
    return kPooled && size == sizeof(RecordNode) ? Pool().Get() : ::operator new(size);
}

void RecordNode::operator delete(void* node, size_t size) {
    if (kPooled && size == sizeof(RecordNode)) {
        Pool().Put(node);
    } else {
        ::operator delete(node);
    }
}

RecordNode::~RecordNode() {
    if (mHasCaption) {
        CaptionTable& table = Captions();
        const std::lock_guard hold(table.lock);
        table.captions.erase(this);
    }
}

const std::string& RecordNode::Caption() const {
    static const std::string none;
    if (!mHasCaption) {
        return none;
    }
    CaptionTable& table = Captions();
    const std::lock_guard hold(table.lock);
    return table.captions.find(this)->second; // the string stays put while others are added
}

void RecordNode::SetCaption(std::string caption) {
    if (caption.empty() && !mHasCaption) {
        return;
    }
    CaptionTable& table = Captions();
    const std::lock_guard hold(table.lock);
    mHasCaption = !caption.empty();
    if (mHasCaption) {
        table.captions.insert_or_assign(this, std::move(caption));
    } else {
        table.captions.erase(this);
    }
}

RecordNode* RecordNode::AppendChild(std::unique_ptr<RecordNode> child) {
    if (mChildCount == kMaxChildren) {
        throw std::length_error("too many children");
    }
    if ((mChildCount & (mChildCount - 1)) == 0) { // 0 or a power of two: the list is full
        const size_t capacity = mChildCount == 0 ? 1 : size_t{2} * mChildCount;
        auto grown = std::make_unique<std::unique_ptr<RecordNode>[]>(capacity);
        for (uint32_t i = 0; i < mChildCount; ++i) {
            grown[i] = std::move(mChildren[i]);
        }
        mChildren = std::move(grown);
    }
    child->mParent = this;
    child->mRow = static_cast<int32_t>(mChildCount);
    RecordNode* raw = child.get();
    mChildren[mChildCount++] = std::move(child);
    return raw;
}

int CompareRecordNodes(const RecordNode& a, const RecordNode& b) {
    if (a.record.isField) {
        return 0;
    }
    if (b.record.isField) {
        return 1;
    }
    // The full unsigned number: numbers from 0x80000000 up sort after 0x7fffffff.
    if (a.record.number < b.record.number) {
        return -1;
    }
    return a.record.number > b.record.number ? 1 : 0;
}

RecordNode* RecordTree::AppendRoot(std::unique_ptr<RecordNode> node) {
    return InsertRoot(mRoots.size(), std::move(node));
}

RecordNode* RecordTree::InsertRoot(size_t index, std::unique_ptr<RecordNode> node) {
    index = std::min(index, mRoots.size());
    node->mParent = nullptr;
    RecordNode* raw = node.get();
    mRoots.insert(mRoots.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    Renumber(index);
    return raw;
}

std::unique_ptr<RecordNode> RecordTree::TakeRoot(size_t index) {
    std::unique_ptr<RecordNode> node = std::move(mRoots.at(index));
    mRoots.erase(mRoots.begin() + static_cast<std::ptrdiff_t>(index));
    Renumber(index);
    return node;
}

void RecordTree::Sort() {
    // Children of a structured record are all fields and compare equal, so only the
    // top level can change order.
    const bool fieldAtTop = std::any_of(mRoots.begin(), mRoots.end(), [](const auto& n) { return n->record.isField; });
    if (fieldAtTop) {
        std::stable_sort(mRoots.begin(), mRoots.end(),
                         [](const auto& a, const auto& b) { return CompareRecordNodes(*a, *b) < 0; });
    } else {
        // A stable radix sort on the numbers, a byte at a time: several times faster on a large
        // file than comparing, which chased each node's pointer.
        std::vector<uint32_t> numbers(mRoots.size());
        for (size_t i = 0; i < mRoots.size(); ++i) {
            numbers[i] = mRoots[i]->record.number;
        }
        std::vector<size_t> order(mRoots.size());
        std::vector<size_t> next(mRoots.size());
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        for (int shift = 0; shift < 32; shift += 8) {
            std::array<size_t, 257> start{};
            for (const uint32_t number : numbers) {
                ++start[((number >> shift) & 0xFF) + 1];
            }
            for (size_t b = 1; b < start.size(); ++b) {
                start[b] += start[b - 1];
            }
            for (const size_t i : order) {
                next[start[(numbers[i] >> shift) & 0xFF]++] = i;
            }
            order.swap(next);
        }
        std::vector<std::unique_ptr<RecordNode>> sorted;
        sorted.reserve(mRoots.size());
        for (const size_t i : order) {
            sorted.push_back(std::move(mRoots[i]));
        }
        mRoots = std::move(sorted);
    }
    Renumber(0);
}

void RecordTree::Renumber(size_t from) {
    for (size_t i = from; i < mRoots.size(); ++i) {
        mRoots[i]->mRow = static_cast<int>(i);
    }
}

void RecordTree::ForEach(const std::function<void(RecordNode&)>& visit) const {
    for (const auto& root : mRoots) {
        visit(*root);
        for (size_t i = 0; i < root->mChildCount; ++i) {
            visit(*root->mChildren[i]);
        }
    }
}

size_t RecordTree::NodeCount() const {
    size_t count = mRoots.size();
    for (const auto& root : mRoots) {
        count += root->mChildCount;
    }
    return count;
}

RecordNode* RecordTree::FindRecord(int64_t number) const {
    for (const auto& root : mRoots) {
        if (static_cast<int64_t>(root->record.number) == number) {
            return root.get();
        }
    }
    return nullptr;
}

} // namespace kelvara
