// What the graph draws, in drawing order: coloured line lists and filled squares in table
// units, and the projection they are drawn in. The GL widget turns this list into calls.
#pragma once

#include "CurveView.h"

#include <vector>

namespace kelvara {

// The eight graph colours, numbered as the settings keep them: color1..color5, bgcolor,
// color6, color7.
enum class GraphColor {
    Background = 0,
    OtherCurve = 1,
    CurrentCurve = 2,
    MarkedPoint = 3,
    PointLine = 4,
    ZeroLine = 5,
    OverlayCurrent = 6,
    OverlayOther = 7,
};

struct GraphVertex {
    double x = 0;
    double y = 0;
};

struct GraphPrimitive {
    enum class Kind { Lines, Square };
    Kind kind = Kind::Lines;
    GraphColor color = GraphColor::Background;
    double z = 0; // grid lines lie behind the curves
    // Lines: pairs of end points. Square: four corners, drawn as one filled polygon.
    std::vector<GraphVertex> vertices;
};

struct GraphGeometry {
    bool empty = true; // no points: only the background
    // Projection: left/right already shifted by the horizontal offset.
    double left = 0, right = 1, bottom = 0, top = 1;
    std::vector<GraphPrimitive> items;
};

inline constexpr double kGridDepth = -9990.0;

// Computes the visible range (stored in the view for the pixel mapping) and the drawing list.
[[nodiscard]] GraphGeometry BuildGraphGeometry(CurveView& view);

// The drawing list kept from frame to frame. After an edit only the vertices of the changed
// points are written again (and the point lines and squares when the extents or the spans
// move), so a frame while typing or dragging costs the same in a table of any size. Anything
// else the view reports as a new revision, and the list is built anew.
class GraphDrawing {
  public:
    const GraphGeometry& Update(CurveView& view);

  private:
    void Follow(const CurveView& view, const CurveView::ChangedPoint& changed);
    void PlaceSquare(const CurveView& view, size_t item, int point);
    [[nodiscard]] size_t CurveItem(int curve) const;

    GraphGeometry mGeometry;
    const CurveView* mView = nullptr;
    uint64_t mRevision = 0;
    Extents mExtents;
    double mSquareWidth = 0;
    double mSquareHeight = 0;
    int mPoints = 0;
    int mCurves = 0;
    int mCurrent = 0;
    bool mMatrix = false;
    size_t mFirstCurve = 0; // the overlay comes before
};

} // namespace kelvara
