#include "CurveView.h"

#include "ByteIO.h"
#include "RecordEdits.h"
#include "RecordTree.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kelvara {

namespace {

constexpr double kNoMinimum = 2000000000.0;

int ClampCount(uint64_t count, uint64_t limit) {
    return static_cast<int>(std::min(count, limit));
}

} // namespace

void CurveView::Reset(CurveMode mode, RecordNode* node, bool resetMark) {
    mMode = mode;
    mNode = node;
    mPointCount = 0;
    mCurveCount = node ? 1 : 0;
    mCurrentCurve = 0;
    mNotices = {};
    mShape = {};
    mTreeValid = false;
    ++mRevision;
    mChanged.clear();
    if (resetMark) {
        mMarkedPoint = 0;
    }
}

void CurveView::FinishShow() {
    if (mCurveCount == 0) {
        mPointCount = 0;
    }
    mNotices.pointsLimited = mPointCount > kMaxPoints;
    mPointCount = std::min(mPointCount, kMaxPoints);
    mCurrentCurve = std::clamp(mCurrentCurve, 0, std::max(mCurveCount - 1, 0));
    SetMarkedPoint(mMarkedPoint);
    if (mPointCount > 0) {
        ComputeExtents();
    }
}

void CurveView::ShowNoTable() {
    Reset(CurveMode::PairTable, nullptr, true);
    mOverlay = nullptr;
}

void CurveView::ShowPairTable(bool resetMark, RecordNode& node) {
    Reset(CurveMode::PairTable, &node, resetMark);
    mPointCount = ClampCount(TblDbPointsPresent(node.record.Bytes()), INT32_MAX);
    FinishShow();
}

void CurveView::ShowWordTable(bool resetMark, int kind, RecordNode& node) {
    Reset(kind == 16 ? CurveMode::Word16Table : CurveMode::Fixed16Table, &node, resetMark);
    mPointCount = ClampCount(node.record.data.size() / 2, INT32_MAX);
    FinishShow();
}

void CurveView::ShowMatrix(bool resetMark, int orientation, int currentCurve, RecordNode& node) {
    Reset(orientation == 0 ? CurveMode::ColumnCurves : CurveMode::RowCurves, &node, resetMark);
    const auto shape = ReadMatrixShape(node.record.Bytes());
    if (shape) {
        mShape = *shape;
        mNotices.matrixCutShort = shape->CutShort();
        // Keys take the first column and row; only whole columns are read.
        const uint64_t columns = shape->wholeColumns > 0 ? shape->wholeColumns - 1 : 0;
        const uint64_t rows = shape->rows > 0 ? shape->rows - 1 : 0;
        const uint64_t curves = mMode == CurveMode::ColumnCurves ? columns : rows;
        const uint64_t points = mMode == CurveMode::ColumnCurves ? rows : columns;
        mNotices.curvesLimited = curves > kMaxCurves;
        mCurveCount = ClampCount(curves, kMaxCurves);
        mPointCount = ClampCount(points, INT32_MAX);
    } else {
        mCurveCount = 0;
        mNotices.matrixCutShort = true;
    }
    mCurrentCurve = currentCurve;
    if (mOverlay) {
        SetOverlay(mOverlay);
    }
    FinishShow();
}

void CurveView::SetOverlay(const RecordNode* overlay) {
    mTreeValid = false;
    ++mRevision;
    mOverlay = nullptr;
    mNotices.overlayDiffers = false;
    if (!overlay) {
        return;
    }
    const auto shape = ReadMatrixShape(overlay->record.Bytes());
    if (!shape) {
        mNotices.overlayDiffers = true;
        return;
    }
    mOverlay = overlay;
    mOverlayShape = *shape;
    mNotices.overlayDiffers = shape->columns != mShape.columns || shape->rows != mShape.rows ||
                              shape->CutShort();
}

void CurveView::SetMarkedPoint(int point) {
    mMarkedPoint = std::clamp(point, 0, std::max(mPointCount - 1, 0));
}

double CurveView::DrawnX(int point) const {
    if (mMode == CurveMode::Word16Table || mMode == CurveMode::Fixed16Table) {
        return point;
    }
    return static_cast<double>(PointValue(kAxisX, point));
}

std::optional<long double> CurveView::MatrixPoint(const RecordNode& node, const MatrixShape& shape,
                                                  int axis, int point, int curve) const {
    if (point < 0 || curve < 0) {
        return std::nullopt;
    }
    const uint32_t p = static_cast<uint32_t>(point) + 1;
    const uint32_t k = axis == kAxisX ? 0 : static_cast<uint32_t>(curve) + 1;
    const auto value = mMode == CurveMode::ColumnCurves ? MatrixElement(node.record.Bytes(), shape, k, p)
                                                        : MatrixElement(node.record.Bytes(), shape, p, k);
    if (!value) {
        return std::nullopt;
    }
    return *value;
}

long double CurveView::PointValue(int axis, int point) const {
    return PointValue(axis, point, mCurrentCurve);
}

long double CurveView::PointValue(int axis, int point, int curve) const {
    if (!mNode || point < 0) {
        return 0;
    }
    const auto data = mNode->record.Bytes();
    switch (mMode) {
    case CurveMode::PairTable:
        return ReadLE<double>(data, 4 + kPairBytes * static_cast<size_t>(point) + (axis == kAxisX ? 0 : 8))
            .value_or(0.0);
    case CurveMode::Word16Table:
        if (axis == kAxisX) {
            return point;
        }
        return ReadLE<uint16_t>(data, 2 * static_cast<size_t>(point)).value_or(0);
    case CurveMode::Fixed16Table:
        if (axis == kAxisX) {
            return point;
        }
        return ReadLE<int16_t>(data, 2 * static_cast<size_t>(point)).value_or(0) * 0.00048828125L;
    case CurveMode::ColumnCurves:
    case CurveMode::RowCurves:
        return MatrixPoint(*mNode, mShape, axis, point, curve).value_or(0.0L);
    }
    return 0;
}

bool CurveView::SetPointValue(int axis, int point, long double value) {
    if (!mNode || point < 0 || point >= mPointCount) {
        return false;
    }
    // Only the value's own bytes are written: an edit costs the same in a table of any size.
    std::array<uint8_t, 8> bytes{};
    size_t size = 0;
    std::optional<size_t> offset;
    const size_t index = static_cast<size_t>(point);
    switch (mMode) {
    case CurveMode::PairTable:
        offset = 4 + kPairBytes * index + (axis == kAxisX ? 0 : 8);
        size = WriteLE<double>(bytes, static_cast<double>(value)) ? 8 : 0;
        break;
    case CurveMode::Word16Table:
    case CurveMode::Fixed16Table:
        if (axis == kAxisX) {
            return false;
        }
        offset = 2 * index;
        size = WriteLE<uint16_t>(bytes, mMode == CurveMode::Word16Table ? Word16Bits(value) : Fixed16Bits(value)) ? 2 : 0;
        break;
    case CurveMode::ColumnCurves:
    case CurveMode::RowCurves: {
        const uint32_t p = static_cast<uint32_t>(point) + 1;
        const uint32_t k = axis == kAxisX ? 0 : static_cast<uint32_t>(mCurrentCurve) + 1;
        offset = mMode == CurveMode::ColumnCurves ? MatrixElementOffset(mShape, k, p)
                                                  : MatrixElementOffset(mShape, p, k);
        size = WriteLE<double>(bytes, static_cast<double>(value)) ? 8 : 0;
        break;
    }
    }
    const auto written = std::span(bytes).first(size);
    const auto now = mNode->record.Bytes();
    // The value already stored is no edit: no undo step, no changed mark.
    if (!offset || size == 0 || *offset > now.size() || size > now.size() - *offset ||
        std::equal(written.begin(), written.end(), now.begin() + static_cast<std::ptrdiff_t>(*offset)) ||
        OverwriteRecordBytes(*mNode, *offset, written).status != EditStatus::Ok) {
        return false;
    }
    // X of a matrix is a key that every curve shares.
    const bool shared = axis == kAxisX && (mMode == CurveMode::ColumnCurves || mMode == CurveMode::RowCurves);
    if (axis == kAxisY) {
        PointWritten(mCurrentCurve, point);
    } else {
        NoteChanged(shared ? -1 : mCurrentCurve, point);
    }
    return true;
}

std::optional<long double> CurveView::OverlayValue(int axis, int point, int curve) const {
    if (!mOverlay || (mMode != CurveMode::ColumnCurves && mMode != CurveMode::RowCurves)) {
        return std::nullopt;
    }
    return MatrixPoint(*mOverlay, mOverlayShape, axis, point, curve);
}

double CurveView::ExtentY(int curve, int point) const {
    return static_cast<double>(PointValue(kAxisY, point, curve));
}

void CurveView::BuildExtentTree() {
    const size_t points = static_cast<size_t>(std::max(mPointCount, 0));
    const size_t cells = static_cast<size_t>(std::max(mCurveCount, 0)) * points;
    const size_t blocks = (cells + kBlock - 1) / kBlock;
    mTreeLeaves = 1;
    while (mTreeLeaves < blocks) {
        mTreeLeaves *= 2;
    }
    mLow.assign(2 * mTreeLeaves, kNoMinimum);
    mHigh.assign(2 * mTreeLeaves, -kNoMinimum);
    mOverlayLow = kNoMinimum;
    mOverlayHigh = -kNoMinimum;
    size_t cell = 0;
    for (int k = 0; k < mCurveCount; ++k) {
        for (int i = 0; i < mPointCount; ++i, ++cell) {
            const double v = ExtentY(k, i);
            const size_t leaf = mTreeLeaves + cell / kBlock;
            mLow[leaf] = std::min(mLow[leaf], v);
            mHigh[leaf] = std::max(mHigh[leaf], v);
            if (const auto overlay = OverlayValue(kAxisY, i, k)) {
                mOverlayLow = std::min(mOverlayLow, static_cast<double>(*overlay));
                mOverlayHigh = std::max(mOverlayHigh, static_cast<double>(*overlay));
            }
        }
    }
    for (size_t n = mTreeLeaves - 1; n >= 1; --n) {
        mLow[n] = std::min(mLow[2 * n], mLow[2 * n + 1]);
        mHigh[n] = std::max(mHigh[2 * n], mHigh[2 * n + 1]);
    }
    mTreeValid = true;
}

void CurveView::UpdateExtentBlock(size_t block) {
    const size_t points = static_cast<size_t>(mPointCount);
    const size_t cells = static_cast<size_t>(mCurveCount) * points;
    size_t n = mTreeLeaves + block;
    mLow[n] = kNoMinimum;
    mHigh[n] = -kNoMinimum;
    for (size_t cell = block * kBlock; cell < std::min(cells, (block + 1) * kBlock); ++cell) {
        const double v = ExtentY(static_cast<int>(cell / points), static_cast<int>(cell % points));
        mLow[n] = std::min(mLow[n], v);
        mHigh[n] = std::max(mHigh[n], v);
    }
    for (n /= 2; n >= 1; n /= 2) {
        mLow[n] = std::min(mLow[2 * n], mLow[2 * n + 1]);
        mHigh[n] = std::max(mHigh[2 * n], mHigh[2 * n + 1]);
    }
}

void CurveView::PointWritten(int curve, int point) {
    if (curve < 0 || curve >= mCurveCount || point < 0 || point >= mPointCount) {
        return;
    }
    if (mTreeValid) {
        UpdateExtentBlock((static_cast<size_t>(curve) * static_cast<size_t>(mPointCount) +
                           static_cast<size_t>(point)) / kBlock);
    }
    NoteChanged(curve, point);
}

void CurveView::NoteChanged(int curve, int point) {
    // Past a few hundred, a drawing is better made anew than followed point by point.
    if (mChanged.size() >= 256) {
        mChanged.clear();
        ++mRevision;
        return;
    }
    mChanged.push_back({curve, point});
}

void CurveView::ComputeExtents() {
    if (!mTreeValid) {
        BuildExtentTree();
    }
    Extents e;
    if (mMode == CurveMode::Word16Table || mMode == CurveMode::Fixed16Table) {
        e.xMin = 0;
        e.xMax = mPointCount - 1;
    } else {
        e.xMin = static_cast<double>(PointValue(kAxisX, 0));
        e.xMax = static_cast<double>(PointValue(kAxisX, mPointCount - 1));
    }
    e.yMin = std::min(mLow[1], mOverlayLow);
    e.yMax = std::max(mHigh[1], mOverlayHigh);
    if (e.yMin > e.yMax) { // no point had a number to widen by
        e.yMin = e.yMax = 0;
    }
    if (e.yMin == e.yMax) {
        if (e.yMin < 0) {
            e.yMax = 10.0;
        } else if (e.yMin > 0) {
            e.yMin = 0.0;
        } else {
            e.yMin = -5.0;
            e.yMax = 5.0;
        }
    }
    mExtents = e;
}

void CurveView::ResetNavigation() {
    zoom = 1.0;
    horizontalOffset = 0.0;
}

VisibleRange CurveView::ComputeVisibleRange() {
    double xMin = mExtents.xMin;
    double xMax = mExtents.xMax;
    if (!std::isfinite(xMin) || !std::isfinite(xMax) || !std::isfinite(xMax - xMin)) {
        xMin = -1;
        xMax = 1;
    }
    double xPad = 0.1 * (xMax - xMin);
    // One point, or all X equal: a range around it, so the graph draws and points can be picked.
    if (xPad == 0) {
        xPad = std::max(1.0, std::fabs(xMin) * 0.1);
    }
    VisibleRange r;
    r.left = (xMin - xPad) / zoom;
    r.right = (xMax + xPad) / zoom;
    const double yPad = 0.2 * (mExtents.yMax - mExtents.yMin);
    r.bottom = mExtents.yMin - yPad;
    r.top = mExtents.yMax + yPad;
    if (!std::isfinite(r.YSpan()) || r.YSpan() == 0) {
        r.bottom = -5;
        r.top = 5;
    }
    mVisible = r;
    return r;
}

std::pair<double, double> CurveView::PixelToValue(int x, int y) const {
    const double w = std::max(viewportWidth, 1);
    const double h = std::max(viewportHeight, 1);
    return {x * mVisible.XSpan() / w + horizontalOffset + mVisible.left,
            (h - y) * mVisible.YSpan() / h + mVisible.bottom};
}

std::pair<double, double> CurveView::PixelDeltaToValue(int dx, int dy) const {
    return {dx * mVisible.XSpan() / std::max(viewportWidth, 1),
            dy * mVisible.YSpan() / std::max(viewportHeight, 1)};
}

} // namespace kelvara
