#include "RecordTree.h"
#include "SmallBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

using namespace kelvara;

namespace {

std::vector<uint8_t> Counting(size_t n, uint8_t from = 1) {
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), from);
    return bytes;
}

} // namespace

// Sizes on both sides of the inline room, and moves between them: the bytes are always the
// ones put in, whichever storage holds them.
TEST(SmallBytes, KeepsTheBytesAcrossTheInlineLimit) {
    constexpr size_t limit = SmallBytes::kInline;
    for (const size_t n : {size_t{0}, size_t{1}, limit - 1, limit, limit + 1, size_t{1000}}) {
        SCOPED_TRACE(n);
        const std::vector<uint8_t> bytes = Counting(n);
        std::vector<uint8_t> grown = bytes;
        grown.push_back(0xEE);
        SmallBytes held = bytes;
        EXPECT_EQ(held, bytes);
        EXPECT_EQ(held.empty(), n == 0);

        SmallBytes copy = held;
        copy.resize(n + 1, 0xEE); // the copy is its own: growing it leaves the original
        EXPECT_EQ(held, bytes);
        EXPECT_EQ(copy, grown);

        SmallBytes moved = std::move(copy);
        EXPECT_EQ(moved, grown);
        EXPECT_TRUE(copy.empty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
        copy = bytes;              // and usable again
        EXPECT_EQ(copy, bytes);

        // Assigned over storage of the other kind, both ways.
        SmallBytes small = Counting(3, 0x70);
        SmallBytes large = Counting(limit + 5, 0x80);
        small = held;
        large = held;
        EXPECT_EQ(small, bytes);
        EXPECT_EQ(large, bytes);
        large = std::move(moved);
        EXPECT_EQ(large, grown);
        EXPECT_EQ(held.ToVector(), bytes);
    }
}

TEST(SmallBytes, ResizeKeepsThePrefixAndFills) {
    SmallBytes bytes = Counting(10);
    bytes.resize(40, 0xAA); // inline to heap
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10), Counting(10));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xAA), 30);
    bytes.resize(4);
    EXPECT_EQ(bytes, Counting(4));
    bytes.resize(8); // grows again within what it has: the new bytes are zero, not the old ones
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3, 4, 0, 0, 0, 0}));
    bytes.assign(bytes.begin(), bytes.begin()); // to nothing
    EXPECT_TRUE(bytes.empty());
}

TEST(RecordNode, CaptionIsStoredOnlyWhenWritten) {
    RecordNode node;
    EXPECT_EQ(node.Caption(), "");
    node.SetCaption(" 1101 Wing area, 2.5");
    EXPECT_EQ(node.Caption(), " 1101 Wing area, 2.5");
    node.SetCaption(" 1101 Wing area, 3");
    EXPECT_EQ(node.Caption(), " 1101 Wing area, 3");
    node.SetCaption(""); // back to built captions
    EXPECT_EQ(node.Caption(), "");
}

// Children past several doublings of their list stay in order, with their rows and parent.
TEST(RecordNode, ChildrenKeepOrderRowsAndParent) {
    RecordNode parent;
    for (uint32_t i = 0; i < 37; ++i) {
        auto child = std::make_unique<RecordNode>();
        child->record.offset = i;
        EXPECT_EQ(parent.AppendChild(std::move(child))->record.offset, i);
    }
    ASSERT_EQ(parent.ChildCount(), 37u);
    for (size_t i = 0; i < parent.ChildCount(); ++i) {
        EXPECT_EQ(parent.Child(i)->record.offset, i);
        EXPECT_EQ(parent.Child(i)->Row(), static_cast<int>(i));
        EXPECT_EQ(parent.Child(i)->Parent(), &parent);
    }
}

// Nodes freed here and there are handed out again, past several blocks of them, and never two
// live nodes in one place.
TEST(RecordNode, FreedNodesAreReusedWithoutOverlap) {
    std::vector<std::unique_ptr<RecordNode>> nodes(2500);
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (!nodes[i]) {
                nodes[i] = std::make_unique<RecordNode>();
                nodes[i]->record.number = static_cast<uint32_t>(i);
            }
        }
        for (size_t i = 0; i < nodes.size(); ++i) {
            ASSERT_EQ(nodes[i]->record.number, i);
        }
        for (size_t i = round; i < nodes.size(); i += 2 + round) {
            nodes[i].reset();
        }
    }
}
