// Copy, cut and paste of whole records, within a file and from one file into another.
#include "AirFileReader.h"
#include "RecordClipboard.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace test;

const char* kDictionary = "[records]\n0100=Rpm,int16\n0200=Engine,record\n0300=Flaps,int16\n"
                          "[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n3=0x04,int16,Limit\n";

class Clipboard : public ::testing::Test {
protected:
    Clipboard() { mDictionary.LoadFromText(kDictionary); }

    std::unique_ptr<RecordTree> Load(const AirFileBuilder& file) {
        auto tree = std::make_unique<RecordTree>();
        EXPECT_EQ(ReadAirBytes(file.Bytes(), mDictionary, {}, *tree).code, ReadResultCode::Ok);
        return tree;
    }
    static std::vector<int32_t> Numbers(const RecordTree& tree) { // fields show as -1
        std::vector<int32_t> numbers;
        tree.ForEach([&](RecordNode& node) { numbers.push_back(node.record.lookupNumber); });
        return numbers;
    }

    RecordDictionary mDictionary;
    RecordClipboard mClipboard;
};

const std::vector<uint8_t> kEngine = Concat({Le16(700), Le16(2400), Le16(2700)});

TEST_F(Clipboard, PasteIntoTheSameFileReplacesTheRecordAndLeavesOneNode) {
    auto tree = Load(AirFileBuilder().Record(0x100, Le16(5)).Record(0x300, Le16(9)));
    PlainRootEditor editor(*tree);
    EXPECT_EQ(mClipboard.PasteRecord(editor), nullptr); // nothing copied yet
    ASSERT_TRUE(mClipboard.CopyRecord(*tree->Root(0)));
    ASSERT_EQ(ReplaceRecordBytes(*tree->Root(0), Le16(6)).status, EditStatus::Ok);
    for (int paste = 0; paste < 2; ++paste) {
        const RecordNode* pasted = mClipboard.PasteRecord(editor);
        EXPECT_EQ(pasted, tree->Root(0));
        EXPECT_EQ(Numbers(*tree), (std::vector<int32_t>{0x100, 0x300}));
    }
    EXPECT_EQ(tree->Root(0)->record.data, Le16(5));
    // The pasted node owns its bytes: editing it leaves the clipboard's copy alone.
    ASSERT_EQ(ReplaceRecordBytes(*tree->Root(0), Le16(7)).status, EditStatus::Ok);
    EXPECT_EQ(mClipboard.Entries().front().record.data, Le16(5));
}

TEST_F(Clipboard, StructuredRecordSortsIntoAnotherFileWithItsFields) {
    auto source = Load(AirFileBuilder().Record(0x200, kEngine));
    auto target = Load(AirFileBuilder().Record(0x300, Le16(1)).Record(0x100, Le16(2)));
    ASSERT_EQ(source->Root(0)->ChildCount(), 3u);
    ASSERT_TRUE(mClipboard.CopyRecord(*source->Root(0)));
    EXPECT_FALSE(mClipboard.CopyRecord(*source->Root(0)->Child(1))); // a field alone is refused
    EXPECT_EQ(mClipboard.Entries().size(), 4u);

    PlainRootEditor editor(*target);
    RecordNode* pasted = mClipboard.PasteRecord(editor);
    EXPECT_EQ(Numbers(*target), (std::vector<int32_t>{0x100, 0x200, -1, -1, -1, 0x300}));
    EXPECT_EQ(pasted->Child(2)->Caption(), source->Root(0)->Child(2)->Caption());
    // A field edit reaches the pasted parent, not the source file.
    ASSERT_EQ(ReplaceRecordBytes(*pasted->Child(2), Le16(3000)).status, EditStatus::Ok);
    EXPECT_EQ(pasted->record.data, Concat({Le16(700), Le16(2400), Le16(3000)}));
    EXPECT_EQ(source->Root(0)->record.data, kEngine);
}

TEST_F(Clipboard, CutPasteAndCloseLeaveNothingDangling) {
    auto source = Load(AirFileBuilder().Record(0x100, Le16(5)).Record(0x200, kEngine));
    PlainRootEditor sourceEditor(*source);
    ASSERT_NE(mClipboard.CutRecord(sourceEditor, *source->Root(1)), nullptr); // released at once
    EXPECT_EQ(Numbers(*source), std::vector<int32_t>{0x100});
    source.reset(); // the first file is closed

    auto target = Load(AirFileBuilder().Record(0x300, Le16(1)));
    PlainRootEditor targetEditor(*target);
    ASSERT_NE(mClipboard.PasteRecord(targetEditor), nullptr);
    target->Clear(); // and the second one too

    auto again = Load(AirFileBuilder().Record(0x200, Le16(0)).Record(0x200, Le16(1)));
    PlainRootEditor againEditor(*again);
    const RecordNode* pasted = mClipboard.PasteRecord(againEditor); // both older copies go
    EXPECT_EQ(Numbers(*again), (std::vector<int32_t>{0x200, -1, -1, -1}));
    EXPECT_EQ(pasted->Child(2)->record.data, Le16(2700));
}

} // namespace
} // namespace kelvara
