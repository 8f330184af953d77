// The checks before saving, on files built record by record.
#include "AirFileReader.h"
#include "RecordDictionary.h"
#include "SaveChecks.h"

#include "TableBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelvara {
namespace {

using namespace test;

const char* kDictionary = "[records]\n0100=Rpm,int32\n0101=Weight,double\n0300=Lift,tbldb\n"
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
    dictionary.LoadFromText(kDictionary);
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
        {0x300, PairTable({{0, 1}, {5, 3}, {2, 4}}), {"0300 Lift: X values do not ascend at point 3 (2 after 5)"}},
        {0x300, PairTable({{0, 1}, {0, 3}}), {"0300 Lift: X values do not ascend at point 2 (0 after 0)"}},
        {0x300, Concat({Le32(3), LeDouble(0), LeDouble(1), LeDouble(1), LeDouble(2)}),
         {"0300 Lift: 3 points need 52 bytes, the record holds 36"}},
        {0x300, PairTable({{0, nan}, {1, 2}}), {"0300 Lift: a value is not a number (NaN) at byte 12"}},
        {0x300, {1, 0}, {"0300 Lift: holds 2 bytes, too few for a point count"}},
        {0x400, Matrix(3, 2, {0, 1, 10, 2, 20, 3}), {}},
        {0x400, Matrix(3, 3, {0, 1, 2, 10, 0, 0, 5, 0, 0}),
         {"0400 Drag: column keys do not ascend at column 2 (5 after 10)"}},
        {0x401, Matrix(2, 3, {0, 4, 3, 1, 1, 1}), {"0401 Pitch: row keys do not ascend at row 2 (3 after 4)"}},
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
}

} // namespace
} // namespace kelvara
