// Undo and redo over every kind of edit: the bytes of the whole tree and the saved state.
#include "AirFileReader.h"
#include "EditHistory.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvara {
namespace {

using namespace test;

const char* kDictionary = "[records]\n0100=Rpm,int16\n0110=On,bool\n0120=Name,text\n"
                          "0200=Engine,record\n0300=Lift,tbldb\n"
                          "[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n";

// Every node's record number and bytes in tree order: equal only when nothing differs.
using TreeBytes = std::vector<std::pair<int32_t, std::vector<uint8_t>>>;
TreeBytes BytesOf(const RecordTree& tree) {
    TreeBytes out;
    tree.ForEach([&](RecordNode& node) {
        out.emplace_back(node.record.lookupNumber, node.record.data);
    });
    return out;
}

class History : public ::testing::Test {
public:
    History() {
        mDictionary.LoadFromText(kDictionary);
        const auto file = AirFileBuilder()
                              .Record(0x100, Le16(5))
                              .Record(0x110, Le32(0))
                              .Record(0x120, TextBytes("Cub"))
                              .Record(0x200, Concat({Le16(700), Le16(2400)}))
                              .Record(0x300, Concat({Le32(2), LeDouble(0), LeDouble(1), LeDouble(5), LeDouble(2)}));
        EXPECT_EQ(ReadAirBytes(file.Bytes(), mDictionary, {}, mTree).code, ReadResultCode::Ok);
        mHistory.Attach();
    }
    RecordNode& Find(int number) { return *mTree.FindRecord(number); }

    RecordDictionary mDictionary;
    RecordTree mTree;
    PlainRootEditor mEditor{mTree};
    EditHistory mHistory{mEditor};
    RecordClipboard mClipboard;
};

TEST_F(History, EveryKindOfEditUndoesAndRedoesExactly) {
    const auto bytes = [](RecordNode& node, std::vector<uint8_t> data) {
        ASSERT_EQ(ReplaceRecordBytes(node, std::move(data)).status, EditStatus::Ok);
    };
    // Each edit is one undo step.
    const std::pair<const char*, std::function<void(History&)>> rows[] = {
        {"typed number", [](History& h) { ApplyNumberEdit(h.Find(0x100), "77", '.'); }},
        {"truth value", [](History& h) { ApplyBoolEdit(h.Find(0x110), true); }},
        {"text, longer", [](History& h) { ApplyTextEdit(h.Find(0x120), "Cub Special"); }},
        {"hex edit", [&](History& h) { bytes(h.Find(0x100), {0x1c, 0x00}); }},
        {"field reaches its parent", [](History& h) { ApplyNumberEdit(*h.Find(0x200).Child(1), "2500", '.'); }},
        {"whole drag is one step",
         [&](History& h) {
             h.mHistory.BeginStep();
             for (double y : {5.5, 6.0, 7.25}) {
                 std::vector<uint8_t> data = h.Find(0x300).record.data.ToVector();
                 const auto value = LeDouble(y);
                 std::copy(value.begin(), value.end(), data.begin() + 20);
                 bytes(h.Find(0x300), data);
             }
             h.mHistory.EndStep();
         }},
        {"table import: the whole record at once",
         [&](History& h) { bytes(h.Find(0x300), std::vector<uint8_t>(36, 1)); }},
        {"cut",
         [](History& h) { ASSERT_NE(h.mClipboard.CutRecord(h.mHistory.Structure(), h.Find(0x200)), nullptr); }},
        {"paste from another file is one step",
         [&](History& h) {
             RecordTree other;
             RecordNode* engine = other.AppendRoot(CloneNode(h.Find(0x200)));
             bytes(*engine, {1, 2, 3, 4});
             ASSERT_TRUE(h.mClipboard.CopyRecord(*engine));
             h.mHistory.BeginStep();
             ASSERT_NE(h.mClipboard.PasteRecord(h.mHistory.Structure()), nullptr);
             h.mHistory.EndStep();
         }},
        {"two records in one step",
         [&](History& h) {
             h.mHistory.BeginStep();
             bytes(h.Find(0x100), Le16(1));
             bytes(h.Find(0x110), Le16(1));
             h.mHistory.EndStep();
         }}};
    for (const auto& [what, edit] : rows) {
        SCOPED_TRACE(what);
        mHistory.Clear();
        const TreeBytes before = BytesOf(mTree);
        edit(*this);
        const TreeBytes after = BytesOf(mTree);
        ASSERT_NE(after, before);
        EXPECT_EQ(mHistory.StepCount(), 1u);
        EXPECT_FALSE(mHistory.AtSavedState());
        mHistory.Undo();
        EXPECT_EQ(BytesOf(mTree), before);
        EXPECT_TRUE(mHistory.AtSavedState());
        EXPECT_FALSE(mHistory.Undo());
        mHistory.Redo();
        EXPECT_EQ(BytesOf(mTree), after);
        EXPECT_FALSE(mHistory.AtSavedState());
        EXPECT_FALSE(mHistory.Redo());
        mHistory.Undo(); // back to the loaded state for the next row
    }
}

TEST_F(History, SavedStateAndRedoFollowTheUsualRules) {
    ApplyNumberEdit(Find(0x100), "1", '.');
    mHistory.MarkSaved();
    ApplyNumberEdit(Find(0x100), "2", '.');
    EXPECT_FALSE(mHistory.AtSavedState());
    mHistory.Undo();
    EXPECT_TRUE(mHistory.AtSavedState()); // undo back to what is on disk
    mHistory.Undo();
    EXPECT_FALSE(mHistory.AtSavedState()); // undo past it
    ApplyNumberEdit(Find(0x100), "3", '.'); // drops the redo steps, the saved one among them
    EXPECT_FALSE(mHistory.Redo());
    EXPECT_EQ(mHistory.StepCount(), 1u);
    mHistory.Undo();
    EXPECT_FALSE(mHistory.AtSavedState());
    EXPECT_EQ(Find(0x100).record.data, Le16(5));
}

TEST_F(History, TypedKeysOnOneRecordAreOneStepButNotAcrossRecordsOrTheSavedPoint) {
    for (const char* text : {"2", "25", "250"}) {
        mHistory.MarkTyping();
        ApplyNumberEdit(Find(0x100), text, '.');
    }
    EXPECT_EQ(mHistory.StepCount(), 1u);
    mHistory.MarkTyping();
    ApplyTextEdit(Find(0x120), "X");
    EXPECT_EQ(mHistory.StepCount(), 2u);
    mHistory.MarkSaved();
    mHistory.MarkTyping();
    ApplyTextEdit(Find(0x120), "XY");
    EXPECT_EQ(mHistory.StepCount(), 3u);
    mHistory.Undo();
    EXPECT_TRUE(mHistory.AtSavedState());
}

TEST_F(History, IgnoresRefusedAndUnchangedEditsAndOtherTrees) {
    ApplyNumberEdit(Find(0x100), "99999", '.'); // out of range
    ApplyNumberEdit(Find(0x100), "5", '.');     // the same bytes
    EXPECT_EQ(ReplaceRecordBytes(*Find(0x200).Child(0), {1}).status, EditStatus::NotEditable);
    RecordTree other;
    other.AppendRoot(CloneNode(Find(0x100)));
    ApplyNumberEdit(*other.Root(0), "8", '.');
    EXPECT_EQ(mHistory.StepCount(), 0u);
    EXPECT_TRUE(mHistory.AtSavedState());
}

} // namespace
} // namespace kelvara
