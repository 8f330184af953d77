#include "TableGrid.h"

#include "ByteIO.h"
#include "DataType.h"
#include "RecordEdits.h"
#include "RecordTree.h"
#include "ValueFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvara {

namespace {

int Bounded(uint64_t count, int limit) {
    return static_cast<int>(std::min<uint64_t>(count, static_cast<uint64_t>(limit)));
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Splits at a separator without copying; the last piece may be empty.
std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

} // namespace

void TableGrid::Show(RecordNode* node) {
    mNode = node;
    mLastWrite = {};
    mLayout = Layout::None;
    mRows = 0;
    mColumns = 0;
    mShape = {};
    if (!node) {
        return;
    }
    const auto data = node->record.Bytes();
    switch (node->record.type) {
    case DataType::TblDb:
        // The graph shows no invalid pair table; neither does the grid.
        if (IsValidTblDb(data)) {
            mLayout = Layout::Pairs;
            mRows = Bounded(TblDbPointsPresent(data), kMaxPoints);
            mColumns = 2;
        }
        break;
    case DataType::Tbl16:
    case DataType::Tbl16_2:
        mLayout = node->record.type == DataType::Tbl16 ? Layout::Words : Layout::FixedWords;
        mRows = Bounded(data.size() / 2, kMaxPoints);
        mColumns = 2;
        break;
    case DataType::Tbl3d:
    case DataType::Tbl3d_2: {
        const auto shape = ReadMatrixShape(data);
        // Only cells the record holds: whole columns, never what a header claims.
        if (!shape || shape->wholeColumns < 2 || shape->rows < 2) {
            break;
        }
        mShape = *shape;
        const bool byColumns = node->record.type == DataType::Tbl3d;
        mLayout = byColumns ? Layout::Matrix : Layout::MatrixByRows;
        mRows = Bounded(shape->rows - 1, byColumns ? kMaxPoints : kMaxCurves);
        mColumns = Bounded(shape->wholeColumns - 1, byColumns ? kMaxCurves : kMaxPoints);
        break;
    }
    default:
        break;
    }
    if (mRows == 0 || mColumns == 0) {
        mRows = mColumns = 0;
    }
}

bool TableGrid::IsMatrix() const {
    return mLayout == Layout::Matrix || mLayout == Layout::MatrixByRows;
}

bool TableGrid::Inside(int row, int column) const {
    return mNode && row >= 0 && column >= 0 && row < mRows && column < mColumns;
}

std::optional<double> TableGrid::Value(int row, int column) const {
    if (!Inside(row, column)) {
        return std::nullopt;
    }
    const auto data = mNode->record.Bytes();
    const size_t r = static_cast<size_t>(row);
    switch (mLayout) {
    case Layout::Pairs:
        return ReadLE<double>(data, 4 + kPairBytes * r + (column == 0 ? 0 : 8));
    case Layout::Words:
        if (column == 0) {
            return row;
        }
        if (const auto v = ReadLE<uint16_t>(data, 2 * r)) {
            return *v;
        }
        return std::nullopt;
    case Layout::FixedWords:
        if (column == 0) {
            return row;
        }
        if (const auto v = ReadLE<int16_t>(data, 2 * r)) {
            return *v / 2048.0;
        }
        return std::nullopt;
    case Layout::Matrix:
    case Layout::MatrixByRows:
        return MatrixElement(data, mShape, uint32_t(column) + 1, uint32_t(row) + 1);
    case Layout::None:
        break;
    }
    return std::nullopt;
}

bool TableGrid::Editable(int row, int column) const {
    if (!Inside(row, column)) {
        return false;
    }
    // The 16-bit tables' X is the index.
    return !((mLayout == Layout::Words || mLayout == Layout::FixedWords) && column == 0);
}

std::optional<double> TableGrid::RowKey(int row) const {
    if (!IsMatrix() || !Inside(row, 0)) {
        return std::nullopt;
    }
    return MatrixElement(mNode->record.Bytes(), mShape, 0, uint32_t(row) + 1);
}

std::optional<double> TableGrid::ColumnKey(int column) const {
    if (!IsMatrix() || !Inside(0, column)) {
        return std::nullopt;
    }
    return MatrixElement(mNode->record.Bytes(), mShape, uint32_t(column) + 1, 0);
}

std::string TableGrid::CellText(int row, int column, char mark) const {
    const auto value = Value(row, column);
    if (!value) {
        return {};
    }
    if (mLayout == Layout::Words || (column == 0 && mLayout == Layout::FixedWords)) {
        return std::to_string(static_cast<long long>(*value));
    }
    // Copied cells paste back bit for bit.
    return FormatRoundTrip(*value, mark);
}

GridEdit TableGrid::Store(CellBytes& cell, int row, int column, std::string_view text,
                          char mark) const {
    GridEdit edit;
    if (!Editable(row, column)) {
        edit.status = GridEdit::Status::NotEditable;
        return edit;
    }
    const CurveMode mode = mLayout == Layout::Pairs        ? CurveMode::PairTable
                           : mLayout == Layout::Words      ? CurveMode::Word16Table
                           : mLayout == Layout::FixedWords ? CurveMode::Fixed16Table
                                                           : CurveMode::ColumnCurves;
    const TableValue value = ReadTableValue(mode, text, mark);
    if (value.fault != NumberFault::None) {
        edit.status = GridEdit::Status::NotANumber;
        edit.fault = value.fault;
        edit.text = std::string(TrimBlanks(text));
        return edit;
    }
    if (value.outside) {
        edit.status = GridEdit::Status::OutOfRange;
        edit.limits = *value.outside;
        return edit;
    }
    const size_t r = static_cast<size_t>(row);
    switch (mLayout) {
    case Layout::Pairs:
        cell.offset = 4 + kPairBytes * r + (column == 0 ? 0 : 8);
        cell.size = WriteLE<double>(cell.bytes, value.value) ? 8 : 0;
        break;
    case Layout::Words:
    case Layout::FixedWords:
        cell.offset = 2 * r;
        cell.size = WriteLE<uint16_t>(cell.bytes, TableWordBits(mode, value.value)) ? 2 : 0;
        break;
    case Layout::Matrix:
    case Layout::MatrixByRows:
        if (const auto offset = MatrixElementOffset(mShape, uint32_t(column) + 1, uint32_t(row) + 1)) {
            cell.offset = *offset;
            cell.size = WriteLE<double>(cell.bytes, value.value) ? 8 : 0;
        }
        break;
    case Layout::None:
        edit.status = GridEdit::Status::NoTable;
        break;
    }
    return edit;
}

GridEdit TableGrid::Commit(std::vector<uint8_t> bytes) {
    GridEdit edit;
    if (bytes == mNode->record.data) {
        return edit;
    }
    if (ReplaceRecordBytes(*mNode, std::move(bytes)).status != EditStatus::Ok) {
        edit.status = GridEdit::Status::NotEditable;
        return edit;
    }
    edit.changed = true;
    return edit;
}

GridEdit TableGrid::SetCell(int row, int column, std::string_view text, char mark) {
    GridEdit none;
    none.status = GridEdit::Status::NoTable;
    if (!mNode) {
        return none;
    }
    CellBytes cell;
    GridEdit edit = Store(cell, row, column, text, mark);
    if (edit.status != GridEdit::Status::Ok) {
        return edit;
    }
    // Only the cell's own bytes are written: a cell costs the same in a table of any size.
    const auto now = mNode->record.Bytes();
    if (cell.size == 0 || cell.offset > now.size() || cell.size > now.size() - cell.offset) {
        edit.status = GridEdit::Status::NotEditable;
        return edit;
    }
    const auto bytes = std::span(cell.bytes).first(cell.size);
    if (std::equal(bytes.begin(), bytes.end(), now.begin() + std::ptrdiff_t(cell.offset))) {
        return edit;
    }
    if (OverwriteRecordBytes(*mNode, cell.offset, bytes).status != EditStatus::Ok) {
        edit.status = GridEdit::Status::NotEditable;
        return edit;
    }
    mLastWrite = {{row, column}, 1, 1};
    edit.changed = true;
    return edit;
}

GridEdit TableGrid::Paste(int row, int column, std::string_view block, char mark) {
    GridEdit edit;
    if (!mNode) {
        edit.status = GridEdit::Status::NoTable;
        return edit;
    }
    // Spreadsheets end the last line too.
    if (block.ends_with('\n')) {
        block.remove_suffix(1);
    }
    const std::vector<std::string_view> lines = SplitAt(block, '\n');
    const std::string_view firstLine = lines.front();
    if (lines.size() == 1 && TrimBlanks(firstLine).empty()) {
        edit.status = GridEdit::Status::Empty;
        return edit;
    }
    edit.blockRows = Bounded(lines.size(), INT32_MAX);
    edit.blockColumns = Bounded(size_t(std::count(firstLine.begin(), firstLine.end(), '\t')) + 1, INT32_MAX);
    // The size first: a wrong clipboard of megabytes is refused before any value is read.
    if (row < 0 || column < 0 || int64_t{row} + edit.blockRows > mRows ||
        int64_t{column} + edit.blockColumns > mColumns) {
        edit.status = GridEdit::Status::DoesNotFit;
        return edit;
    }
    std::vector<std::vector<std::string_view>> cells;
    cells.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        cells.push_back(SplitAt(line, '\t'));
        if (int(cells.back().size()) != edit.blockColumns) {
            edit.status = GridEdit::Status::NotRectangular;
            edit.at = {int(i), 0};
            edit.lineLength = Bounded(cells.back().size(), INT32_MAX);
            return edit;
        }
    }
    std::vector<uint8_t> bytes = mNode->record.data.ToVector();
    for (int r = 0; r < edit.blockRows; ++r) {
        for (int c = 0; c < edit.blockColumns; ++c) {
            CellBytes value;
            GridEdit cell = Store(value, row + r, column + c, cells[size_t(r)][size_t(c)], mark);
            if (cell.status == GridEdit::Status::Ok &&
                (value.size == 0 || value.offset > bytes.size() || value.size > bytes.size() - value.offset)) {
                cell.status = GridEdit::Status::NotEditable;
            }
            if (cell.status != GridEdit::Status::Ok) {
                cell.at = {r, c};
                cell.blockRows = edit.blockRows;
                cell.blockColumns = edit.blockColumns;
                return cell;
            }
            std::copy_n(value.bytes.begin(), value.size, bytes.begin() + std::ptrdiff_t(value.offset));
        }
    }
    GridEdit done = Commit(std::move(bytes));
    if (done.changed) {
        mLastWrite = {{row, column}, edit.blockRows, edit.blockColumns};
    }
    done.blockRows = edit.blockRows;
    done.blockColumns = edit.blockColumns;
    return done;
}

std::string TableGrid::CopyText(const std::vector<GridCell>& cells, char mark) const {
    std::vector<GridCell> inside;
    for (const GridCell& cell : cells) {
        if (Inside(cell.row, cell.column)) {
            inside.push_back(cell);
        }
    }
    if (inside.empty()) {
        return {};
    }
    GridCell first = inside.front();
    GridCell last = first;
    for (const GridCell& cell : inside) {
        first = {std::min(first.row, cell.row), std::min(first.column, cell.column)};
        last = {std::max(last.row, cell.row), std::max(last.column, cell.column)};
    }
    const size_t width = size_t(last.column - first.column) + 1;
    std::vector<std::vector<std::string>> texts(size_t(last.row - first.row) + 1,
                                                std::vector<std::string>(width));
    for (const GridCell& cell : inside) {
        texts[size_t(cell.row - first.row)][size_t(cell.column - first.column)] =
            CellText(cell.row, cell.column, mark);
    }
    std::string out;
    for (const auto& line : texts) {
        for (size_t c = 0; c < line.size(); ++c) {
            out += line[c];
            out += c + 1 < line.size() ? '\t' : '\n';
        }
    }
    return out;
}

std::optional<GridPoint> TableGrid::PointOfCell(int row, int column) const {
    if (!Inside(row, column)) {
        return std::nullopt;
    }
    switch (mLayout) {
    case Layout::Matrix:
        return GridPoint{column, row};
    case Layout::MatrixByRows:
        return GridPoint{row, column};
    default:
        return GridPoint{0, row};
    }
}

std::optional<GridCell> TableGrid::CellOfPoint(int curve, int point) const {
    GridCell cell{point, 1};
    if (mLayout == Layout::Matrix) {
        cell = {point, curve};
    } else if (mLayout == Layout::MatrixByRows) {
        cell = {curve, point};
    } else if (curve != 0) {
        return std::nullopt;
    }
    return Inside(cell.row, cell.column) ? std::optional(cell) : std::nullopt;
}

bool TableGrid::OnCurve(int row, int column, int curve) const {
    return (mLayout == Layout::Matrix && column == curve) ||
           (mLayout == Layout::MatrixByRows && row == curve);
}

} // namespace kelvara
