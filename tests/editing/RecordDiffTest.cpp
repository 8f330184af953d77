// What the editor finds in files: differences between two files, record by record, in value
// texts; the checks before saving, on files built record by record; Search First / Search Next
// over captions and the texts of text records.
#include "AirFileReader.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordDiff.h"
#include "RecordSearch.h"
#include "RecordTree.h"
#include "SaveChecks.h"
#include "TextUtil.h"

#include "TableBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelvara {
namespace {

using namespace test;
using B = AirFileBuilder;

const char* kDictionary =
    "[records]\n0001=Title,text\n0100=Rpm,int16\n0101=Tilt,ang16\n0200=Engine,record\n"
    "0102=Weight,double\n0300=Lift,tbldb\n0301=Drag,tbl16_2\n0302=Matrix,tbl3d\n0500=Padded,record\n[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n"
    "[0500]\n1=0x00,int16,Count\n2=0x02,2,Pad\n";

std::string Describe(const RecordDifference& d) {
    char head[64];
    std::snprintf(head, sizeof head, "%c %04X", "ABVFTY"[static_cast<int>(d.kind)], d.lookupNumber);
    std::string line = head + (d.kind == DiffKind::Value ? " " + d.oldText + " > " + d.newText : "");
    for (const auto& list : {d.fields, d.points}) {
        for (const ValueChange& change : list) {
            line += " [" + change.what + ": " + change.oldText + " > " + change.newText + "]";
        }
    }
    if (d.kind == DiffKind::Table || d.kind == DiffKind::Bytes) {
        const bool table = d.kind == DiffKind::Table;
        line += " " + std::to_string(table ? d.differingPoints : d.differingBytes) + "/" +
                std::to_string(table ? d.pointCount : d.byteCount);
    }
    return line;
}

TEST(Diff, ListsEveryDifferenceInRecordOrder) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(kDictionary);
    // file A, file B, per difference: kind letter, number, details
    const std::tuple<const char*, B, B, std::vector<std::string>> cases[] = {
        {"ValuesInUnitsAddedAndRemoved",
         B().Record(0x0101, Le16(182)).Record(0x0001, TextBytes("Trainer")).Record(0x0200, Le32(0)),
         B().Record(0x0001, TextBytes("Glider")).Record(0x0101, Le16(364)).Record(0x0100, Le16(1)),
         {"V 0001 Trainer > Glider", "B 0100", "V 0101 0.999989986419678 > 1.99998998641968", "A 0200"}},
        {"SecondRecordOfANumber", B().Record(0x0100, Le16(5)),
         B().Record(0x0100, Le16(5)).Record(0x0100, Le16(7)), {"B 0100"}},
        {"FieldsByName", B().Record(0x0200, Concat({Le16(700), Le16(2400)})),
         B().Record(0x0200, Concat({Le16(700), Le16(2500)})), {"F 0200 [Max: 2400 > 2500]"}},
        {"TablePoints", B().Record(0x0300, PairTable({{0, 1}, {0.5, 2}})),
         B().Record(0x0300, PairTable({{0, 1}, {0.5, 2.5}})), {"T 0300 [point 1: 0.5; 2 > 0.5; 2.5] 1/2"}},
        // Equal in 15 digits, different in the last bit: the point counts, in 17 digits.
        {"TableLastBit", B().Record(0x0300, PairTable({{0.1, 1}})),
         B().Record(0x0300, PairTable({{std::nextafter(0.1, 1.0), 1}})),
         {"T 0300 [point 0: 0.1; 1 > 0.10000000000000002; 1] 1/1"}},
        {"DoubleLastBit", B().Record(0x0102, LeDouble(0.1)), B().Record(0x0102, LeDouble(std::nextafter(0.1, 1.0))),
         {"V 0102 0.1 > 0.10000000000000002"}},
        {"TableGrows", B().Record(0x0301, Concat({Le16(1024), Le16(2048)})),
         B().Record(0x0301, Concat({Le16(1024), Le16(-2048), Le16(0)})),
         {"T 0301 [point 1: 1 > -1] [point 2: (none) > 0] 2/3"}},
        {"MatrixCells", B().Record(0x0302, Concat({Le32(2), Le32(1), LeDouble(0), LeDouble(4)})),
         B().Record(0x0302, Concat({Le32(2), Le32(1), LeDouble(0), LeDouble(8)})),
         {"T 0302 [column 1, row 0: 4 > 8] 1/2"}},
        // Found by fuzzing: a header claiming 4 billion columns of no rows hung the diff.
        {"MatrixWithoutRows", B().Record(0x0302, Concat({Le32(-1), Le32(0), LeDouble(1)})),
         B().Record(0x0302, Concat({Le32(-1), Le32(0), LeDouble(2)})),
         {"Y 0302 [bytes 0x0-0xF: FF FF FF FF 00 00 00 00 00 00 00 00 00 00 F0 3F > "
          "FF FF FF FF 00 00 00 00 00 00 00 00 00 00 00 40] 2/16"}},
        {"BytesNoValueShows", B().Record(0x0001, {'a', 0, 1, 2}), B().Record(0x0001, {'a', 0, 9, 9, 9}),
         {"Y 0001 [bytes 0x0-0x4: 61 00 01 02 > 61 00 09 09 09] 3/5"}},
        // A long block is shown from the first difference on, its ends marked.
        {"LongBlockFromTheDifference", B().Record(0x0400, Bytes(40, 0)),
         B().Record(0x0400, Concat({Bytes(20, 0), Bytes{0xAB}, Bytes(19, 0)})),
         {"Y 0400 [bytes 0x10-0x27: \u2026 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 > "
          "\u2026 00 00 00 00 AB 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00] 1/40"}},
        {"RawFieldInHex", B().Record(0x0500, {1, 0, 0xFF, 0x10}), B().Record(0x0500, {1, 0, 0xFE}),
         {"F 0500 [Pad: FF 10 > FE]"}}};
    for (const auto& [name, fileA, fileB, expected] : cases) {
        SCOPED_TRACE(name);
        RecordTree a, b;
        ASSERT_EQ(ReadAirBytes(fileA.Bytes(), dictionary, {}, a).code, ReadResultCode::Ok);
        ASSERT_EQ(ReadAirBytes(fileB.Bytes(), dictionary, {}, b).code, ReadResultCode::Ok);
        std::vector<std::string> lines;
        for (const RecordDifference& d : DiffRecords(a, b, dictionary, {'.', 1})) {
            lines.push_back(Describe(d));
        }
        EXPECT_EQ(lines, expected);
    }
}

// The lines of "diff": a number that one file holds more often than the other is named as a
// repeated number, not as a record the other file lacks.
TEST(Diff, TextNamesARepeatedNumber) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(kDictionary);
    // file A, file B, the lines
    const std::tuple<B, B, std::string> cases[] = {
        {B().Record(0x0100, Le16(5)), B().Record(0x0100, Le16(5)).Record(0x0100, Le16(7)),
         "0100 Rpm: repeated record number: 2 times in B, 1 time in A\n"},
        {B().Record(0x0100, Le16(5)).Record(0x0100, Le16(5)).Record(0x0100, Le16(5)), B().Record(0x0100, Le16(5)),
         "0100 Rpm: repeated record number: 3 times in A, 1 time in B\n"
         "0100 Rpm: repeated record number: 3 times in A, 1 time in B\n"},
        {B(), B().Record(0x0100, Le16(7)), "0100 Rpm: only in B\n"},
        {B().Record(0x0001, {'a', 0, 1}), B().Record(0x0001, {'a', 0, 2}),
         "0001 Title: 1 of 3 bytes differ\n    bytes 0x0-0x2: 61 00 01 -> 61 00 02\n"}};
    for (const auto& [fileA, fileB, expected] : cases) {
        RecordTree a, b;
        ASSERT_EQ(ReadAirBytes(fileA.Bytes(), dictionary, {}, a).code, ReadResultCode::Ok);
        ASSERT_EQ(ReadAirBytes(fileB.Bytes(), dictionary, {}, b).code, ReadResultCode::Ok);
        std::string text;
        for (const RecordDifference& d : DiffRecords(a, b, dictionary, {'.', 1})) {
            text += DifferenceText(d, false);
        }
        EXPECT_EQ(text, expected);
    }
}

const char* kCheckDictionary = "[records]\n0100=Rpm,int32\n0101=Weight,double\n0300=Lift,tbldb\n"
                          "0400=Drag,tbl3d\n0401=Pitch,tbl3d_2\n0200=Engine,record\n"
                          "[0200]\n1=0x00,double,Bore\n";

// columns x rows doubles, column after column.
std::vector<uint8_t> Matrix(int columns, int rows, std::initializer_list<double> values) {
    std::vector<uint8_t> out = Concat({Le32(columns), Le32(rows)});
    for (double v : values) {
        out = Concat({out, LeDouble(v)});
    }
    return out;
}

TEST(SaveChecks, FindsWhatLooksWrongAndNothingInSoundRecords) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(kCheckDictionary);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // record, its bytes, the findings
    const std::tuple<uint32_t, std::vector<uint8_t>, std::vector<std::string>> rows[] = {
        {0x100, Le32(5), {}},
        {0x100, Le16(5), {"0100 Rpm: holds 2 bytes, fewer than the 4 its type needs"}},
        {0x101, LeDouble(nan), {"0101 Weight: a value is not a number (NaN)"}},
        {0x101, LeDouble(-inf), {"0101 Weight: a value is infinite"}},
        {0x200, LeDouble(inf), {"0200 Engine / Bore: a value is infinite"}},
        {0x300, PairTable({{0, 1}, {2, 3}, {5, 4}}), {}},
        {0x300, PairTable({{0, 1}, {5, 3}, {2, 4}}), {"0300 Lift: X values go backwards at point 3 (2 after 5)"}},
        // Equal neighbours are what real files hold: an unused all-zero table, a repeated key.
        {0x300, PairTable({{0, 1}, {0, 3}}), {}},
        {0x300, PairTable({{0, 0}, {0, 0}, {0, 0}}), {}},
        {0x300, PairTable({{1, 0}, {1, 0}, {0.5, 0}}), {"0300 Lift: X values go backwards at point 3 (0.5 after 1)"}},
        {0x400, Matrix(4, 2, {0, 1, 10, 2, 10, 3, 20, 4}), {}},
        {0x300, Concat({Le32(3), LeDouble(0), LeDouble(1), LeDouble(1), LeDouble(2)}),
         {"0300 Lift: 3 points need 52 bytes, the record holds 36"}},
        {0x300, PairTable({{0, nan}, {1, 2}}), {"0300 Lift: a value is not a number (NaN) at byte 12"}},
        {0x300, {1, 0}, {"0300 Lift: holds 2 bytes, too few for a point count"}},
        {0x400, Matrix(3, 2, {0, 1, 10, 2, 20, 3}), {}},
        {0x400, Matrix(3, 3, {0, 1, 2, 10, 0, 0, 5, 0, 0}),
         {"0400 Drag: column keys go backwards at column 2 (5 after 10)"}},
        {0x401, Matrix(2, 3, {0, 4, 3, 1, 1, 1}), {"0401 Pitch: row keys go backwards at row 2 (3 after 4)"}},
        {0x401, Matrix(2, 3, {0, 0, 0, 0, 0, 0}), {}},
        {0x400, Matrix(3, 2, {0, 1, 10, 2}),
         {"0400 Drag: 3 columns of 2 rows need 56 bytes, the record holds 40"}},
        {0x400, Matrix(2, 2, {0, 1, 10, inf}), {"0400 Drag: a value is infinite at byte 32"}},
        // Headers that claim more than any file holds are reported, not walked.
        {0x400, Matrix(-1, -1, {0}),
         {"0400 Drag: 4294967295 columns of 4294967295 rows need more bytes than any file "
          "holds, the record holds 16"}},
        {0x400, Matrix(-1, 0, {1, 2}),
         {"0400 Drag: 4294967295 columns of 0 rows need 8 bytes, the record holds 24"}},
    };
    for (const auto& [number, data, findings] : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << number << " " << findings.size());
        RecordTree tree;
        const auto bytes = AirFileBuilder().Record(number, data).Bytes();
        ASSERT_EQ(ReadAirBytes(bytes, dictionary, {}, tree).code, ReadResultCode::Ok);
        std::vector<std::string> texts;
        for (const CheckFinding& finding : CheckBeforeSaving(tree, dictionary)) {
            texts.push_back(finding.text);
            EXPECT_NE(finding.node, nullptr);
        }
        EXPECT_EQ(texts, findings);
    }

    // Before a save only the records the caller names are looked at, with their fields.
    RecordTree tree;
    const auto bytes = AirFileBuilder()
                           .Record(0x300, PairTable({{5, 1}, {2, 3}}))
                           .Record(0x200, LeDouble(inf))
                           .Bytes();
    ASSERT_EQ(ReadAirBytes(bytes, dictionary, {}, tree).code, ReadResultCode::Ok);
    const auto only = [&](uint32_t number) {
        std::vector<std::string> texts;
        for (const CheckFinding& finding : CheckBeforeSaving(
                 tree, dictionary, [&](const RecordNode& r) { return r.record.number == number; })) {
            texts.push_back(finding.text);
        }
        return texts;
    };
    EXPECT_EQ(only(0x200), std::vector<std::string>{"0200 Engine / Bore: a value is infinite"});
    EXPECT_EQ(only(0x999), std::vector<std::string>{});
}

const LowerCase kLower = [](std::string_view text) { return ToLower(text); };

// "caption", "caption|text" for a text record, " caption" for a field of the record before.
RecordTree Tree(const std::vector<std::string>& nodes) {
    RecordTree tree;
    for (const std::string& line : nodes) {
        auto node = std::make_unique<RecordNode>();
        const size_t bar = line.find('|');
        node->SetCaption(line.substr(0, bar));
        if (bar != std::string::npos) {
            const std::string text = line.substr(bar + 1) + '\0'; // with its closing zero byte
            node->record.type = DataType::Text;
            node->record.SetData(std::vector<uint8_t>(text.begin(), text.end()));
        }
        line[0] == ' ' ? tree.Root(tree.RootCount() - 1)->AppendChild(std::move(node))
                       : tree.AppendRoot(std::move(node));
    }
    return tree;
}

TEST(Search, FindsInTreeOrderAndWraps) {
    // tree, text, case sensitive, captions of successive steps ("" for not found)
    using Captions = std::vector<std::string>;
    const std::tuple<const char*, Captions, const char*, bool, Captions> cases[] = {
        {"one node is examined after wrapping", {"Wing area"}, "wing", false, {"Wing area", "Wing area"}},
        {"ignoring case Ab finds aB", {"x", "The aB record"}, "Ab", false, {"The aB record"}},
        {"case sensitive Ab misses aB", {"x", "The aB record"}, "Ab", true, {""}},
        {"match in the text only", {"Title", "Description|a long\r\nstory"}, "LONG\nSTORY", false,
         {"Description"}},
        {"first node is examined last", {"rpm 1", "rpm 2", "rpm 3"}, "rpm", false,
         {"rpm 2", "rpm 3", "rpm 1"}},
        {"fields come after their record", {"Engine", " Max RPM", "Flaps RPM"}, "rpm", false,
         {" Max RPM", "Flaps RPM"}},
        {"empty text is never found", {"a", "b"}, "", false, {""}},
        {"empty tree finds nothing", {}, "a", false, {""}}};
    for (const auto& [name, nodes, text, caseSensitive, found] : cases) {
        const RecordTree tree = Tree(nodes);
        RecordSearch search;
        search.Start(text, caseSensitive, kLower);
        for (const std::string& expected : found) {
            const RecordNode* node = search.FindNext(tree, caseSensitive, kLower);
            EXPECT_EQ(node ? node->Caption() : "", expected) << name;
        }
    }
}

TEST(SearchState, ATreeThatShrankSinceTheLastStepStillEndsItsRound) {
    const RecordTree big = Tree({"a", "b", "c", "d", "needle"});
    RecordSearch search;
    search.Start("needle", true, kLower);
    ASSERT_EQ(search.FindNext(big, true, kLower), big.Root(4));
    EXPECT_EQ(search.FindNext(Tree({"a", "b"}), true, kLower), nullptr);
    // The text keeps the case it was started with; the option is read at each step.
    search.Start("NEEDLE", false, kLower);
    EXPECT_EQ(search.FindNext(big, true, kLower), big.Root(4));
}

} // namespace
} // namespace kelvara
