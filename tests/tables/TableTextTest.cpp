// Table text files: the exported text of every table type, and the import rules (separators,
// decimal marks, short files, bad fields) including that a failed import changes nothing.
#include "TableBytes.h"
#include "TableText.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvara {
namespace {

using namespace test;

std::string Export(int type, const Bytes& bytes, TableTextStyle style = {}) {
    std::ostringstream out;
    EXPECT_TRUE(WriteTableText(type, bytes, style, out));
    return out.str();
}

TEST(TableText, ExportOfEveryType) {
    struct Case {
        int type;
        Bytes bytes;
        TableTextStyle style;
        std::string text;
    } cases[] = {
        {DataType::Tbl16, WordTable({0, 1234, -1}), {}, "Points: 3\n0\n1234\n65535\n"},
        {DataType::Tbl16_2, Concat({WordTable({0x0800, -0x0800, 1}), Bytes{9}}), {}, "Points: 3\n1\n-1\n0.00048828125\n"},
        {DataType::TblDb, PairTable({{0.5, 10}}), {2, 2}, "Points: 1\n0,5;10\n"},
        {DataType::TblDb, PairTable({{-1.25, 1e20}, {0, 3}}), {1, 1}, "Points: 2\n-1.25,1E20\n0,3\n"},
        {DataType::Tbl3d, Matrix(3, 2, KeyedValue), {}, "Columns: 3, Rows: 2\n0\t1\n10\t101\n20\t201\n"},
        {DataType::Tbl3d_2, Matrix(1, 3, KeyedValue), {2, 1}, "Columns: 1, Rows: 3\n0;1;2\n"},
        // Counts that claim more than the record holds: only what is there is written.
        {DataType::TblDb, Concat({Le32(9), LeDouble(1), LeDouble(2)}), {}, "Points: 1\n1\t2\n"},
        {DataType::Tbl3d, Concat({Le32(5), Le32(1), LeDouble(7)}), {}, "Columns: 1, Rows: 1\n7\n"},
        // Found by fuzzing: a billion columns of no rows wrote a billion empty lines.
        {DataType::Tbl3d, Concat({Le32(0x40000002), Le32(0), LeDouble(3)}), {}, "Columns: 0, Rows: 0\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Export(c.type, c.bytes, c.style), c.text);
    }
    std::ostringstream out;
    EXPECT_FALSE(WriteTableText(DataType::Tbl3d, Bytes(7, 0), {}, out));
    EXPECT_FALSE(WriteTableText(DataType::Double, Bytes(8, 0), {}, out));
}

TEST(TableText, ImportRules) {
    struct Case {
        const char* name;
        int type;
        Bytes before;
        std::string text;
        Bytes after;
        int values;
    } cases[] = {
        {"fixed point scaled and truncated", DataType::Tbl16_2, WordTable({0, 0, 0}), "Points: 3\n1.5\n-0,75\n0.0007\n",
         WordTable({3072, -1536, 1}), 3},
        {"low 16 bits of integers", DataType::Tbl16, WordTable({5, 5}), "x\n-1\n65537\n", WordTable({-1, 1}), 2},
        {"end of file leaves the rest", DataType::Tbl16, WordTable({5, 5, 5}), "Points: 3\n7\n", WordTable({7, 5, 5}), 1},
        {"empty lines leave values", DataType::Tbl16, WordTable({5, 5}), "h\r\n\r\n8\r\n", WordTable({5, 8}), 1},
        {"tab, semicolon and blank separate", DataType::TblDb, PairTable({{0, 0}, {0, 0}, {0, 0}}),
         "h\n1\t2\n 3 ; 4,5 \n5 6\n", PairTable({{1, 2}, {3, 4.5}, {5, 6}}), 6},
        {"a comma is a decimal mark, not a separator", DataType::TblDb, PairTable({{9, 9}, {9, 9}}),
         "h\n1.5,2.5\n3 4\n", PairTable({{9, 9}, {9, 9}}), 0},
        {"short matrix lines repeat their last field", DataType::Tbl3d, Matrix(2, 4, KeyedValue), "h\n1 2\n\n",
         Matrix(2, 4, [](uint32_t a, uint32_t b) { return a == 0 ? (b == 0 ? 1.0 : 2.0) : KeyedValue(a, b); }), 4},
        {"matrix in stored order whatever the view", DataType::Tbl3d_2, Matrix(2, 2, KeyedValue), "h\n-1;-2\n-3;-4\n",
         Matrix(2, 2, [](uint32_t a, uint32_t b) { return -1.0 - 2 * a - b; }), 4},
        {"tiny numbers are zero", DataType::TblDb, PairTable({{1, 1}}), "h\n1e-400 +2e3\n", PairTable({{0, 2000}}), 2},
    };
    for (const Case& c : cases) {
        const TableImport r = ReadTableText(c.type, c.before, c.text);
        EXPECT_EQ(r.status, TableImport::Status::Ok) << c.name;
        EXPECT_EQ(r.bytes, c.after) << c.name;
        EXPECT_EQ(r.valuesRead, c.values) << c.name;
    }
}

TEST(TableText, ABadFieldFailsTheWholeImport) {
    struct Case {
        int type;
        Bytes before;
        std::string text;
        int line;
        std::string field;
    } cases[] = {
        {DataType::Tbl16, WordTable({5, 5}), "h\n7\n1.5\n", 3, "1.5"}, // no fractions in tbl16
        {DataType::Tbl16, WordTable({5}), "h\n99999999999\n", 2, "99999999999"},
        {DataType::TblDb, PairTable({{0, 0}, {0, 0}}), "h\n1 2\n3 abc\n", 3, "abc"},
        {DataType::Tbl3d, Matrix(2, 2, KeyedValue), "h\n1 2\n3 1e999\n", 3, "1e999"},
        {DataType::Tbl16_2, WordTable({1}), "h\nnan\n", 2, "nan"},
        {DataType::TblDb, PairTable({{0, 0}}), "h\n1,5.5 2\n", 2, "1,5.5"},
    };
    for (const Case& c : cases) {
        const TableImport r = ReadTableText(c.type, c.before, c.text);
        EXPECT_EQ(r.status, TableImport::Status::BadNumber) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_EQ(r.field, c.field) << c.text;
        EXPECT_TRUE(r.bytes.empty()) << "nothing to apply";
    }
    EXPECT_EQ(ReadTableText(DataType::Double, Bytes(8, 0), "h\n1\n").status, TableImport::Status::NotATable);
}

TEST(TableText, ExportedTablesImportBackUnchanged) {
    const struct {
        int type;
        Bytes bytes;
    } tables[] = {
        {DataType::TblDb, PairTable({{-0.0174532925199433, 0.1}, {1e-7, 123456.789012345}})},
        {DataType::Tbl16, WordTable({0, 1, -1, 32768})},
        {DataType::Tbl16_2, WordTable({-32768, 32767, 1, -1})},
        {DataType::Tbl3d, Matrix(4, 3, [](uint32_t a, uint32_t b) { return a * 0.5 - b * 0.25; })},
    };
    for (const auto& t : tables) {
        for (int delimiter : {2, 3}) {
            for (int decimal : {1, 2}) {
                Bytes zeroed = t.bytes;
                std::fill(zeroed.begin() + (t.type == DataType::Tbl3d ? 8 : t.type == DataType::TblDb ? 4 : 0),
                          zeroed.end(), 0);
                const TableImport r = ReadTableText(t.type, zeroed, Export(t.type, t.bytes, {delimiter, decimal}));
                EXPECT_EQ(r.bytes, t.bytes) << t.type << " " << delimiter << " " << decimal;
            }
        }
    }
}

} // namespace
} // namespace kelvara
