// Undo and redo over every kind of edit: the bytes of the whole tree and the saved state. Copy,
// cut and paste of whole records, within a file and from one file into another. The
// fingerprints kept of the file as last read or written. The hex view: its rows, and its cell
// rules driven by plain calls (clicks, arrows and typed characters).
#include "AirFileReader.h"
#include "ByteIO.h"
#include "ByteHash.h"
#include "EditHistory.h"
#include "HexEditState.h"
#include "HexViewText.h"
#include "RecordClipboard.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"
#include "SavedImage.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <sstream>

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
        {"value written in place", [](History& h) {
             ASSERT_EQ(OverwriteRecordBytes(h.Find(0x300), 20, LeDouble(9)).status, EditStatus::Ok);
         }},
        {"in-place drag of X and Y is one step",
         [](History& h) {
             h.mHistory.BeginStep();
             for (double v : {5.5, 6.0, 7.25}) {
                 ASSERT_EQ(OverwriteRecordBytes(h.Find(0x300), 20, LeDouble(v)).status, EditStatus::Ok);
                 ASSERT_EQ(OverwriteRecordBytes(h.Find(0x300), 12, LeDouble(-v)).status, EditStatus::Ok);
             }
             h.mHistory.EndStep();
         }},
        {"in-place writes far apart in one step",
         [](History& h) {
             h.mHistory.BeginStep();
             ASSERT_EQ(OverwriteRecordBytes(h.Find(0x300), 4, LeDouble(1)).status, EditStatus::Ok);
             ASSERT_EQ(OverwriteRecordBytes(h.Find(0x100), 0, Le16(9)).status, EditStatus::Ok);
             ASSERT_EQ(OverwriteRecordBytes(h.Find(0x300), 28, LeDouble(3)).status, EditStatus::Ok);
             h.mHistory.EndStep();
         }},
        {"field written in place, parent too",
         [](History& h) {
             ASSERT_EQ(OverwriteRecordBytes(*h.Find(0x200).Child(1), 0, Le16(2500)).status, EditStatus::Ok);
             EXPECT_EQ(h.Find(0x200).record.data, Concat({Le16(700), Le16(2500)}));
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

    // Keys typed into one table value, written in place, are one step too; typed back to
    // where they began, none.
    mHistory.Clear();
    for (double v : {1.0, 12.0, 125.0}) {
        mHistory.MarkTyping();
        OverwriteRecordBytes(Find(0x300), 20, LeDouble(v));
    }
    EXPECT_EQ(mHistory.StepCount(), 1u);
    mHistory.MarkTyping();
    OverwriteRecordBytes(Find(0x300), 20, LeDouble(5));
    EXPECT_EQ(mHistory.StepCount(), 0u);
    EXPECT_EQ(ReadLE<double>(Find(0x300).record.Bytes(), 20), 5.0);
}

TEST_F(History, IgnoresRefusedAndUnchangedEditsAndOtherTrees) {
    ApplyNumberEdit(Find(0x100), "99999", '.'); // out of range
    ApplyNumberEdit(Find(0x100), "5", '.');     // the same bytes
    EXPECT_EQ(ReplaceRecordBytes(*Find(0x200).Child(0), {1}).status, EditStatus::NotEditable);
    EXPECT_EQ(OverwriteRecordBytes(Find(0x100), 1, Le16(1)).status, EditStatus::NotEditable); // past the end
    EXPECT_EQ(OverwriteRecordBytes(Find(0x100), 0, Le16(5)).status, EditStatus::Ok);          // the same bytes
    RecordTree other;
    other.AppendRoot(CloneNode(Find(0x100)));
    ApplyNumberEdit(*other.Root(0), "8", '.');
    EXPECT_EQ(mHistory.StepCount(), 0u);
    EXPECT_TRUE(mHistory.AtSavedState());
}

const char* kClipboardDictionary = "[records]\n0100=Rpm,int16\n0200=Engine,record\n0300=Flaps,int16\n"
                          "[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n3=0x04,int16,Limit\n";

class Clipboard : public ::testing::Test {
protected:
    Clipboard() { mDictionary.LoadFromText(kClipboardDictionary); }

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

std::vector<uint8_t> Vec(std::span<const uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(SavedImage, KeepsEveryRecordAndFieldAsTaken) {
    RecordDictionary dictionary;
    dictionary.LoadFromText("[records]\n0100=Rpm,int16\n0200=Engine,record\n"
                            "[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n");
    const auto engine = Concat({Le16(700), Le16(2400)});
    RecordTree tree;
    ASSERT_EQ(ReadAirBytes(AirFileBuilder().Record(0x100, Le16(1)).Record(0x200, engine).Record(0x100, Le16(2)).Bytes(),
                           dictionary, {}, tree)
                  .code,
              ReadResultCode::Ok);
    SavedImage image;
    image.Take(tree);
    EXPECT_TRUE(image.Matches(tree));

    // Equal numbers are told apart by their order.
    const auto second = image.Find(tree, *tree.Root(1));
    ASSERT_TRUE(second.has_value());
    const auto parent = image.Find(tree, *tree.Root(2));
    ASSERT_TRUE(parent.has_value());
    ASSERT_EQ(image.FieldCount(*parent), 2u);
    auto record = [](uint32_t number, std::vector<uint8_t> data) {
        AirRecord made;
        made.number = number;
        made.data = std::move(data);
        return made;
    };
    EXPECT_TRUE(image.Holds(*second, record(0x100, Le16(2))));
    EXPECT_FALSE(image.Holds(*second, record(0x100, Le16(1))));
    EXPECT_TRUE(image.Holds(*parent, record(0x200, engine)));
    EXPECT_FALSE(image.Holds(*parent, record(0x201, engine)));      // another number
    EXPECT_FALSE(image.Holds(*parent, record(0x200, Le16(700))));   // cut short
    EXPECT_FALSE(image.Holds(image.Count(), record(0x200, engine))); // past the end

    EXPECT_EQ(Vec(SavedImage::FieldBytes(engine, 2, 2)), Le16(2400));
    EXPECT_EQ(Vec(SavedImage::FieldBytes(engine, 3, 4)), std::vector<uint8_t>{Le16(2400)[1]}); // cut at the end
    EXPECT_TRUE(SavedImage::FieldBytes(engine, 9, 2).empty());

    // A field edit changes the record; editing it back makes the tree match again.
    RecordNode& max = *tree.Root(2)->Child(1);
    ASSERT_EQ(ReplaceRecordBytes(max, Le16(2500)).status, EditStatus::Ok);
    EXPECT_FALSE(image.Matches(tree));
    ASSERT_EQ(ReplaceRecordBytes(max, Le16(2400)).status, EditStatus::Ok);
    EXPECT_TRUE(image.Matches(tree));

    // With a record gone the file differs; a number never saved has no saved bytes.
    const auto taken = tree.TakeRoot(0);
    EXPECT_FALSE(image.Matches(tree));
    RecordNode stranger;
    stranger.record.number = 0x300;
    EXPECT_FALSE(image.Find(tree, stranger).has_value());
    image.Clear();
    EXPECT_FALSE(image.Matches(tree));
}

// The fingerprint is MurmurHash3's x64 128-bit variant: the check value its authors publish
// (each length 0..255 hashed with its own seed, the results hashed again) covers every tail.
TEST(ByteHash, IsMurmurHash3AndSeesEveryByte) {
    std::vector<uint8_t> key(256);
    std::vector<uint8_t> hashes;
    for (size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<uint8_t>(i);
        const ByteHash hash = HashBytes(std::span(key).first(i), static_cast<uint32_t>(256 - i));
        for (uint64_t half : {hash.low, hash.high}) {
            for (int b = 0; b < 8; ++b) {
                hashes.push_back(static_cast<uint8_t>(half >> (8 * b)));
            }
        }
    }
    EXPECT_EQ(HashBytes(hashes).low & 0xffffffffu, 0x6384ba69u);

    // One flipped bit anywhere, in both halves of a block and in any tail, changes both halves;
    // so does a trailing zero byte.
    for (size_t size : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 33u}) {
        std::vector<uint8_t> bytes(size, 0);
        const ByteHash plain = HashBytes(bytes);
        for (size_t i = 0; i < size * 8; ++i) {
            bytes[i / 8] ^= static_cast<uint8_t>(1u << (i % 8));
            const ByteHash flipped = HashBytes(bytes);
            EXPECT_NE(flipped.low, plain.low) << size << " bit " << i;
            EXPECT_NE(flipped.high, plain.high) << size << " bit " << i;
            bytes[i / 8] ^= static_cast<uint8_t>(1u << (i % 8));
        }
        bytes.push_back(0);
        EXPECT_NE(HashBytes(bytes), plain) << size;
    }
}

using Bytes = std::vector<uint8_t>;
Bytes Counting(size_t n, std::initializer_list<std::pair<size_t, uint8_t>> changes = {}) {
    Bytes bytes(n);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0x30});
    for (auto [at, value] : changes) {
        bytes[at] = value;
    }
    return bytes;
}

// Steps: "c L C" click with the caret on line L before column C; "L" "R" "U" "D" arrows;
// "t X" types the character X; "table" and "mouse" set the blocking states.
void Drive(HexEditState& hex, const std::vector<std::string>& steps) {
    for (const std::string& step : steps) {
        std::istringstream in(step);
        std::string op;
        int line = 0, column = 0;
        in >> op >> line >> column;
        if (op == "c") {
            hex.Click(line, column);
        } else if (op == "t") {
            hex.Type(static_cast<uint8_t>(step.at(2)));
        } else if (op == "table" || op == "mouse") {
            (op == "table") ? hex.SetTableShown(true) : hex.SetMouseHeld(true);
        } else {
            hex.Key(static_cast<HexKey>(std::string("LURD").find(op)));
        }
    }
}

TEST(HexEdit, SelectionAndBytes) {
    // record length, steps, the selected cell, the bytes after the steps (empty: as loaded)
    const std::tuple<const char*, size_t, std::vector<std::string>, HexCell, Bytes> cases[] = {
        // Clicks snap onto a cell.
        {"BlankBetweenBytesSelectsLowDigitOnTheLeft", 8, {"c 2 13"}, {2, 12}, {}},
        {"BlankBetweenAreasSelectsLastLowDigit", 8, {"c 2 35"}, {2, 33}, {}},
        {"HeaderLinesGoToFirstRow", 8, {"c 0 5"}, {2, 11}, {}},
        {"BelowTheTextGoesToTheLastRowWithBytes", 16, {"c 9 20"}, {3, 20}, {}},
        {"TheBlankRowOfAFullRecordIsNotSelected", 16, {"c 4 20"}, {3, 20}, {}},
        // Arrows.
        {"LeftFromHighDigitGoesToPreviousLowDigit", 8, {"c 2 14", "L"}, {2, 12}, {}},
        {"LeftFromFirstDigitWrapsUp", 16, {"c 3 11", "L"}, {2, 33}, {}},
        {"UpAndLeftStayOnTheFirstRow", 8, {"c 2 36", "L", "U"}, {2, 36}, {}},
        {"RightSkipsTheBlank", 8, {"c 2 12", "R"}, {2, 14}, {}},
        {"RightWrapsToTheNextRowWithBytes", 16, {"c 2 33", "R"}, {3, 11}, {}},
        {"RightAtEndOfFullLastRowStays", 16, {"c 3 33", "R"}, {3, 33}, {}},
        {"RightAtLastCharacterOfFullLastRowStays", 8, {"c 2 43", "R"}, {2, 43}, {}},
        {"DownNeverEntersTheBlankRow", 16, {"c 3 20", "D"}, {3, 20}, {}},
        // Typing into the digits.
        {"LowerCaseDigitIsStoredUpperCase", 8, {"c 2 11", "t c"}, {2, 12}, Counting(8, {{0, 0xC0}})},
        {"NonDigitChangesNothingAndStays", 8, {"c 2 11", "t g"}, {2, 11}, {}},
        {"LastDigitOfARowWrapsWhenTheNextRowHoldsBytes", 9, {"c 2 33", "t 1"}, {3, 11}, Counting(9, {{7, 0x31}})},
        {"LastDigitOfTheLastRowStays", 8, {"c 2 33", "t f"}, {2, 33}, Counting(8, {{7, 0x3F}})},
        {"EmptyRecordHasNoCellToChange", 0, {"c 5 11", "t 1", "D"}, {2, 11}, {}},
        {"DigitsPastAFiveByteRecordDoNothing", 5, {"c 2 26", "t 1"}, {2, 26}, {}},
        // Typing into the characters.
        {"LetterAWrites41", 8, {"c 2 37", "t A"}, {2, 38}, Counting(8, {{1, 0x41}})},
        {"LastCharacterWrapsToTheNextRow", 10, {"c 2 43", "t z"}, {3, 36}, Counting(10, {{7, 'z'}})},
        {"ControlCodeIsNotWritten", 8, {"c 2 37", "t \x05"}, {2, 37}, {}},
        {"CharactersPastAFiveByteRecordDoNothing", 5, {"c 2 42", "t A"}, {2, 42}, {}},
        // Blocked input.
        {"TablesIgnoreKeysAndTyping", 8, {"c 2 11", "table", "R", "t 1"}, {2, 11}, {}},
        {"HeldMouseBlocksTyping", 8, {"c 2 11", "mouse", "t 1"}, {2, 11}, {}}};
    for (const auto& [name, length, steps, selection, changedTo] : cases) {
        const Bytes data = Counting(length);
        HexEditState hex;
        hex.Load("Length = x", data, data.size(), 0x100, true);
        Drive(hex, steps);
        EXPECT_EQ(hex.Selection(), selection) << name;
        EXPECT_EQ(hex.ApplyTo(data), changedTo.empty() ? data : changedTo) << name;
    }
}

// The character column follows the digits and shows low codes as dots; only the shown bytes
// are read back.
TEST(HexEditText, CharacterColumnAndShownBytes) {
    HexEditState hex;
    hex.Load("Length = 2", Bytes{0x41, 0x42}, 2, 0, true);
    Drive(hex, {"c 2 11", "t 1"});
    EXPECT_EQ(hex.Lines()[2].substr(11, 5), "11 42");
    EXPECT_EQ(hex.Lines()[2].substr(36, 2), "\x11" "B");
    Drive(hex, {"c 2 12", "t 0"}); // 0x10 is shown as a dot
    EXPECT_EQ(hex.Lines()[2].substr(36, 2), ".B");

    // A text record shows its bytes without the closing zero, which the edit keeps.
    const Bytes text{'a', 'b', 0};
    hex.Load("Length = 2", text, 2, 0, true);
    Drive(hex, {"c 2 37", "t Z", "t Y"});
    EXPECT_EQ(hex.ApplyTo(text), (Bytes{'a', 'Z', 0}));
    hex.Load("", text, 3, 0, false); // a record without a value type shows no lines
    Drive(hex, {"c 2 11", "t 1", "R"});
    EXPECT_TRUE(hex.Lines().empty());
    EXPECT_EQ(hex.ApplyTo(text), text);
}

// Reloading the record after an edit makes anew only the rows whose bytes differ, and ends
// with the lines a fresh load would show.
TEST(HexEdit, ReloadRewritesOnlyChangedRows) {
    const Bytes data = Counting(100);
    struct Case {
        const char* name;
        Bytes now;
        size_t length;
        std::optional<std::pair<int, int>> lines;
    } cases[] = {
        {"nothing changed", data, 100, std::pair(0, 0)},
        {"one byte", Counting(100, {{17, 0xEE}}), 100, std::pair(4, 5)},
        {"a value across two rows", Counting(100, {{6, 1}, {9, 1}}), 100, std::pair(2, 4)},
        {"first and last byte", Counting(100, {{0, 1}, {99, 1}}), 100, std::pair(2, 15)},
        {"another length is loaded anew", data, 90, std::nullopt},
    };
    for (const Case& c : cases) {
        HexEditState hex;
        hex.Load("Length = x", data, data.size(), 0x40, true);
        EXPECT_EQ(hex.Reload("Length = x", c.now, c.length, 0x40, true), c.lines) << c.name;
        HexEditState fresh;
        fresh.Load("Length = x", c.now, c.length, 0x40, true);
        EXPECT_EQ(hex.Lines(), fresh.Lines()) << c.name;
    }
    // Rows typed into no longer show the bytes: the next reload loads.
    HexEditState typed;
    typed.Load("Length = x", data, data.size(), 0, true);
    Drive(typed, {"c 2 11", "t 1"});
    const std::string typedRow = typed.Lines()[2];
    EXPECT_EQ(typed.Reload("Length = x", data, data.size(), 0, true), std::nullopt);
    EXPECT_NE(typed.Lines()[2], typedRow);
    EXPECT_EQ(typed.Lines()[2], HexRows(data, data.size(), 0)[0]);
}

TEST(HexRows, Layout) {
    const std::string blank(kHexRowWidth, ' ');
    // data, shown length, file offset, rows
    const std::tuple<const char*, Bytes, size_t, uint32_t, std::vector<std::string>> cases[] = {
        {"digits and characters", Bytes{0x41, 0x00, 0x10, 0x11, 0xFF, 0x7A, 0x20, 0x0D, 0x42}, 9, 0x1234,
         {"1234 0000  41 00 10 11 FF 7A 20 0D  A..\x11\xFFz .",
          "123C 0008  42" + std::string(23, ' ') + "B" + std::string(7, ' ')}},
        {"a multiple of eight ends in a blank row", Bytes(16, 0x30), 16, 0,
         {"0000 0000  30 30 30 30 30 30 30 30  00000000", "0008 0008  30 30 30 30 30 30 30 30  00000000",
          blank}},
        {"an empty value is one blank row", Bytes{0}, 0, 100, {blank}},
        {"a wide prefix is cut at column eleven", Bytes{0xAB}, 1, 0x12345,
         {"12345 0000 AB" + std::string(23, ' ') + "\xAB" + std::string(7, ' ')}},
        {"never past the data", Bytes{1, 2, 3}, 40, 0,
         {"0000 0000  01 02 03" + std::string(17, ' ') + "..." + std::string(5, ' ')}}};
    for (const auto& [name, data, length, offset, expected] : cases) {
        const std::vector<std::string> rows = HexRows(data, length, offset);
        EXPECT_EQ(rows, expected) << name;
        for (const std::string& row : rows) {
            EXPECT_EQ(row.size(), size_t{kHexRowWidth}) << name;
        }
    }
}

} // namespace
} // namespace kelvara
