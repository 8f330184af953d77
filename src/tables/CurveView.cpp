#include "CurveView.h"

#include "ByteIO.h"
#include "RecordEdits.h"
#include "RecordTree.h"

#include <algorithm>
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
    std::vector<uint8_t> bytes = mNode->record.data.ToVector();
    bool written = false;
    const size_t index = static_cast<size_t>(point);
    switch (mMode) {
    case CurveMode::PairTable:
        written = WriteLE<double>(bytes, static_cast<double>(value),
                                  4 + kPairBytes * index + (axis == kAxisX ? 0 : 8));
        break;
    case CurveMode::Word16Table:
        written = axis != kAxisX && WriteLE<uint16_t>(bytes, Word16Bits(value), 2 * index);
        break;
    case CurveMode::Fixed16Table:
        written = axis != kAxisX && WriteLE<uint16_t>(bytes, Fixed16Bits(value), 2 * index);
        break;
    case CurveMode::ColumnCurves:
    case CurveMode::RowCurves: {
        const uint32_t p = static_cast<uint32_t>(point) + 1;
        const uint32_t k = axis == kAxisX ? 0 : static_cast<uint32_t>(mCurrentCurve) + 1;
        written = mMode == CurveMode::ColumnCurves
                      ? SetMatrixElement(bytes, mShape, k, p, static_cast<double>(value))
                      : SetMatrixElement(bytes, mShape, p, k, static_cast<double>(value));
        break;
    }
    }
    // The value already stored is no edit: no undo step, no changed mark.
    return written && bytes != mNode->record.data &&
           ReplaceRecordBytes(*mNode, std::move(bytes)).status == EditStatus::Ok;
}

std::optional<long double> CurveView::OverlayValue(int axis, int point, int curve) const {
    if (!mOverlay || (mMode != CurveMode::ColumnCurves && mMode != CurveMode::RowCurves)) {
        return std::nullopt;
    }
    return MatrixPoint(*mOverlay, mOverlayShape, axis, point, curve);
}

void CurveView::ComputeExtents() {
    Extents e;
    e.yMin = kNoMinimum;
    e.yMax = -kNoMinimum;
    if (mMode == CurveMode::Word16Table || mMode == CurveMode::Fixed16Table) {
        e.xMin = 0;
        e.xMax = mPointCount - 1;
    } else {
        e.xMin = static_cast<double>(PointValue(kAxisX, 0));
        e.xMax = static_cast<double>(PointValue(kAxisX, mPointCount - 1));
    }
    auto widen = [&e](long double y) {
        const double v = static_cast<double>(y);
        e.yMin = std::min(e.yMin, v);
        e.yMax = std::max(e.yMax, v);
    };
    for (int k = 0; k < mCurveCount; ++k) {
        for (int i = 0; i < mPointCount; ++i) {
            widen(PointValue(kAxisY, i, k));
            if (const auto overlay = OverlayValue(kAxisY, i, k)) {
                widen(*overlay);
            }
        }
    }
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
