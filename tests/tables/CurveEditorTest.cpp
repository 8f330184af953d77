// Picking and dragging with the mouse: tolerances, locks, fine steps, the 16-bit clamps and
// the fixed-point minimum step, panning and zooming.
#include "CurveEditor.h"
#include "GraphGeometry.h"
#include "TableBytes.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace test;

// A 100 x 100 pixel graph over the table, drawn once so that pixels map to values.
struct Graph {
    explicit Graph(int type, Bytes bytes) : node(TableNode(type, std::move(bytes))) {
        if (type == DataType::TblDb) {
            view.ShowPairTable(true, *node);
        } else if (type == DataType::Tbl3d) {
            view.ShowMatrix(true, 0, 0, *node);
        } else {
            view.ShowWordTable(true, type == DataType::Tbl16 ? 16 : 2048, *node);
        }
        view.viewportWidth = 100;
        view.viewportHeight = 100;
        (void)BuildGraphGeometry(view);
    }
    std::pair<int, int> PixelOf(double x, double y) const {
        const VisibleRange& r = view.LastRange();
        return {int((x - r.left) / r.XSpan() * 100 + 0.5), int(100 - (y - r.bottom) / r.YSpan() * 100 + 0.5)};
    }
    std::unique_ptr<RecordNode> node;
    CurveView view;
    CurveEditor editor;
};

TEST(CurveEditor, PickFindsTheLowestPointWithinTolerance) {
    Graph g(DataType::TblDb, PairTable({{0, 0}, {5, 10}, {10, 0}}));
    g.view.SetMarkedPoint(2);
    auto [x, y] = g.PixelOf(5, 10);
    EXPECT_EQ(g.editor.PickPoint(g.view, x, y), 1);
    EXPECT_EQ(g.view.MarkedPoint(), 1);
    EXPECT_EQ(g.editor.textPoint, 1);
    EXPECT_EQ(g.editor.PickPoint(g.view, x + 20, y), -1); // a miss keeps the mark
    EXPECT_EQ(g.view.MarkedPoint(), 1);

    // All X equal: points can still be told apart by Y.
    Graph flat(DataType::TblDb, PairTable({{2, 0}, {2, 10}}));
    std::tie(x, y) = flat.PixelOf(2, 10);
    EXPECT_EQ(flat.editor.PickPoint(flat.view, x, y), 1);

    // Keys stored in falling order mirror the graph; picking still works.
    Graph falling(DataType::TblDb, PairTable({{10, 0}, {5, 10}, {0, 0}}));
    std::tie(x, y) = falling.PixelOf(5, 10);
    EXPECT_EQ(falling.editor.PickPoint(falling.view, x, y), 1);
}

TEST(CurveEditor, DragRules) {
    struct Case {
        const char* name;
        int type;
        Bytes bytes;
        bool lockX, lockY;
        MouseState keys;
        int dx, dy; // pixels, from the marked point 0
        Bytes expected;
    };
    MouseState right;
    right.right = true;
    MouseState alt = right, altShift = right, shiftOnly = right;
    alt.alt = altShift.alt = true;
    altShift.shift = shiftOnly.shift = true;
    // Pair table 0..10 on 100 pixels: X span 12 (0.12 per pixel), Y span 14 (0.14 per pixel).
    const Bytes pairs = PairTable({{0, 5}, {10, -5}});
    auto moved = [](double x, double y) { return PairTable({{x, y}, {10, -5}}); };
    const Case cases[] = {
        {"default locks move Y only", DataType::TblDb, pairs, true, false, right, 10, -10, moved(0, 5 + 1.4)},
        {"Y locked moves X only", DataType::TblDb, pairs, false, true, right, 10, -10, moved(1.2, 5)},
        {"Shift alone changes nothing", DataType::TblDb, pairs, true, false, shiftOnly, 0, 10, moved(0, 5 - 1.4)},
        {"Alt is a tenth", DataType::TblDb, pairs, true, false, alt, 0, 10, moved(0, 5 - 0.14)},
        {"Alt+Shift a thousandth", DataType::TblDb, pairs, true, false, altShift, 0, 10, moved(0, 5 - 0.0014)},
        {"tbl16 stops at 65535", DataType::Tbl16, WordTable({65000, 0}), true, false, right, 0, -100, WordTable({-1, 0})},
        {"tbl16 stops at 0", DataType::Tbl16, WordTable({500, 65535}), true, false, right, 0, 100, WordTable({0, -1})},
        {"tbl16_2 tiny drag moves a step", DataType::Tbl16_2, WordTable({0, 1}), true, false, altShift, 0, -1, WordTable({1, 1})},
        {"tbl16_2 tiny drag down", DataType::Tbl16_2, WordTable({0, 1}), true, false, altShift, 0, 1, WordTable({-1, 1})},
        {"tbl16_2 stops below 16", DataType::Tbl16_2, WordTable({30000, 0}), true, false, right, 0, -100, WordTable({32765, 0})},
        {"tbl16_2 stops at -16", DataType::Tbl16_2, WordTable({-30000, 0}), true, false, right, 0, 200, WordTable({-32768, 0})},
    };
    for (const Case& c : cases) {
        Graph g(c.type, c.bytes);
        g.editor.lockX = c.lockX;
        g.editor.lockY = c.lockY;
        g.editor.RememberMouse(50, 50);
        EXPECT_EQ(g.editor.DragOrNavigate(g.view, c.keys, 50 + c.dx, 50 + c.dy), DragOutcome::PointMoved);
        const Bytes got = g.node->record.data.ToVector();
        if (c.type == DataType::TblDb) {
            EXPECT_NEAR(ReadDouble(got, 4), ReadDouble(c.expected, 4), 1e-9) << c.name;
            EXPECT_NEAR(ReadDouble(got, 12), ReadDouble(c.expected, 12), 1e-9) << c.name;
        } else {
            EXPECT_EQ(got, c.expected) << c.name;
        }
    }
}

TEST(CurveEditor, PanAndZoom) {
    Graph g(DataType::TblDb, PairTable({{0, 0}, {10, 10}}));
    MouseState left, shiftLeft, middle;
    left.left = shiftLeft.left = shiftLeft.shift = true;
    middle.middle = true;
    g.editor.RememberMouse(10, 10);
    EXPECT_EQ(g.editor.DragOrNavigate(g.view, left, 60, 10), DragOutcome::Navigated);
    EXPECT_DOUBLE_EQ(g.view.horizontalOffset, -6.0); // 50 pixels of 0.12
    g.editor.DragOrNavigate(g.view, left, 10, 10);
    EXPECT_DOUBLE_EQ(g.view.zoom, 1.0);
    g.editor.DragOrNavigate(g.view, shiftLeft, 110, 10);
    EXPECT_DOUBLE_EQ(g.view.zoom, 2.0);
    g.editor.DragOrNavigate(g.view, middle, -500, 10);
    EXPECT_DOUBLE_EQ(g.view.zoom, 1.0); // never below 1
    EXPECT_EQ(g.editor.lastX, -500);

    // Without points nothing moves, not even the remembered position.
    CurveView empty;
    EXPECT_EQ(g.editor.DragOrNavigate(empty, left, 0, 0), DragOutcome::Nothing);
    EXPECT_EQ(g.editor.lastX, -500);
}

} // namespace
} // namespace kelvara
