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

// Squares keep their on-screen size at every zoom: they follow the visible spans.
GraphPrimitive Square(GraphColor color, double px, double py, double h, double v) {
    GraphPrimitive p;
    p.kind = GraphPrimitive::Kind::Square;
    p.color = color;
    p.vertices = {{px - h, py + v}, {px - h, py - v}, {px + h, py - v}, {px + h, py + v}};
    return p;
}

GraphPrimitive Curve(const CurveView& view, int curve, GraphColor color) {
    GraphPrimitive p = Lines(color);
    for (int i = 1; i < view.PointCount(); ++i) {
        AddSegment(p, view.DrawnX(i - 1), view.DrawnY(i - 1, curve), view.DrawnX(i),
                   view.DrawnY(i, curve));
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
    for (int i = 0; i < points; ++i) {
        AddSegment(pointLines, view.DrawnX(i), e.yMin, view.DrawnX(i), e.yMax);
    }
    g.items.push_back(std::move(pointLines));

    GraphPrimitive zeroLines = Lines(GraphColor::ZeroLine, kGridDepth);
    AddSegment(zeroLines, 0, e.yMin, 0, e.yMax);
    AddSegment(zeroLines, e.xMin, 0, e.xMax, 0);
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
    for (int i = 0; i < points; ++i) {
        g.items.push_back(Square(GraphColor::CurrentCurve, view.DrawnX(i), view.DrawnY(i), h, v));
    }
    const int marked = view.MarkedPoint();
    g.items.push_back(Square(GraphColor::MarkedPoint, view.DrawnX(marked), view.DrawnY(marked), h, v));
    return g;
}

} // namespace kelvara
