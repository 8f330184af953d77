// Differences between two files, record by record, in value texts.
#include "AirFileReader.h"
#include "RecordDictionary.h"
#include "RecordDiff.h"

#include "TableBytes.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace test;
using B = AirFileBuilder;

const char* kDictionary =
    "[records]\n0001=Title,text\n0100=Rpm,int16\n0101=Tilt,ang16\n0200=Engine,record\n"
    "0300=Lift,tbldb\n0301=Drag,tbl16_2\n0302=Matrix,tbl3d\n[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n";

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
        {"TableGrows", B().Record(0x0301, Concat({Le16(1024), Le16(2048)})),
         B().Record(0x0301, Concat({Le16(1024), Le16(-2048), Le16(0)})),
         {"T 0301 [point 1: 1 > -1] [point 2: (none) > 0] 2/3"}},
        {"MatrixCells", B().Record(0x0302, Concat({Le32(2), Le32(1), LeDouble(0), LeDouble(4)})),
         B().Record(0x0302, Concat({Le32(2), Le32(1), LeDouble(0), LeDouble(8)})),
         {"T 0302 [column 1, row 0: 4 > 8] 1/2"}},
        // Found by fuzzing: a header claiming 4 billion columns of no rows hung the diff.
        {"MatrixWithoutRows", B().Record(0x0302, Concat({Le32(-1), Le32(0), LeDouble(1)})),
         B().Record(0x0302, Concat({Le32(-1), Le32(0), LeDouble(2)})), {"Y 0302 2/16"}},
        {"BytesNoValueShows", B().Record(0x0001, {'a', 0, 1, 2}), B().Record(0x0001, {'a', 0, 9, 9, 9}),
         {"Y 0001 3/5"}}};
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

} // namespace
} // namespace kelvara
