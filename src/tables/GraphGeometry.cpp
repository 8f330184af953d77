#include "GraphGeometry.h"

namespace kelvara {

namespace {

GraphPrimitive Lines(GraphColor color, double z = 0) {
    GraphPrimitive p;
    p.kind = GraphPrimitive::Kind::Lines;
    p.color = color;
    p.z = z;
    return p;
}

void AddSegment(GraphPrimitive& p, double x0, double y0, double x1, double y1) {
    p.vertices.push_back({x0, y0});
    p.vertices.push_back({x1, y1});
}

double YOf(const CurveView& view, int point, int curve) {
    return view.DrawnY(point, curve);
}

void SetCorners(GraphPrimitive& p, double px, double py, double h, double v) {
    p.vertices = {{px - h, py + v}, {px - h, py - v}, {px + h, py - v}, {px + h, py + v}};
}

// Squares keep their on-screen size at every zoom: they follow the visible spans.
GraphPrimitive Square(GraphColor color, double px, double py, double h, double v) {
    GraphPrimitive p;
    p.kind = GraphPrimitive::Kind::Square;
    p.color = color;
    SetCorners(p, px, py, h, v);
    return p;
}

bool SameExtents(const Extents& a, const Extents& b) {
    return a.xMin == b.xMin && a.xMax == b.xMax && a.yMin == b.yMin && a.yMax == b.yMax;
}

void SetPointLines(GraphPrimitive& lines, const CurveView& view, const Extents& e) {
    lines.vertices.resize(2 * static_cast<size_t>(view.PointCount()));
    for (int i = 0; i < view.PointCount(); ++i) {
        lines.vertices[2 * size_t(i)] = {view.DrawnX(i), e.yMin};
        lines.vertices[2 * size_t(i) + 1] = {view.DrawnX(i), e.yMax};
    }
}

void SetZeroLines(GraphPrimitive& lines, const Extents& e) {
    lines.vertices = {{0, e.yMin}, {0, e.yMax}, {e.xMin, 0}, {e.xMax, 0}};
}

GraphPrimitive Curve(const CurveView& view, int curve, GraphColor color) {
    GraphPrimitive p = Lines(color);
    for (int i = 1; i < view.PointCount(); ++i) {
        AddSegment(p, view.DrawnX(i - 1), YOf(view, i - 1, curve), view.DrawnX(i), YOf(view, i, curve));
    }
    return p;
}

// Segments only where the overlay has both ends: a smaller overlay is drawn as far as it goes.
GraphPrimitive OverlayCurve(const CurveView& view, int curve, GraphColor color) {
    GraphPrimitive p = Lines(color);
    for (int i = 1; i < view.PointCount(); ++i) {
        const auto x0 = view.OverlayValue(CurveView::kAxisX, i - 1, curve);
        const auto y0 = view.OverlayValue(CurveView::kAxisY, i - 1, curve);
        const auto x1 = view.OverlayValue(CurveView::kAxisX, i, curve);
        const auto y1 = view.OverlayValue(CurveView::kAxisY, i, curve);
        if (x0 && y0 && x1 && y1) {
            AddSegment(p, DrawnValue(*x0), DrawnValue(*y0), DrawnValue(*x1), DrawnValue(*y1));
        }
    }
    return p;
}

} // namespace

GraphGeometry BuildGraphGeometry(CurveView& view) {
    GraphGeometry g;
    if (view.PointCount() == 0) {
        return g;
    }
    g.empty = false;
    const VisibleRange range = view.ComputeVisibleRange();
    g.left = range.left + view.horizontalOffset;
    g.right = range.right + view.horizontalOffset;
    g.bottom = range.bottom;
    g.top = range.top;

    const Extents& e = view.DataExtents();
    const int points = view.PointCount();
    const int current = view.CurrentCurve();
    const bool matrix =
        view.Mode() == CurveMode::ColumnCurves || view.Mode() == CurveMode::RowCurves;

    GraphPrimitive pointLines = Lines(GraphColor::PointLine, kGridDepth);
    SetPointLines(pointLines, view, e);
    g.items.push_back(std::move(pointLines));

    GraphPrimitive zeroLines = Lines(GraphColor::ZeroLine, kGridDepth);
    SetZeroLines(zeroLines, e);
    g.items.push_back(std::move(zeroLines));

    if (matrix && view.HasOverlay()) {
        for (int c = 0; c < view.CurveCount(); ++c) {
            g.items.push_back(OverlayCurve(
                view, c, c == current ? GraphColor::OverlayCurrent : GraphColor::OverlayOther));
        }
    }
    if (matrix) {
        for (int c = 0; c < view.CurveCount(); ++c) {
            if (c != current) {
                g.items.push_back(Curve(view, c, GraphColor::OtherCurve));
            }
        }
    }
    g.items.push_back(Curve(view, current, GraphColor::CurrentCurve));

    const double h = 0.004 * range.XSpan();
    const double v = 0.007 * range.YSpan();
    g.items.reserve(g.items.size() + size_t(points) + 1);
    for (int i = 0; i < points; ++i) {
        g.items.push_back(Square(GraphColor::CurrentCurve, view.DrawnX(i), YOf(view, i, current), h, v));
    }
    const int marked = view.MarkedPoint();
    g.items.push_back(Square(GraphColor::MarkedPoint, view.DrawnX(marked), YOf(view, marked, current), h, v));
    return g;
}

const GraphGeometry& GraphDrawing::Update(CurveView& view) {
    std::vector<CurveView::ChangedPoint> changed = view.TakeChangedPoints();
    if (&view != mView || view.Revision() != mRevision || mGeometry.empty || view.PointCount() == 0) {
        mGeometry = BuildGraphGeometry(view);
        mView = &view;
        mRevision = view.Revision();
        mExtents = view.DataExtents();
        mPoints = view.PointCount();
        mCurves = view.CurveCount();
        mCurrent = view.CurrentCurve();
        mMatrix = view.Mode() == CurveMode::ColumnCurves || view.Mode() == CurveMode::RowCurves;
        mFirstCurve = 2 + (mMatrix && view.HasOverlay() ? size_t(mCurves) : 0);
        const VisibleRange& range = view.LastRange();
        mSquareWidth = 0.004 * range.XSpan();
        mSquareHeight = 0.007 * range.YSpan();
        return mGeometry;
    }
    const VisibleRange range = view.ComputeVisibleRange();
    mGeometry.left = range.left + view.horizontalOffset;
    mGeometry.right = range.right + view.horizontalOffset;
    mGeometry.bottom = range.bottom;
    mGeometry.top = range.top;
    for (const CurveView::ChangedPoint& point : changed) {
        Follow(view, point);
    }
    const Extents& e = view.DataExtents();
    if (!SameExtents(e, mExtents)) {
        mExtents = e;
        // The lines keep their X (edits move it as they come); only their ends follow the range.
        std::vector<GraphVertex>& pointLines = mGeometry.items[0].vertices;
        for (size_t i = 0; i + 1 < pointLines.size(); i += 2) {
            pointLines[i].y = e.yMin;
            pointLines[i + 1].y = e.yMax;
        }
        SetZeroLines(mGeometry.items[1], e);
    }
    const double h = 0.004 * range.XSpan();
    const double v = 0.007 * range.YSpan();
    if (h != mSquareWidth || v != mSquareHeight) {
        mSquareWidth = h;
        mSquareHeight = v;
        for (int i = 0; i < mPoints; ++i) {
            PlaceSquare(view, CurveItem(mCurrent) + 1 + size_t(i), i);
        }
    }
    PlaceSquare(view, mGeometry.items.size() - 1, view.MarkedPoint());
    return mGeometry;
}

size_t GraphDrawing::CurveItem(int curve) const {
    if (!mMatrix) {
        return mFirstCurve;
    }
    if (curve == mCurrent) {
        return mFirstCurve + size_t(mCurves) - 1;
    }
    return mFirstCurve + size_t(curve < mCurrent ? curve : curve - 1);
}

void GraphDrawing::PlaceSquare(const CurveView& view, size_t item, int point) {
    // The current curve's segments hold each point as drawn: reading them is cheaper than
    // decoding the record again when a new range moves every square.
    const std::vector<GraphVertex>& line = mGeometry.items[CurveItem(mCurrent)].vertices;
    const size_t at = point == 0 ? 0 : 2 * size_t(point) - 1;
    const GraphVertex centre =
        at < line.size() ? line[at] : GraphVertex{view.DrawnX(point), YOf(view, point, mCurrent)};
    SetCorners(mGeometry.items[item], centre.x, centre.y, mSquareWidth, mSquareHeight);
}

void GraphDrawing::Follow(const CurveView& view, const CurveView::ChangedPoint& changed) {
    const int p = changed.point;
    if (p < 0 || p >= mPoints || changed.curve >= mCurves) {
        return;
    }
    const double x = view.DrawnX(p);
    const int first = changed.curve < 0 ? 0 : changed.curve;
    const int last = changed.curve < 0 ? mCurves - 1 : changed.curve;
    for (int c = first; c <= last; ++c) {
        std::vector<GraphVertex>& line = mGeometry.items[CurveItem(c)].vertices;
        const GraphVertex at{x, YOf(view, p, c)};
        // The point ends the segment before it and starts the one after.
        if (p > 0) {
            line[2 * size_t(p) - 1] = at;
        }
        if (p + 1 < mPoints) {
            line[2 * size_t(p)] = at;
        }
    }
    if (changed.curve < 0 || changed.curve == mCurrent) {
        std::vector<GraphVertex>& pointLines = mGeometry.items[0].vertices;
        pointLines[2 * size_t(p)].x = x;
        pointLines[2 * size_t(p) + 1].x = x;
        PlaceSquare(view, CurveItem(mCurrent) + 1 + size_t(p), p);
    }
}

} // namespace kelvara
