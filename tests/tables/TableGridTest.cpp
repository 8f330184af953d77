// Tables as text. The grid: what a table shows as cells, typed and pasted values with their
// refusals (all or nothing, one record edit per block), copying, and the cell <-> graph point
// mapping. Table text files: the exported text of every table type, and the import rules
// (separators, decimal marks, short files, bad fields) including that a failed import changes
// nothing. Configuration lines: every table type as one line and back, bit for bit, with the
// shape checks that refuse a line meant for another table.
#include "RecordEdits.h"
#include "TableBytes.h"
#include "TableCfgLine.h"
#include "TableGrid.h"
#include "TableText.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <sstream>

namespace kelvara {
namespace {

using namespace test;
using Status = GridEdit::Status;

// Counts the record edits, so that a block is seen to be one edit.
struct EditCounter : RecordEditObserver {
    EditCounter() { previous = SetRecordEditObserver(this); }
    ~EditCounter() override { SetRecordEditObserver(previous); }
    void RecordChanging(const RecordNode&) override {}
    void RecordChanged(const RecordNode&) override { ++edits; }
    void RangeChanged(const RecordNode&, size_t, size_t size) override {
        ++edits;
        rangeBytes += size;
    }
    RecordEditObserver* previous = nullptr;
    int edits = 0;
    size_t rangeBytes = 0; // written in place
};

// A grid showing a table record of its own.
struct ShownGrid : TableGrid {
    ShownGrid(int type, Bytes bytes) : node(TableNode(type, std::move(bytes))) { Show(node.get()); }
    std::unique_ptr<RecordNode> node;
};

// 4 columns and 4 rows: a grid of 3 x 3 values, value (a, b) = 100 a + b.
Bytes Matrix44() {
    return Matrix(4, 4, KeyedValue);
}

TEST(TableGrid, PastesBlocksAllOrNothing) {
    const auto pasted = [](double a, double b, double value) {
        return [=](uint32_t x, uint32_t y) { return x == a && y == b ? value : KeyedValue(x, y); };
    };
    const auto block3x2 = [](uint32_t a, uint32_t b) {
        // rows 1..3 of columns 2 and 3 (grid cells (0..2, 1..2))
        return a >= 2 && b >= 1 ? 10.0 * a + b + 0.5 : KeyedValue(a, b);
    };
    struct Case {
        const char* name;
        GridCell at;
        std::string block;
        Status status;
        Bytes after; // the record afterwards
        GridCell fault = {};
    } cases[] = {
        {"3 x 2 block, CR LF", {0, 1}, "21.5\t31.5\r\n22.5\t32.5\r\n23.5\t33.5\r\n", Status::Ok,
         Matrix(4, 4, block3x2)},
        {"decimal comma", {1, 0}, "7,25\n", Status::Ok, Matrix(4, 4, pasted(1, 2, 7.25))},
        {"blanks around a number", {2, 2}, " -1e3 ", Status::Ok, Matrix(4, 4, pasted(3, 3, -1000))},
        {"one column too wide", {0, 2}, "1\t2\n", Status::DoesNotFit, Matrix44()},
        {"one row too long", {1, 0}, "1\n2\n3\n", Status::DoesNotFit, Matrix44()},
        {"a word in the last cell", {0, 0}, "1\t2\n3\tx\n", Status::NotANumber, Matrix44(), {1, 1}},
        {"an empty cell", {0, 0}, "1\t\t3\n", Status::NotANumber, Matrix44(), {0, 1}},
        {"both decimal marks", {0, 0}, "1.234,5", Status::NotANumber, Matrix44()},
        {"ragged lines", {0, 0}, "1\t2\n3\n", Status::NotRectangular, Matrix44(), {1, 0}},
        {"nothing", {0, 0}, "\r\n", Status::Empty, Matrix44()},
    };
    for (const Case& c : cases) {
        ShownGrid grid(DataType::Tbl3d, Matrix44());
        ASSERT_EQ(grid.Rows(), 3);
        EditCounter counter;
        const GridEdit edit = grid.Paste(c.at.row, c.at.column, c.block, ',');
        EXPECT_EQ(edit.status, c.status) << c.name;
        EXPECT_EQ(grid.node->record.data, c.after) << c.name;
        EXPECT_EQ(counter.edits, c.status == Status::Ok ? 1 : 0) << c.name;
        if (c.status == Status::NotANumber || c.status == Status::NotRectangular) {
            EXPECT_EQ(edit.at, c.fault) << c.name;
        }
    }
}

TEST(TableGrid, RangesOfEachTableType) {
    struct Case {
        int type;
        Bytes bytes;
        GridCell cell;
        const char* text;
        Status status;
        Bytes after;
        std::string max = ""; // the upper limit named
    } cases[] = {
        {DataType::Tbl16, WordTable({1, 2}), {1, 1}, "65535", Status::Ok, WordTable({1, -1})},
        {DataType::Tbl16, WordTable({1, 2}), {1, 1}, "1.5", Status::NotANumber, WordTable({1, 2})},
        // 20 was stored as -12; the limit named was the record editor's 15.9998998641968.
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "20", Status::OutOfRange, WordTable({0}), "15.99951171875"},
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "15.9996", Status::OutOfRange, WordTable({0}), "15.99951171875"},
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "15.99951171875", Status::Ok, WordTable({32767})},
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "-16", Status::Ok, WordTable({-32768})},
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "-16.0001", Status::OutOfRange, WordTable({0}), "15.99951171875"},
        {DataType::TblDb, PairTable({{0, 1}}), {0, 1}, "", Status::NotANumber, PairTable({{0, 1}})},
        {DataType::TblDb, PairTable({{0, 1}}), {0, 1}, "-", Status::NotANumber, PairTable({{0, 1}})},
        {DataType::TblDb, PairTable({{0, 1}}), {0, 1}, "12xyz", Status::NotANumber, PairTable({{0, 1}})},
        {DataType::Tbl16, WordTable({1, 2}), {1, 1}, "65536", Status::OutOfRange, WordTable({1, 2})},
        {DataType::Tbl16, WordTable({1, 2}), {1, 1}, "-1", Status::OutOfRange, WordTable({1, 2})},
        {DataType::Tbl16, WordTable({1, 2}), {1, 0}, "5", Status::NotEditable, WordTable({1, 2})},
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "0,5", Status::Ok, WordTable({1024})},
        {DataType::Tbl16_2, WordTable({0}), {0, 1}, "16", Status::OutOfRange, WordTable({0}), "15.99951171875"},
        {DataType::TblDb, PairTable({{0, 1}}), {0, 0}, "-2.5", Status::Ok, PairTable({{-2.5, 1}})},
        {DataType::TblDb, PairTable({{0, 1}}), {0, 1}, "1e39", Status::OutOfRange, PairTable({{0, 1}})},
        {DataType::Tbl3d, Matrix44(), {0, 0}, "1e999", Status::NotANumber, Matrix44()},
        {DataType::Tbl3d, Matrix44(), {0, 0}, "abc", Status::NotANumber, Matrix44()},
    };
    for (const Case& c : cases) {
        ShownGrid grid(c.type, c.bytes);
        EditCounter counter;
        const GridEdit edit = grid.SetCell(c.cell.row, c.cell.column, c.text, '.');
        EXPECT_EQ(edit.status, c.status) << c.type << " " << c.text;
        EXPECT_EQ(grid.node->record.data, c.after) << c.type << " " << c.text;
        EXPECT_EQ(edit.changed, c.after != c.bytes) << c.type << " " << c.text;
        // Only the value's own bytes are written, whatever the table's size.
        EXPECT_EQ(counter.edits, edit.changed ? 1 : 0) << c.type << " " << c.text;
        EXPECT_EQ(counter.rangeBytes, edit.changed ? (c.type == DataType::Tbl16 || c.type == DataType::Tbl16_2 ? 2u : 8u) : 0u)
            << c.type << " " << c.text;
        if (!c.max.empty()) {
            EXPECT_EQ(edit.limits.maxText, c.max) << c.text;
        }
    }
}

// Matrices whose headers claim more than the record holds show only what is there.
TEST(TableGrid, ShapesFromHostileHeaders) {
    struct Case {
        const char* name;
        Bytes bytes;
        int rows, columns;
    } cases[] = {
        {"billions of columns, no rows", Concat({Le32(-1), Le32(0), Bytes(64, 0)}), 0, 0},
        {"billions of columns, one row", Concat({Le32(-1), Le32(1), Bytes(64, 0)}), 0, 0},
        {"billions of rows", Concat({Le32(3), Le32(-1), Bytes(64, 0)}), 0, 0},
        {"cut short: two whole columns", Concat({Le32(9), Le32(3), Bytes(8 * 3 * 2 + 7, 0)}), 2, 1},
        {"one column: no curves", Matrix(1, 3, KeyedValue), 0, 0},
        {"no room for the counts", Bytes(7, 0), 0, 0},
    };
    for (const Case& c : cases) {
        ShownGrid grid(DataType::Tbl3d, c.bytes);
        EXPECT_EQ(grid.Rows(), c.rows) << c.name;
        EXPECT_EQ(grid.Columns(), c.columns) << c.name;
        EXPECT_EQ(grid.Paste(0, 0, "1", '.').status, c.rows ? Status::Ok : Status::DoesNotFit) << c.name;
        EXPECT_FALSE(grid.Value(c.rows, 0)) << c.name;
    }
}

TEST(TableGrid, CopiesTheSelectionAsLinesOfTabs) {
    ShownGrid grid(DataType::Tbl3d, Matrix(3, 3, [](uint32_t a, uint32_t b) {
                       return a && b ? a + b / 4.0 : KeyedValue(a, b);
                   }));
    EXPECT_EQ(grid.CopyText({{0, 0}, {1, 1}}, ','), "1,25\t\n\t2,5\n");
    EXPECT_EQ(grid.CopyText({{1, 0}, {1, 1}, {7, 7}}, '.'), "1.5\t2.5\n");
    EXPECT_EQ(grid.CopyText({}, '.'), "");
    // What was copied pastes back unchanged.
    const Bytes before = grid.node->record.data.ToVector();
    EXPECT_TRUE(grid.Paste(0, 0, grid.CopyText({{0, 0}, {0, 1}, {1, 0}, {1, 1}}, ','), '.').status == Status::Ok);
    EXPECT_EQ(grid.node->record.data, before);

    auto words = TableNode(DataType::Tbl16_2, WordTable({-32768, 1024}));
    grid.Show(words.get());
    EXPECT_EQ(grid.CopyText({{0, 0}, {0, 1}, {1, 0}, {1, 1}}, '.'), "0\t-16\n1\t0.5\n");
    // Into a zeroed table, bit for bit also where 15 digits name another double.
    const double third = 1.0 / 3;
    const struct {
        int type;
        Bytes bytes;
        Bytes zeroed;
        int firstColumn; // the 16-bit tables' index column is no value
    } tables[] = {
        {DataType::TblDb, PairTable({{-1.9634953514860003, 0.1 + 0.2}, {third, 1e-300}}), PairTable({{0, 0}, {0, 0}}), 0},
        {DataType::Tbl3d, Matrix(3, 3, [=](uint32_t a, uint32_t b) { return a && b ? a * third + b * 0.1 : KeyedValue(a, b); }),
         Matrix(3, 3, [](uint32_t a, uint32_t b) { return a && b ? 0.0 : KeyedValue(a, b); }), 0},
        {DataType::Tbl16_2, WordTable({32767, -32768, 1, -1}), WordTable({0, 0, 0, 0}), 1},
    };
    for (const auto& t : tables) {
        ShownGrid source(t.type, t.bytes);
        ShownGrid target(t.type, t.zeroed);
        std::vector<GridCell> all;
        for (int r = 0; r < source.Rows(); ++r) {
            for (int c = t.firstColumn; c < source.Columns(); ++c) {
                all.push_back({r, c});
            }
        }
        for (char mark : {'.', ','}) {
            target.node->record.SetData(t.zeroed);
            EXPECT_EQ(target.Paste(0, t.firstColumn, source.CopyText(all, mark), '.').status, Status::Ok);
            EXPECT_EQ(target.node->record.data, t.bytes) << t.type << mark;
        }
    }
}

// A cell is a point of a curve, for every layout, and back.
TEST(TableGrid, CellsArePointsOfTheGraph) {
    struct Case {
        int type;
        Bytes bytes;
        GridCell cell;
        GridPoint point;
    } cases[] = {
        {DataType::TblDb, PairTable({{0, 1}, {2, 3}}), {1, 1}, {0, 1}},
        {DataType::Tbl16, WordTable({1, 2, 3}), {2, 1}, {0, 2}},
        {DataType::Tbl3d, Matrix(4, 3, KeyedValue), {1, 2}, {2, 1}},   // columns are curves
        {DataType::Tbl3d_2, Matrix(4, 3, KeyedValue), {1, 2}, {1, 2}}, // rows are curves
    };
    for (const Case& c : cases) {
        ShownGrid grid(c.type, c.bytes);
        EXPECT_EQ(grid.PointOfCell(c.cell.row, c.cell.column), c.point) << c.type;
        EXPECT_EQ(grid.CellOfPoint(c.point.curve, c.point.point), c.cell) << c.type;
        EXPECT_FALSE(grid.CellOfPoint(c.point.curve, 99)) << c.type;
        EXPECT_EQ(grid.OnCurve(c.cell.row, c.cell.column, c.point.curve), grid.IsMatrix()) << c.type;
    }
    ShownGrid grid(DataType::Tbl3d, Matrix(4, 3, KeyedValue));
    EXPECT_EQ(grid.ColumnKey(2), 30.0);
    EXPECT_EQ(grid.RowKey(1), 2.0);
    EXPECT_EQ(grid.Value(1, 2), 302.0);
}

bool IsMatrix(int type) {
    return type == DataType::Tbl3d || type == DataType::Tbl3d_2;
}

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
        TableTextStyle style = {};
    } cases[] = {
        {"fixed point scaled and truncated", DataType::Tbl16_2, WordTable({0, 0, 0}), "Points: 3\n1.5\n-0,75\n0.0007\n",
         WordTable({3072, -1536, 1}), 3},
        {"unsigned words", DataType::Tbl16, WordTable({5, 5}), "Points: 2\n65535\n0\n", WordTable({-1, 0}), 2},
        {"header blanks and case, CR LF, empty lines at the end", DataType::Tbl16, WordTable({5, 5}),
         "points:2\r\n7\r\n8\r\n\r\n\n", WordTable({7, 8}), 2},
        {"tab, semicolon and blank separate", DataType::TblDb, PairTable({{0, 0}, {0, 0}, {0, 0}}),
         "Points: 3\n1\t2\n 3 ; 4,5 \n5 6\n", PairTable({{1, 2}, {3, 4.5}, {5, 6}}), 6},
        {"a comma separates when the setting writes one between values", DataType::TblDb, PairTable({{9, 9}, {9, 9}}),
         "Points: 2\n1.5,2.5\n3,4\n", PairTable({{1.5, 2.5}, {3, 4}}), 4, {1, 1}},
        {"matrix in stored order whatever the view", DataType::Tbl3d_2, Matrix(2, 2, KeyedValue),
         "Columns: 2, Rows: 2\n-1;-2\n-3;-4\n", Matrix(2, 2, [](uint32_t a, uint32_t b) { return -1.0 - 2 * a - b; }), 4},
        {"tiny numbers are zero", DataType::TblDb, PairTable({{1, 1}}), "Points: 1\n1e-400 +2e3\n", PairTable({{0, 2000}}), 2},
    };
    for (const Case& c : cases) {
        const TableImport r = ReadTableText(c.type, c.before, c.text, c.style);
        EXPECT_EQ(std::tuple(r.status, r.reason, r.bytes, r.valuesRead),
                  std::tuple(TableImport::Status::Ok, "", c.after, c.values)) << c.name;
    }
}

// Each of these imported in part, or wrongly, and said "N values read"; now the whole file is
// refused, saying where and what was expected.
TEST(TableText, AFileOfAnotherShapeOrABadFieldChangesNothing) {
    struct Case {
        int type;
        Bytes before;
        std::string text;
        int line;
        std::string reason;
    } cases[] = {
        {DataType::Tbl3d, Matrix(3, 2, KeyedValue), "Points: 2\n1\n2\n", 1, "expected \"Columns: 3, Rows: 2\", found \"Points: 2\""},
        {DataType::Tbl16, WordTable({5, 5, 5}), "Points: 2\n1\n2\n", 1, "expected \"Points: 3\", found \"Points: 2\""},
        {DataType::Tbl16, WordTable({5, 5, 5}), "Points: 3\n7\n", 3, "the file ends after 1 of 3 value lines"},
        {DataType::Tbl16, WordTable({5, 5}), "", 0, "the file is empty, expected \"Points: 2\""},
        {DataType::TblDb, PairTable({{0, 0}}), " \r\n\n", 0, "the file is empty, expected \"Points: 1\""},
        {DataType::Tbl16, WordTable({5}), "\x01\xff\xfe" "abc\n1\n", 1, "expected \"Points: 1\", found \"??abc\""},
        {DataType::TblDb, PairTable({{0, 0}, {0, 0}}), "Points: 2\n1.5,2.5\n3,4\n", 2, "expected 2 numbers, found \"1.5,2.5\""},
        {DataType::Tbl3d, Matrix(2, 4, KeyedValue), "Columns: 2, Rows: 4\n1 2\n1 2 3 4\n", 2, "expected 4 numbers, found \"1 2\""},
        {DataType::Tbl16, WordTable({5, 5}), "Points: 2\n\n8\n", 2, "expected 1 number, found \"\""},
        {DataType::Tbl16, WordTable({5}), "Points: 1\n1\n2\n", 3, "expected the end of the file after 1 value lines, found \"2\""},
        {DataType::Tbl16, WordTable({5, 5}), "Points: 2\n7\n1.5\n", 3, "'1.5' is not a whole number"},
        {DataType::Tbl16, WordTable({5}), "Points: 1\n65536\n", 2, "values between 0 and 65535 only"},
        {DataType::Tbl16_2, WordTable({1}), "Points: 1\n20\n", 2, "values between -16 and 15.99951171875 only"},
        {DataType::Tbl16_2, WordTable({1}), "Points: 1\nnan\n", 2, "'nan' is not a number"},
        {DataType::TblDb, PairTable({{0, 0}, {0, 0}}), "Points: 2\n1 2\n3 abc\n", 3, "'abc' is not a number"},
        {DataType::TblDb, PairTable({{0, 0}}), "Points: 1\n1,5.5 2\n", 2, "'1,5.5' is not a number"},
        {DataType::Tbl3d, Matrix(2, 2, KeyedValue), "Columns: 2, Rows: 2\n1 2\n3 1e999\n", 3, "'1e999' is too large"},
    };
    for (const Case& c : cases) {
        const TableImport r = ReadTableText(c.type, c.before, c.text);
        EXPECT_EQ(std::tuple(r.status, r.line, r.reason, r.bytes.empty()),
                  std::tuple(TableImport::Status::Refused, c.line, c.reason, true)) << c.text;
    }
    const TableImport r = ReadTableText(DataType::Tbl16, WordTable({5}), "Points: 1\nx\n");
    EXPECT_EQ(TableImportMessage(r, "lift.txt", false), "lift.txt line 2: 'x' is not a number - nothing was changed");
    EXPECT_EQ(TableImportMessage(r, "lift.txt", true), "lift.txt Zeile 2: 'x' ist keine Zahl - nichts wurde geändert");
    EXPECT_EQ(ReadTableText(DataType::Double, Bytes(8, 0), "h\n1\n").status, TableImport::Status::NotATable);
}

// 15 digits changed 69 of 388 bytes of a real lift table on the way out and back.
TEST(TableText, ExportedTablesImportBackUnchanged) {
    const double third = 1.0 / 3;
    const struct {
        int type;
        Bytes bytes;
    } tables[] = {
        {DataType::TblDb, PairTable({{-0.0174532925199433, 0.1}, {-1.9634953514860003, 0.1 + 0.2}, {third, -0.0}})},
        {DataType::Tbl16, WordTable({0, 1, -1, 32768})},
        {DataType::Tbl16_2, WordTable({-32768, 32767, 1, -1})},
        {DataType::Tbl3d, Matrix(4, 3, [=](uint32_t a, uint32_t b) { return a * third - b * 0.1; })},
        {DataType::Tbl3d_2, Matrix(2, 3, [=](uint32_t a, uint32_t b) { return (a + 1) * 1e300 / (b + 3); })},
    };
    for (const auto& t : tables) {
        for (int delimiter : {1, 2, 3}) {
            for (int decimal : {1, 2}) {
                Bytes zeroed = t.bytes;
                std::fill(zeroed.begin() + (IsMatrix(t.type) ? 8 : t.type == DataType::TblDb ? 4 : 0), zeroed.end(), 0);
                const TableImport r = ReadTableText(t.type, zeroed, Export(t.type, t.bytes, {delimiter, decimal}),
                                                    {delimiter, decimal});
                // "," between values and in them cannot be told apart: refused, never misread.
                if (delimiter == 1 && decimal == 2 && (t.type == DataType::TblDb || IsMatrix(t.type))) {
                    EXPECT_EQ(r.status, TableImport::Status::Refused) << t.type;
                    continue;
                }
                EXPECT_EQ(r.bytes, t.bytes) << t.type << " " << delimiter << " " << decimal;
            }
        }
    }
}

TEST(TableCfgLine, NumbersReadBackToTheSameDouble) {
    const std::pair<double, const char*> cases[] = {
        {0.1, "0.1"},
        {0.1 + 0.2, "0.30000000000000004"}, // 15 digits would read back as 0.3
        {1.0 / 3, "0.33333333333333331"},
        {-0.0, "-0"},
        {1e20, "1e+20"},
        {-3.15, "-3.15"},
        {4.9406564584124654e-324, "4.94065645841247e-324"}, // the smallest subnormal
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(RoundTripNumberText(value), text);
    }
}

TEST(TableCfgLine, EveryTypeAsOneLine) {
    const std::tuple<int, Bytes, std::string> cases[] = {
        {DataType::TblDb, PairTable({{-3.15, 0}, {0, 0.22}, {0.26, 1.7}}), "-3.15:0, 0:0.22, 0.26:1.7"},
        {DataType::Tbl16, WordTable({0, 1234, -1}), "0:0, 1:1234, 2:65535"},
        {DataType::Tbl16_2, WordTable({0x0800, -0x0800, 1}), "0:1, 1:-1, 2:0.00048828125"},
        // Rows as the grid shows them: the corner, then the column keys; each row key, then its values.
        {DataType::Tbl3d, Matrix(3, 2, KeyedValue), "0:10:20, 1:101:201"},
        {DataType::Tbl3d_2, Matrix(3, 2, KeyedValue), "0:10:20, 1:101:201"},
        // Only what the record holds.
        {DataType::TblDb, Concat({Le32(9), LeDouble(1), LeDouble(2)}), "1:2"},
        {DataType::Tbl3d, Concat({Le32(5), Le32(1), LeDouble(7)}), "7"},
        {DataType::TblDb, Le32(0), ""},
    };
    for (const auto& [type, bytes, line] : cases) {
        const CfgLineWrite written = WriteCfgLine(type, bytes);
        EXPECT_EQ(std::tie(written.status, written.line), std::tuple(CfgLineWrite::Status::Ok, line)) << line;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(WriteCfgLine(DataType::TblDb, PairTable({{0, nan}})).status, CfgLineWrite::Status::NotFinite);
    EXPECT_EQ(WriteCfgLine(DataType::Tbl3d, Bytes(7, 0)).status, CfgLineWrite::Status::TooShort);
    EXPECT_EQ(WriteCfgLine(DataType::Double, Bytes(8, 0)).status, CfgLineWrite::Status::NotATable);
}

TEST(TableCfgLine, ExportedLinesImportBackBitForBit) {
    const std::pair<int, Bytes> tables[] = {
        {DataType::TblDb, PairTable({{-0.0174532925199433, 0.1 + 0.2}, {-0.0, 123456.789012345}})},
        {DataType::Tbl16, WordTable({0, 1, -1, 32768})},
        {DataType::Tbl16_2, WordTable({-32768, 32767, 1, -1})},
        {DataType::Tbl3d, Matrix(4, 3, [](uint32_t a, uint32_t b) { return a / 3.0 - b * 1e300; })},
        {DataType::Tbl3d_2, Matrix(2, 5, [](uint32_t a, uint32_t b) { return a * 0.1 + b * 4.9e-324; })},
    };
    for (const auto& [type, bytes] : tables) {
        Bytes zeroed = bytes;
        std::fill(zeroed.begin() + (type == DataType::Tbl3d || type == DataType::Tbl3d_2 ? 8
                                    : type == DataType::TblDb                            ? 4
                                                                                         : 0),
                  zeroed.end(), 0);
        const std::string line = WriteCfgLine(type, bytes).line;
        const CfgLineRead read = ReadCfgLine(type, zeroed, "table = " + line + " ; from the export\r\n");
        EXPECT_EQ(read.status, CfgLineRead::Status::Ok) << line;
        EXPECT_EQ(read.bytes, bytes) << line;
    }
}

TEST(TableCfgLine, ImportTakesKeysAndCommentsAndRefusesOtherShapes) {
    using S = CfgLineRead::Status;
    const Bytes pairs = PairTable({{0, 0}, {0, 0}});
    const Bytes matrix = Matrix(3, 2, KeyedValue);
    struct Case {
        int type;
        const Bytes& before;
        std::string text;
        S status;
        Bytes after; // Ok only
        std::string why;
    } cases[] = {
        {DataType::TblDb, pairs, "lift_coef_aoa_table = -3.15:0, 0:0.22 ; ported", S::Ok, PairTable({{-3.15, 0}, {0, 0.22}}), ""},
        {DataType::TblDb, pairs, "\xef\xbb\xbf" "1:2,3:4\n", S::Ok, PairTable({{1, 2}, {3, 4}}), ""},
        {DataType::Tbl3d, matrix, "thrust_table = 9:8:7, 1:-1:+2e3", S::Ok,
         Matrix(3, 2, [](uint32_t a, uint32_t b) { return std::array{9.0, 1.0, 8.0, -1.0, 7.0, 2000.0}[2 * a + b]; }), ""},
        {DataType::Tbl16_2, WordTable({0, 0}), "0:1.5, 1:-0.75", S::Ok, WordTable({3072, -1536}), ""},
        {DataType::TblDb, pairs, "1:2", S::WrongShape, {}, "The line has 1 comma-separated groups; the table has 2."},
        {DataType::TblDb, pairs, "1:2, 3:4, 5:6", S::WrongShape, {}, "The line has 3 comma-separated groups; the table has 2."},
        {DataType::TblDb, pairs, "1:2, 3", S::WrongShape, {}, "Group 2 has 1 values; the table has 2."},
        {DataType::Tbl3d, matrix, "0:10:20, 1:101", S::WrongShape, {}, "Group 2 has 2 values; the table has 3."},
        // A matrix line turned the other way round.
        {DataType::Tbl3d, matrix, "0:1, 10:101, 20:201", S::WrongShape, {}, "The line has 3 comma-separated groups; the table has 2."},
        {DataType::TblDb, pairs, "", S::WrongShape, {}, "The line has 0 comma-separated groups; the table has 2."},
        {DataType::TblDb, pairs, "1:2, 3:4\n5:6, 7:8", S::TwoLines, {}, "The text holds more than one line."},
        {DataType::TblDb, pairs, "1:2, 3:4,5", S::WrongShape, {}, "The line has 3 comma-separated groups; the table has 2."},
        {DataType::TblDb, pairs, "1:2, 3:nan", S::NotANumber, {}, "\"nan\" is not a number."},
        {DataType::TblDb, pairs, "1:2, 3:", S::NotANumber, {}, "\"\" is not a number."},
        {DataType::TblDb, pairs, "1:2, 3:1e39", S::OutOfRange, {}, ""},
        {DataType::Tbl16, WordTable({0, 0}), "0:1, 2:1", S::WrongIndex, {}, "\"2\" is not the index of its group."},
        {DataType::Tbl16, WordTable({0, 0}), "0:1, 1:65536", S::OutOfRange, {}, "\"65536\" is not between 0 and 65535."},
        {DataType::Tbl16_2, WordTable({0}), "0:16", S::OutOfRange, {}, ""},
        // The exact range of the table text import: the largest stored value is 32767/2048,
        // and a value between it and the record editor's 15.9999 is refused as there.
        {DataType::Tbl16_2, WordTable({0, 0}), "0:15.99951171875, 1:-16", S::Ok, WordTable({32767, -32768}), ""},
        {DataType::Tbl16_2, WordTable({0}), "0:15.9998", S::OutOfRange, {}, "\"15.9998\" is not between -16 and 15.99951171875."},
        {DataType::Tbl16, WordTable({0}), "0:1.5", S::NotWhole, {}, "\"1.5\" is not a whole number."},
        {DataType::Double, Bytes(8, 0), "0:1", S::NotATable, {}, "The record is not a table."},
    };
    for (const Case& c : cases) {
        const CfgLineRead read = ReadCfgLine(c.type, c.before, c.text);
        EXPECT_EQ(read.status, c.status) << c.text;
        EXPECT_EQ(read.bytes, c.after) << c.text;
        if (!c.why.empty()) {
            EXPECT_EQ(DescribeCfgLineRefusal(read), c.why) << c.text;
        }
    }
}

} // namespace
} // namespace kelvara
