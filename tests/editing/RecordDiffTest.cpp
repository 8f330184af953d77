// Differences between two files, record by record, in value texts.
#include "AirFileReader.h"
#include "RecordDictionary.h"
#include "RecordDiff.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using test::AirFileBuilder;
using test::Concat;
using test::Le16;
using test::Le32;
using test::LeDouble;
using test::TextBytes;

const char* kDictionary =
    "[records]\n0001=Title,text\n0100=Rpm,int16\n0101=Tilt,ang16\n0200=Engine,record\n"
    "0300=Lift,tbldb\n0301=Drag,tbl16_2\n0302=Matrix,tbl3d\n"
    "[0200]\n1=0x00,int16,Idle\n2=0x02,int16,Max\n";

std::vector<uint8_t> Pairs(std::initializer_list<double> values) {
    std::vector<uint8_t> out = Le32(static_cast<int32_t>(values.size() / 2));
    for (double v : values) {
        const auto bytes = LeDouble(v);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

struct DiffCase {
    const char* name;
    AirFileBuilder a;
    AirFileBuilder b;
    // One line per difference: kind letter, number, then the details.
    std::vector<std::string> expected;
};

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

class Diff : public ::testing::TestWithParam<DiffCase> {};

TEST_P(Diff, ListsEveryDifferenceInRecordOrder) {
    const DiffCase& c = GetParam();
    RecordDictionary dictionary;
    dictionary.LoadFromText(kDictionary);
    RecordTree a;
    RecordTree b;
    ASSERT_EQ(ReadAirBytes(c.a.Bytes(), dictionary, {}, a).code, ReadResultCode::Ok);
    ASSERT_EQ(ReadAirBytes(c.b.Bytes(), dictionary, {}, b).code, ReadResultCode::Ok);
    std::vector<std::string> lines;
    for (const RecordDifference& d : DiffRecords(a, b, dictionary, {'.', 1})) {
        lines.push_back(Describe(d));
    }
    EXPECT_EQ(lines, c.expected);
}

AirFileBuilder File() {
    return AirFileBuilder().Record(0x0001, TextBytes("Trainer")).Record(0x0100, Le16(5));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Diff,
    ::testing::Values(
        DiffCase{"SameRecordsInAnotherOrder", File(),
                 AirFileBuilder().Record(0x0100, Le16(5)).Record(0x0001, TextBytes("Trainer")), {}},
        DiffCase{"SecondRecordOfANumber", File(), File().Record(0x0100, Le16(7)), {"B 0100"}},
        DiffCase{"ValuesInUnits",
                 AirFileBuilder().Record(0x0101, Le16(182)).Record(0x0001, TextBytes("Trainer")),
                 AirFileBuilder().Record(0x0101, Le16(364)).Record(0x0001, TextBytes("Glider")),
                 {"V 0001 Trainer > Glider", "V 0101 0.999989986419678 > 1.99998998641968"}},
        DiffCase{"AddedAndRemoved", File(), AirFileBuilder().Record(0x0100, Le16(5)).Record(0x0200, Le32(0)),
                 {"A 0001", "B 0200"}},
        DiffCase{"FieldsByName", AirFileBuilder().Record(0x0200, Concat({Le16(700), Le16(2400)})),
                 AirFileBuilder().Record(0x0200, Concat({Le16(700), Le16(2500)})), {"F 0200 [Max: 2400 > 2500]"}},
        DiffCase{"TablePoints", AirFileBuilder().Record(0x0300, Pairs({0, 1, 0.5, 2, 1, 3})),
                 AirFileBuilder().Record(0x0300, Pairs({0, 1, 0.5, 2.5, 1, 3})),
                 {"T 0300 [point 1: 0.5; 2 > 0.5; 2.5] 1/3"}},
        DiffCase{"TableGrows", AirFileBuilder().Record(0x0301, Concat({Le16(1024), Le16(2048)})),
                 AirFileBuilder().Record(0x0301, Concat({Le16(1024), Le16(-2048), Le16(0)})),
                 {"T 0301 [point 1: 1 > -1] [point 2: (none) > 0] 2/3"}},
        DiffCase{"MatrixCells",
                 AirFileBuilder().Record(0x0302, Concat({Le32(2), Le32(1), LeDouble(0), LeDouble(4)})),
                 AirFileBuilder().Record(0x0302, Concat({Le32(2), Le32(1), LeDouble(0), LeDouble(8)})),
                 {"T 0302 [column 1, row 0: 4 > 8] 1/2"}},
        DiffCase{"BytesNoValueShows", AirFileBuilder().Record(0x0001, {'a', 0, 1, 2}),
                 AirFileBuilder().Record(0x0001, {'a', 0, 9, 9, 9}), {"Y 0001 3/5"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvara
