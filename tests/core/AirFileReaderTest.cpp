// Reading ".air" bytes into the record tree: order, captions, fields, damage. The tree's own
// nodes: their bytes, captions, children and reuse.
#include "AirFileReader.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordTree.h"
#include "SmallBytes.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>
#include <vector>

#include <sys/stat.h>

namespace kelvara {
namespace {

using namespace test;

const char* kDictionary =
    "[records]\n"
    "1001=Title,text\n"
    "1101=Wing area,float\n"
    "1204=Engine data,record\n"
    "1300=Flag,bool\n"
    "1400=Short one,int32\n"
    "[1204]\n"
    "1=Limits\n"
    "2=0x00,int16,Max RPM\n"
    "3=0x02,4,Spare\n"
    "4=0x06,int32,Past the end\n"
    "5=0x02,text,Note\n";

auto Fields(const ReadResult& r) {
    return std::tie(r.code, r.offset, r.message);
}

class Reader : public ::testing::Test {
protected:
    Reader() { mDictionary.LoadFromText(kDictionary); }

    ReadResult Read(const std::vector<uint8_t>& bytes, bool datatypes = true) {
        return ReadAirBytes(bytes, mDictionary, {datatypes, {'.', 1}}, mTree);
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> out;
        mTree.ForEach([&](RecordNode& node) { out.push_back(node.Caption()); });
        return out;
    }

    RecordDictionary mDictionary;
    RecordTree mTree;
};

// Unsigned order over the full 32-bit range; short data shows no value and is never read past.
TEST_F(Reader, RecordsSortedAndCaptioned) {
    const auto bytes = AirFileBuilder()
                           .Record(0x1300, Le32(1))
                           .Record(0xFFFFFFFF, {1})
                           .Record(0x1101, LeFloat(2.5f))
                           .Record(0x80000000, {2})
                           .Record(0x1001, test::TextBytes("Trainer"))
                           .Record(0x7FFFFFFF, {3})
                           .Record(0x1101, LeFloat(3.0f))
                           .Record(0x1400, {1, 2})
                           .Record(0x3E80, {9})
                           .Record(0x0005, {1, 2})
                           .Bytes();
    ASSERT_EQ(Read(bytes).code, 0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{
                              "    5 (????) ", " 1001 (TEXT) Title", " 1101 (FLOAT) Wing area, 2.5",
                              " 1101 (FLOAT) Wing area, 3", " 1300 (BOOL) Flag, TRUE", " 1400 (INT32) Short one",
                              " 3e80 (????) ", "7fffffff (????) ", "80000000 (????) ", "ffffffff (????) "}));
    for (const uint32_t number : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_TRUE(mTree.FindRecord(number) && mTree.FindRecord(number)->record.number == number) << number;
    }
    ASSERT_EQ(Read(bytes, false).code, 0);
    EXPECT_EQ(mTree.Root(0)->Caption(), "    5 ");
    EXPECT_EQ(mTree.Root(2)->Caption(), " 1101 Wing area, 2.5");
}

TEST_F(Reader, StructuredRecordSplitsIntoFields) {
    const auto bytes = AirFileBuilder().Record(0x1204, Concat({Le16(2400), {'a', 'b', 0, 0}})).Bytes();
    ASSERT_EQ(Read(bytes).code, 0);
    // A field reaching past its parent holds only the bytes that exist and shows no value.
    EXPECT_EQ(Captions(), (std::vector<std::string>{" 1204 (REC) Engine data", " Limits,  ",
                                                    " (INT16) Max RPM, 2400", " (????) Spare,  ",
                                                    " (INT32) Past the end,  ", " (TEXT) Note,  "}));
    const RecordNode& parent = *mTree.Root(0);
    // The text field holds the bytes up to its zero byte.
    EXPECT_EQ(std::tuple(parent.Child(2)->record.data, parent.Child(3)->record.data, parent.Child(4)->record.data),
              std::tuple(std::vector<uint8_t>{'a', 'b', 0, 0}, std::vector<uint8_t>{}, std::vector<uint8_t>{'a', 'b', 0}));
    EXPECT_EQ((std::pair<uint32_t, const RecordNode*>(parent.Child(2)->record.fileOffset, parent.Child(1)->Parent())),
              std::pair(parent.record.fileOffset + 2, &parent));
    ASSERT_EQ(Read(bytes, false).code, 0);
    EXPECT_EQ(mTree.Root(0)->Child(1)->Caption(), " Max RPM, 2400");
    // A load for saving as is keeps the record whole and makes no field nodes.
    ReadOptions whole;
    whole.fields = whole.captions = false;
    ASSERT_EQ(ReadAirBytes(bytes, mDictionary, whole, mTree).code, 0);
    EXPECT_EQ(std::pair(mTree.NodeCount(), mTree.Root(0)->record.data.ToVector()), std::pair(size_t{1}, Concat({Le16(2400), {'a', 'b', 0, 0}})));
}

TEST_F(Reader, MemoryIsBounded) {
    // Empty records cost far more in the tree than in the file; the bound refuses them.
    AirFileBuilder builder;
    for (int i = 0; i < 1000; ++i) {
        builder.Record(static_cast<uint32_t>(i), {});
    }
    ReadOptions options;
    options.memoryLimit = 10000;
    const ReadResult r = ReadAirBytes(builder.Bytes(), mDictionary, options, mTree);
    EXPECT_EQ(r.code, ReadResultCode::Damaged);
    EXPECT_TRUE(r.message.starts_with("record 0x") && r.message.find("more memory than") != std::string::npos) << r.message;
    size_t records = 0;
    EXPECT_EQ(CheckAirBytes(builder.Bytes(), mDictionary, options, records).message, r.message);
    options.memoryLimit = 1000000;
    EXPECT_EQ(ReadAirBytes(builder.Bytes(), mDictionary, options, mTree).code, ReadResultCode::Ok);
    EXPECT_EQ(std::pair(CheckAirBytes(builder.Bytes(), mDictionary, options, records).code, records),
              std::pair(ReadResultCode::Ok, size_t{1000}));
}

TEST_F(Reader, DamagedFilesAreRefusedAndTheTreeStays) {
    ASSERT_EQ(Read(AirFileBuilder().Record(0x1101, LeFloat(1)).Bytes()).code, 0);
    const auto good = AirFileBuilder().Record(0x1101, LeFloat(1)).Bytes();

    // bytes, offset of the damage, message
    const std::vector<std::tuple<std::vector<uint8_t>, uint64_t, std::string>> cases = {
        {Concat({good, {1, 2, 3}}), 12, "record header at byte 12 cut short: 3 of 8 bytes left"},
        {Concat({good, Le32(0x1101), Le32(250), {1, 2}}), 12,
         "record 0x1101 at byte 12: length 250 exceeds the 2 bytes left"},
        {Concat({Le32(7), Le32(-1)}), 0, "record 0x0007 at byte 0: length 4294967295 exceeds the 0 bytes left"},
    };
    for (const auto& [bytes, offset, message] : cases) {
        size_t records = 0; // the check without a tree says the same
        for (const ReadResult& r : {Read(bytes), CheckAirBytes(bytes, mDictionary, {}, records)}) {
            EXPECT_EQ(Fields(r), Fields({ReadResultCode::Damaged, offset, message}));
        }
        EXPECT_EQ(mTree.RootCount(), 1u);
    }
}

// Reading and checking a file stream it through a buffer; across and beyond the buffer's edges
// both must say exactly what the reader says of the same bytes in memory.
TEST_F(Reader, StreamedFileAgreesWithTheBytes) {
    // Headers straddling 64 KiB boundaries, and a record longer than the buffer to skip.
    AirFileBuilder many;
    for (uint32_t i = 0; i < 9000; ++i) {
        many.Record(0x1101 + i % 3, std::vector<uint8_t>(i % 13, static_cast<uint8_t>(i)));
    }
    many.Record(0x1204, std::vector<uint8_t>(200000, 7));
    many.Record(0x1300, Le32(1));
    const auto body = many.Bytes();
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"empty", {}},
        {"sound", body},
        {"header cut short after the long record", Concat({body, {1, 2, 3, 4, 5}})},
        {"length past the end", Concat({body, Le32(0x1101), Le32(70000), std::vector<uint8_t>(65536, 0)})},
        {"cut inside the long record", std::vector<uint8_t>(body.begin(), body.end() - 100)},
    };
    test::TempFolder folder;
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const std::string path = folder.File("c.air");
        test::WriteFile(path, bytes);
        const ReadResult expected = ReadAirBytes(bytes, mDictionary, {}, mTree);
        RecordTree tree;
        const ReadResult read = ReadAirFile(path, mDictionary, {}, tree);
        size_t records = 99;
        const ReadResult checked = CheckAirFile(path, mDictionary, {}, records);
        for (const ReadResult& r : {read, checked}) {
            EXPECT_EQ(Fields(r), Fields(expected));
        }
        if (expected.code == ReadResultCode::Ok) {
            EXPECT_EQ(records, mTree.RootCount());
            ASSERT_EQ(tree.NodeCount(), mTree.NodeCount());
            for (size_t i = 0; i < tree.RootCount(); ++i) {
                EXPECT_EQ(tree.Root(i)->record.data, mTree.Root(i)->record.data) << i;
                EXPECT_EQ(tree.Root(i)->Caption(), mTree.Root(i)->Caption()) << i;
            }
        }
    }
}

// Many records, numbers spread over all four bytes and repeated: ascending and unsigned, equal
// numbers in file order.
TEST(RecordTreeSort, OrdersLikeAStableSortOfTheNumbers) {
    RecordTree tree;
    std::vector<std::pair<uint32_t, uint32_t>> expected; // number, position in the file
    uint32_t seed = 12345;
    for (uint32_t i = 0; i < 5000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t number = (seed & 0xC0FF0F03u) | (i % 7 == 0 ? 0x80000000u : 0);
        auto node = std::make_unique<RecordNode>();
        node->record.number = number;
        node->record.offset = i;
        tree.AppendRoot(std::move(node));
        expected.emplace_back(number, i);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    tree.Sort();
    ASSERT_EQ(tree.RootCount(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(std::make_pair(tree.Root(i)->record.number, tree.Root(i)->record.offset), expected[i]) << i;
        ASSERT_EQ(tree.Root(i)->Row(), static_cast<int>(i));
    }
}

// Reading and checking refuse alike what is no regular file.
TEST_F(Reader, OnlyRegularFilesAreOpened) {
    ASSERT_EQ(Read({}).code, 0);
    EXPECT_TRUE(mTree.Empty());
    size_t records = 0;
    EXPECT_EQ(ReadAirFile("/nonexistent/x.air", mDictionary, {}, mTree).code, ReadResultCode::CannotOpen);
    EXPECT_EQ(CheckAirFile("/nonexistent/x.air", mDictionary, {}, records).code, ReadResultCode::CannotOpen);
    test::TempFolder folder;
    const std::string fifo = folder.File("fifo.air");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0); // opening it for reading would hang
    for (const std::string& path : {folder.Path(), fifo, std::string("/dev/null")}) {
        for (const ReadResult& r :
             {ReadAirFile(path, mDictionary, {}, mTree), CheckAirFile(path, mDictionary, {}, records)}) {
            EXPECT_EQ(Fields(r), Fields({ReadResultCode::CannotOpen, 0, path + " is not a regular file"}));
        }
    }
}

TEST(UpdateNodeCaption, ReplacesTheValue) {
    EXPECT_EQ(UpdateNodeCaption(" 1101 (FLOAT) Wing area, 2.5", "3"), " 1101 (FLOAT) Wing area, 3");
    EXPECT_EQ(UpdateNodeCaption(" 1101 (FLOAT) Wing area", "3"), " 1101 (FLOAT) Wing area, 3");
}

std::vector<uint8_t> Counting(size_t n, uint8_t from = 1) {
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), from);
    return bytes;
}

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
        EXPECT_EQ(std::tuple(parent.Child(i)->record.offset, parent.Child(i)->Row(), parent.Child(i)->Parent()),
                  std::tuple(i, static_cast<int>(i), &parent));
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

} // namespace
} // namespace kelvara
