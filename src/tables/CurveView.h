// The state of the one graph: how the shown table record is read as curves, which curve and
// point are current, the overlay, the data extents, and the visible range with the mapping
// between panel pixels and table values. Values are read from and written to the record
// itself; a write goes through the one record edit operation.
#pragma once

#include "TableLayout.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace kelvara {

class RecordNode;

struct Extents {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// The value range the graph shows, before the horizontal offset.
struct VisibleRange {
    double left = 0, right = 1, bottom = 0, top = 1;
    [[nodiscard]] double XSpan() const { return right - left; }
    [[nodiscard]] double YSpan() const { return top - bottom; }
};

// What could not be shown of the table, for a message.
struct TableNotices {
    bool matrixCutShort = false; // the record ends before its counts say
    bool curvesLimited = false;  // more curves than the selector has rows
    bool overlayDiffers = false; // the overlaid table has another size
    bool pointsLimited = false;  // more points than a curve shows
};

class CurveView {
  public:
    // The selector has 500 rows, so at most 500 curves can be chosen.
    static constexpr int kMaxCurves = 500;
    // Real tables have tens of points; a hostile record must not make the graph unbounded.
    static constexpr int kMaxPoints = 10000;
    static constexpr int kAxisX = 0;
    static constexpr int kAxisY = 1;

    // An empty graph; the marked point becomes 0 and the overlay is cleared.
    void ShowNoTable();
    // resetMark: a new table or curve marks point 0; a changed value keeps the marked point.
    void ShowPairTable(bool resetMark, RecordNode& node);
    // kind 16: unsigned values; 2048: signed fixed point.
    void ShowWordTable(bool resetMark, int kind, RecordNode& node);
    // orientation 0: one curve per column; any other value: one curve per row.
    void ShowMatrix(bool resetMark, int orientation, int currentCurve, RecordNode& node);
    // A second matrix drawn behind the shown one, read only within its own bytes.
    void SetOverlay(const RecordNode* overlay);

    // X (axis 0) or Y (axis 1) of a point of the current curve, or of the given curve.
    [[nodiscard]] long double PointValue(int axis, int point) const;
    [[nodiscard]] long double PointValue(int axis, int point, int curve) const;
    // Writes the value back into the record; X of the 16-bit tables is the index and stays.
    // False when nothing was written, also when the bytes would stay as they are.
    bool SetPointValue(int axis, int point, long double value);
    // The same point read from the overlay; nullopt where the overlay has no such element.
    [[nodiscard]] std::optional<long double> OverlayValue(int axis, int point, int curve) const;
    [[nodiscard]] bool HasOverlay() const { return mOverlay != nullptr; }

    // X from the first and last point, Y over every point of every curve. Y comes from a tree
    // of block extents kept since the table was shown, so a refit after an edit does not read
    // the table again.
    void ComputeExtents();
    // The point's bytes were written elsewhere (the grid): extents and drawing follow it.
    void PointWritten(int curve, int point);

    // A point whose drawing changed; curve -1: the point of every curve (a shared key).
    struct ChangedPoint {
        int curve = 0;
        int point = 0;
    };
    // Moves whenever more changed than the points listed since the last take: a new table,
    // curve, overlay or too many points at once.
    [[nodiscard]] uint64_t Revision() const { return mRevision; }
    // The points changed since the last call, for a drawing that follows them.
    std::vector<ChangedPoint> TakeChangedPoints() { return std::exchange(mChanged, {}); }

    [[nodiscard]] CurveMode Mode() const { return mMode; }
    [[nodiscard]] int PointCount() const { return mPointCount; }
    [[nodiscard]] int CurveCount() const { return mCurveCount; }
    [[nodiscard]] int CurrentCurve() const { return mCurrentCurve; }
    [[nodiscard]] int MarkedPoint() const { return mMarkedPoint; }
    void SetMarkedPoint(int point);
    [[nodiscard]] const Extents& DataExtents() const { return mExtents; }
    [[nodiscard]] const TableNotices& Notices() const { return mNotices; }
    [[nodiscard]] RecordNode* Node() const { return mNode; }
    // X of a point as drawn: the index for the 16-bit tables.
    [[nodiscard]] double DrawnX(int point) const;

    // Navigation, reset with every new record view.
    double zoom = 1.0;
    double horizontalOffset = 0.0;
    int viewportWidth = 1;
    int viewportHeight = 1;
    void ResetNavigation();

    // The range from the extents and the zoom; stored as the range of the last drawing.
    VisibleRange ComputeVisibleRange();
    [[nodiscard]] const VisibleRange& LastRange() const { return mVisible; }
    // Pixel (origin top left) to table value, by the last drawing.
    [[nodiscard]] std::pair<double, double> PixelToValue(int x, int y) const;
    // A downward movement gives a positive Y delta.
    [[nodiscard]] std::pair<double, double> PixelDeltaToValue(int dx, int dy) const;

  private:
    void Reset(CurveMode mode, RecordNode* node, bool resetMark);
    void FinishShow();
    [[nodiscard]] std::optional<long double> MatrixPoint(const RecordNode& node,
                                                         const MatrixShape& shape, int axis,
                                                         int point, int curve) const;
    [[nodiscard]] double ExtentY(int curve, int point) const;
    void BuildExtentTree();
    void UpdateExtentBlock(size_t block);
    void NoteChanged(int curve, int point);

    CurveMode mMode = CurveMode::PairTable;
    RecordNode* mNode = nullptr;
    const RecordNode* mOverlay = nullptr;
    MatrixShape mShape;
    MatrixShape mOverlayShape;
    int mPointCount = 0;
    int mCurveCount = 0;
    int mCurrentCurve = 0;
    int mMarkedPoint = 0;
    Extents mExtents;
    TableNotices mNotices;
    VisibleRange mVisible;

    // Y extents of blocks of points (curve after curve), and above them a tree of blocks.
    static constexpr size_t kBlock = 64;
    std::vector<double> mLow;
    std::vector<double> mHigh;
    size_t mTreeLeaves = 0; // a power of two; the tree's leaves start there
    bool mTreeValid = false;
    double mOverlayLow = 0;
    double mOverlayHigh = 0;
    uint64_t mRevision = 0;
    std::vector<ChangedPoint> mChanged;
};

} // namespace kelvara
