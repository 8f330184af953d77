// The shown table as a grid of numbers: the point pairs of a 2-D table, or the values of a
// matrix with its keys as headings. Cells are read from the record itself; every write, one
// typed cell or a pasted block, is one call of the record edit operation, so it is one step
// for an edit history.
#pragma once

#include "TableLayout.h"
#include "ValueEncoding.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvara {

class RecordNode;

struct GridCell {
    int row = 0;
    int column = 0;
    bool operator==(const GridCell&) const = default;
};

// A point of the graph: the curve and the point on it.
struct GridPoint {
    int curve = 0;
    int point = 0;
    bool operator==(const GridPoint&) const = default;
};

// Cells a write went to, from first on.
struct GridBlock {
    GridCell first;
    int rows = 0;
    int columns = 0;
};

struct GridEdit {
    enum class Status {
        Ok,
        NoTable,
        Empty,          // nothing to paste
        NotRectangular, // lines of different lengths
        DoesNotFit,     // the block runs past the table's edge
        NotEditable,    // the block covers the index column of a 16-bit table
        NotANumber,
        OutOfRange,
    };
    Status status = Status::Ok;
    bool changed = false;  // Ok: the record's bytes differ from before
    GridCell at;           // the block's cell at fault (0-based, within the block)
    int blockRows = 0;     // the pasted block's size
    int blockColumns = 0;
    int lineLength = 0;    // NotRectangular: values on the line at fault
    std::string text;      // NotANumber: the text as given
    NumberFault fault = NumberFault::None; // NotANumber: why
    RangeLimits limits;    // OutOfRange
};

class TableGrid {
  public:
    // The grid shows no more than the graph can: a cell always is a point of a curve.
    static constexpr int kMaxCurves = 500;
    static constexpr int kMaxPoints = 10000;

    enum class Layout { None, Pairs, Words, FixedWords, Matrix, MatrixByRows };

    // A table record (its type decides the layout); anything else shows nothing.
    void Show(RecordNode* node);
    void ShowNothing() { Show(nullptr); }

    [[nodiscard]] Layout Kind() const { return mLayout; }
    [[nodiscard]] bool IsMatrix() const;
    [[nodiscard]] int Rows() const { return mRows; }
    [[nodiscard]] int Columns() const { return mColumns; }
    [[nodiscard]] RecordNode* Node() const { return mNode; }

    [[nodiscard]] std::optional<double> Value(int row, int column) const;
    [[nodiscard]] bool Editable(int row, int column) const;
    // The keys of a matrix: row b's is element (0, b + 1), column a's is element (a + 1, 0).
    [[nodiscard]] std::optional<double> RowKey(int row) const;
    [[nodiscard]] std::optional<double> ColumnKey(int column) const;
    // A cell as the program writes numbers; empty outside the grid.
    [[nodiscard]] std::string CellText(int row, int column, char mark) const;

    // Typed text for one cell; a number with "." or "," as decimal mark.
    GridEdit SetCell(int row, int column, std::string_view text, char mark);
    // Tab-separated lines (CR LF tolerated) into the cells from (row, column) on. All or
    // nothing: a block that does not fit or holds a bad value changes no byte.
    GridEdit Paste(int row, int column, std::string_view block, char mark);
    // The bounding rectangle of the cells as tab-separated lines; cells not given stay empty.
    [[nodiscard]] std::string CopyText(const std::vector<GridCell>& cells, char mark) const;

    // The cells the last changing SetCell or Paste wrote; no cells once taken.
    [[nodiscard]] const GridBlock& LastWrite() const { return mLastWrite; }
    GridBlock TakeLastWrite() { return std::exchange(mLastWrite, {}); }

    [[nodiscard]] std::optional<GridPoint> PointOfCell(int row, int column) const;
    [[nodiscard]] std::optional<GridCell> CellOfPoint(int curve, int point) const;
    // True for the cells of a matrix that lie on the given curve.
    [[nodiscard]] bool OnCurve(int row, int column, int curve) const;

  private:
    // One cell's new bytes and where they go in the record.
    struct CellBytes {
        size_t offset = 0;
        size_t size = 0;
        std::array<uint8_t, 8> bytes{};
    };
    [[nodiscard]] bool Inside(int row, int column) const;
    GridEdit Store(CellBytes& cell, int row, int column, std::string_view text, char mark) const;
    GridEdit Commit(std::vector<uint8_t> bytes);

    RecordNode* mNode = nullptr;
    Layout mLayout = Layout::None;
    int mRows = 0;
    int mColumns = 0;
    MatrixShape mShape;
    GridBlock mLastWrite;
};

} // namespace kelvara
