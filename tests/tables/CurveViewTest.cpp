// Table layouts as curves: values read and written per mode, validity, the extent rules, the
// visible range and the pixel mapping. Records that lie about their size stay within bounds.
// Then the drawing list: what is drawn, in which colour and order, for each table type; and
// picking and dragging with the mouse: tolerances, locks, fine steps, the 16-bit clamps and the
// fixed-point minimum step, panning and zooming.
#include "CurveEditor.h"
#include "CurveView.h"
#include "GraphGeometry.h"
#include "RecordEdits.h"
#include "TableBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>

namespace kelvara {
namespace {

using namespace test;

TEST(TableLayout, ValidityOfPairTables) {
    struct Case {
        Bytes bytes;
        bool valid;
        uint32_t present;
    } cases[] = {
        {Le32(0), false, 0},                                      // 4 bytes: shorter than 12
        {Concat({Le32(1), Bytes(16, 0)}), true, 1},               // 20 bytes hold one pair
        {Concat({Le32(2), Bytes(16, 0)}), false, 1},              // two pairs claimed
        {Bytes(11, 0), false, 0},
        {Concat({Le32(-1), Bytes(32, 0)}), false, 2},             // a count near 2^32
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidTblDb(c.bytes), c.valid) << c.bytes.size();
        EXPECT_EQ(TblDbPointsPresent(c.bytes), c.present) << c.bytes.size();
    }
}

TEST(TableLayout, ValuesBeyondFloatBecomeZero) {
    const double inf = std::numeric_limits<double>::infinity();
    Bytes bytes = PairTable({{1e39, 3e38}, {inf, std::nan("")}, {-1e39, -2.5}});
    EXPECT_EQ(ZeroValuesBeyondFloat(bytes), 4);
    EXPECT_EQ(bytes, PairTable({{0, 3e38}, {0, 0}, {0, -2.5}}));
}

TEST(CurveView, ReadsAndWritesEachLayout) {
    // tbl16 of 7 bytes: 3 points, the odd byte is neither shown nor changed.
    auto word = TableNode(DataType::Tbl16, Concat({WordTable({1, 65535, 7}), Bytes{0xAB}}));
    CurveView view;
    view.ShowWordTable(true, 16, *word);
    EXPECT_EQ(std::tuple(view.PointCount(), view.PointValue(1, 1), view.PointValue(0, 2)), std::tuple(3, 65535.0L, 2.0L));
    EXPECT_TRUE(view.SetPointValue(1, 2, 70000.9L)); // low 16 bits of the truncated value
    EXPECT_FALSE(view.SetPointValue(0, 2, 5));       // X is the index
    EXPECT_EQ(word->record.data, Concat({WordTable({1, 65535, 70000 - 65536}), Bytes{0xAB}}));

    auto fixed = TableNode(DataType::Tbl16_2, WordTable({-32768, 32767, 0}));
    view.ShowWordTable(true, 2048, *fixed);
    EXPECT_EQ(std::pair(view.PointValue(1, 0), view.PointValue(1, 1)), std::pair(-16.0L, 15.99951171875L));
    view.SetPointValue(1, 2, 0.5L);
    EXPECT_EQ(fixed->record.data, WordTable({-32768, 32767, 1024}));

    auto pairs = TableNode(DataType::TblDb, PairTable({{0, 1}, {2, 3}}));
    view.ShowPairTable(true, *pairs);
    view.SetPointValue(0, 1, 2.5L);
    EXPECT_EQ(pairs->record.data, PairTable({{0, 1}, {2.5, 3}}));
}

TEST(CurveView, MatrixSeenByColumnsOrByRows) {
    // 4 columns x 3 rows: 3 curves of 2 points by column, 2 curves of 3 points by row.
    auto node = TableNode(DataType::Tbl3d, Matrix(4, 3, KeyedValue));
    const Bytes before = node->record.data.ToVector();
    CurveView view;
    const auto shown = [&](int point) { // curves, points, key and value of the point
        return std::tuple(view.CurveCount(), view.PointCount(), view.PointValue(0, point), view.PointValue(1, point));
    };
    view.ShowMatrix(true, 0, 2, *node);
    EXPECT_EQ(shown(1), std::tuple(3, 2, 2.0L, 302.0L)); // row 2 of column 3
    view.ShowMatrix(true, 2, 1, *node);
    EXPECT_EQ(shown(2), std::tuple(2, 3, 30.0L, 302.0L)); // column 3 of row 2
    EXPECT_EQ(node->record.data, before);
    view.SetPointValue(1, 0, -7);
    EXPECT_EQ(ReadDouble(node->record.data, 8 + 8 * (1 * 3 + 2)), -7.0); // element (1, 2)
}

TEST(CurveView, RecordsThatCannotBeShownWhole) {
    CurveView view;
    // One column has no curve to show.
    auto single = TableNode(DataType::Tbl3d, Matrix(1, 5, KeyedValue));
    view.ShowMatrix(true, 0, 0, *single);
    EXPECT_EQ(view.PointCount(), 0);

    // Counts claim 4 columns, the bytes hold two and a half: only whole columns are read.
    Bytes cut = Matrix(4, 3, KeyedValue);
    cut.resize(8 + 8 * 8);
    auto shortNode = TableNode(DataType::Tbl3d, cut);
    view.ShowMatrix(true, 0, 0, *shortNode);
    EXPECT_EQ(std::pair(view.Notices().matrixCutShort, view.CurveCount()), std::pair(true, 1));
    view.ShowMatrix(true, 2, 0, *shortNode);
    EXPECT_EQ(view.PointCount(), 1);

    // Row counts near 2^32 with few bytes, and more columns than the selector holds.
    auto huge = TableNode(DataType::Tbl3d, Concat({Le32(3), Le32(-1), Bytes(64, 0)}));
    view.ShowMatrix(true, 0, 0, *huge);
    EXPECT_EQ(view.PointCount(), 0);
    auto wide = TableNode(DataType::Tbl3d, Matrix(600, 2, KeyedValue));
    view.ShowMatrix(true, 0, 550, *wide);
    EXPECT_EQ(std::tuple(view.CurveCount(), view.CurrentCurve(), view.Notices().curvesLimited),
              std::tuple(CurveView::kMaxCurves, CurveView::kMaxCurves - 1, true));

    // An overlay of another size is read as far as it goes.
    auto shown = TableNode(DataType::Tbl3d, Matrix(4, 3, KeyedValue));
    auto overlay = TableNode(DataType::Tbl3d, Matrix(3, 2, [](uint32_t a, uint32_t b) { return a + b + 0.5; }));
    view.ShowNoTable();
    view.SetOverlay(overlay.get());
    view.ShowMatrix(true, 0, 0, *shown);
    EXPECT_TRUE(view.Notices().overlayDiffers);
    // element (2, 1); row 2 is not in the overlay, nor column 3
    EXPECT_EQ(std::tuple(view.OverlayValue(1, 0, 1), view.OverlayValue(1, 1, 1), view.OverlayValue(1, 0, 2)),
              std::tuple(3.5L, std::nullopt, std::nullopt));
}

TEST(CurveView, ExtentRules) {
    struct Case {
        std::vector<std::pair<double, double>> points;
        Extents expected;
    } cases[] = {
        {{{1, 3}, {2, 3}, {4, 3}}, {1, 4, 0, 3}},
        {{{1, -2}, {2, -2}}, {1, 2, -2, 10}},
        {{{0, 0}, {5, 0}}, {0, 5, -5, 5}},
        {{{-1, 4}, {0, -6}, {3, 1}}, {-1, 3, -6, 4}},
        {{{7, 1}, {2, 9}}, {7, 2, 1, 9}}, // X from the first and last point, as stored
    };
    CurveView view;
    for (const Case& c : cases) {
        auto node = TableNode(DataType::TblDb, PairTable(c.points));
        view.ShowPairTable(true, *node);
        const Extents& e = view.DataExtents();
        EXPECT_EQ(std::vector<double>({e.xMin, e.xMax, e.yMin, e.yMax}),
                  std::vector<double>({c.expected.xMin, c.expected.xMax, c.expected.yMin, c.expected.yMax}));
    }
    // Every curve of a matrix, and the overlay, widen the Y range.
    auto shown = TableNode(DataType::Tbl3d, Matrix(3, 3, KeyedValue));
    auto overlay = TableNode(DataType::Tbl3d, Matrix(3, 3, [](uint32_t a, uint32_t b) { return a && b ? -50.0 : 0.0; }));
    view.ShowMatrix(true, 0, 0, *shown);
    EXPECT_EQ(view.DataExtents().yMax, 202);
    view.SetOverlay(overlay.get());
    view.ComputeExtents();
    EXPECT_EQ(view.DataExtents().yMin, -50);
}

TEST(CurveView, VisibleRangeAndPixelMapping) {
    auto node = TableNode(DataType::TblDb, PairTable({{0, 0}, {10, 10}}));
    CurveView view;
    view.ShowPairTable(true, *node);
    view.zoom = 2.0;
    VisibleRange r = view.ComputeVisibleRange();
    EXPECT_EQ(std::pair(r.left, r.right), std::pair(-0.5, 5.5));

    view.viewportWidth = 600;
    view.viewportHeight = 140;
    view.horizontalOffset = 1.0;
    EXPECT_EQ(view.PixelToValue(300, 0), std::pair(300 * 6.0 / 600 + 1.0 - 0.5, 12.0));
    EXPECT_EQ(view.PixelDeltaToValue(60, 14), std::pair(0.6, 1.4)); // downward is positive

    // One point, or all X equal: still a range to draw and pick in.
    for (const auto& points : {std::vector<std::pair<double, double>>{{3, 1}},
                               std::vector<std::pair<double, double>>{{0, 1}, {0, 2}}}) {
        auto flat = TableNode(DataType::TblDb, PairTable(points));
        view.ShowPairTable(true, *flat);
        view.ResetNavigation();
        r = view.ComputeVisibleRange();
        EXPECT_TRUE(r.XSpan() > 0 && r.left < points[0].first && r.right > points[0].first);
    }
}

// One letter per primitive: lines lower case, squares upper case, by colour number.
std::string Summary(const GraphGeometry& g) {
    std::string s;
    for (const GraphPrimitive& p : g.items) {
        const char base = p.kind == GraphPrimitive::Kind::Square ? 'A' : 'a';
        s.push_back(static_cast<char>(base + static_cast<int>(p.color)));
    }
    return s;
}

TEST(GraphGeometry, DrawingOrderForEachTableType) {
    // e: point lines (color5), f: zero lines (bgcolor), b/c: other and current curve,
    // C: point squares, D: the marked square, g/h: overlay of the current and other curves.
    auto pairs = TableNode(DataType::TblDb, PairTable({{0, 1}, {1, 2}, {2, 0}}));
    auto words = TableNode(DataType::Tbl16_2, WordTable({1, 2}));
    auto matrix = TableNode(DataType::Tbl3d, Matrix(6, 3, KeyedValue)); // 5 curves of 2 points
    auto overlay = TableNode(DataType::Tbl3d, Matrix(6, 3, KeyedValue), 0x1504);
    CurveView view;
    view.ShowPairTable(true, *pairs);
    EXPECT_EQ(Summary(BuildGraphGeometry(view)), "efcCCCD");
    view.ShowWordTable(true, 2048, *words);
    EXPECT_EQ(Summary(BuildGraphGeometry(view)), "efcCCD");
    view.ShowMatrix(true, 0, 2, *matrix);
    EXPECT_EQ(Summary(BuildGraphGeometry(view)), "efbbbbcCCD");
    view.SetOverlay(overlay.get());
    view.ShowMatrix(true, 0, 2, *matrix);
    EXPECT_EQ(Summary(BuildGraphGeometry(view)), "efhhghhbbbbcCCD");
    view.ShowNoTable();
    EXPECT_TRUE(BuildGraphGeometry(view).empty);
}

TEST(GraphGeometry, CoordinatesFollowTheData) {
    auto node = TableNode(DataType::TblDb, PairTable({{0, 0}, {10, 5}, {20, 10}}));
    CurveView view;
    view.ShowPairTable(true, *node);
    view.SetMarkedPoint(1);
    view.horizontalOffset = 3;
    const GraphGeometry g = BuildGraphGeometry(view);
    EXPECT_EQ(std::tuple(g.left, g.right, g.bottom, g.top), std::tuple(-2 + 3, 22 + 3, -2, 12));
    const auto xy = [](const std::vector<GraphVertex>& vertices) {
        std::vector<std::pair<double, double>> out;
        for (const GraphVertex& v : vertices) {
            out.emplace_back(v.x, v.y);
        }
        return out;
    };
    // Point lines span the data, behind the curve of segment pairs.
    EXPECT_EQ(xy(g.items[0].vertices),
              (std::vector<std::pair<double, double>>{{0, 0}, {0, 10}, {10, 0}, {10, 10}, {20, 0}, {20, 10}}));
    EXPECT_EQ(g.items[0].z, kGridDepth);
    EXPECT_EQ(xy(g.items[2].vertices), (std::vector<std::pair<double, double>>{{0, 0}, {10, 5}, {10, 5}, {20, 10}}));
    // Squares follow the visible spans: 0.004 x 24 wide, 0.007 x 14 high, corners in order.
    const auto& marked = g.items.back().vertices;
    ASSERT_EQ(marked.size(), 4u);
    EXPECT_DOUBLE_EQ(marked[0].x, 10 - 0.096);
    EXPECT_DOUBLE_EQ(marked[0].y, 5 + 0.098);
    EXPECT_DOUBLE_EQ(marked[2].x, 10 + 0.096);
    EXPECT_DOUBLE_EQ(marked[2].y, 5 - 0.098);
}

void ShowAnyTable(CurveView& view, int type, RecordNode& node) {
    if (type == DataType::TblDb) {
        view.ShowPairTable(true, node);
    } else if (type == DataType::Tbl3d) {
        view.ShowMatrix(true, 0, 2, node);
    } else {
        view.ShowWordTable(true, type == DataType::Tbl16 ? 16 : 2048, node);
    }
}

using FlatDrawing = std::vector<std::tuple<int, int, double, std::vector<std::pair<double, double>>>>;
FlatDrawing Flat(const GraphGeometry& g) {
    FlatDrawing out;
    for (const GraphPrimitive& p : g.items) {
        std::vector<std::pair<double, double>> xy;
        for (const GraphVertex& v : p.vertices) {
            xy.emplace_back(v.x, v.y);
        }
        out.emplace_back(int(p.kind), int(p.color), p.z, std::move(xy));
    }
    return out;
}

// After each kind of change, the kept drawing is the one built anew and the refit extents are
// those of a fresh pass over the table. Tables of more than 64 values span several extent
// blocks, so lowering the highest value must find the next one in another block.
TEST(GraphDrawing, FollowsEditsAsIfBuiltAnew) {
    using View = CurveView;
    const auto wave = [](int n) {
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < n; ++i) {
            points.emplace_back(i, i == 70 ? 500 : std::sin(i * 0.3) * 10);
        }
        return PairTable(points);
    };
    const auto overwrite = [](RecordNode& node, size_t offset, double value) {
        ASSERT_EQ(OverwriteRecordBytes(node, offset, LeDouble(value)).status, EditStatus::Ok);
    };
    struct Case {
        const char* name;
        int type;
        Bytes bytes;
        std::function<void(View&, RecordNode&)> change;
    } cases[] = {
        {"Y inside the range", DataType::TblDb, wave(100), [](View& v, RecordNode&) { v.SetPointValue(View::kAxisY, 5, 3); }},
        {"Y past the top", DataType::TblDb, wave(100), [](View& v, RecordNode&) { v.SetPointValue(View::kAxisY, 2, 900); }},
        {"the highest Y lowered", DataType::TblDb, wave(100), [](View& v, RecordNode&) { v.SetPointValue(View::kAxisY, 70, 0); }},
        {"X of the last point", DataType::TblDb, wave(100), [](View& v, RecordNode&) { v.SetPointValue(View::kAxisX, 99, 120); }},
        {"X of a middle point", DataType::TblDb, wave(100), [](View& v, RecordNode&) { v.SetPointValue(View::kAxisX, 40, 40.5); }},
        {"fixed-point value", DataType::Tbl16_2, WordTable({1, 2, 3}), [](View& v, RecordNode&) { v.SetPointValue(View::kAxisY, 0, 1.5); }},
        {"matrix value on the current curve", DataType::Tbl3d, Matrix(12, 12, KeyedValue),
         [](View& v, RecordNode&) { v.SetPointValue(View::kAxisY, 1, -50); }},
        {"matrix key: every curve moves", DataType::Tbl3d, Matrix(12, 12, KeyedValue),
         [](View& v, RecordNode&) { v.SetPointValue(View::kAxisX, 0, 0.5); }},
        // Element (11, 11) holds the highest value, on curve 10, in the last block.
        {"another curve's highest value, written elsewhere", DataType::Tbl3d, Matrix(12, 12, KeyedValue),
         [&](View& v, RecordNode& node) {
             overwrite(node, 8 + 8 * (11 * 12 + 11), 0);
             v.PointWritten(10, 10);
         }},
        {"zoom, offset and another marked point", DataType::TblDb, wave(100),
         [](View& v, RecordNode&) {
             v.zoom = 2;
             v.horizontalOffset = 3;
             v.SetMarkedPoint(7);
         }},
        {"more edits than are followed one by one", DataType::Tbl3d, Matrix(30, 30, KeyedValue),
         [](View& v, RecordNode&) {
             for (int i = 0; i < 29; ++i) {
                 for (int k = 0; k < 12; ++k) {
                     v.SetPointValue(View::kAxisY, i, i * k);
                 }
             }
         }},
    };
    for (const Case& c : cases) {
        auto node = TableNode(c.type, c.bytes);
        CurveView view;
        ShowAnyTable(view, c.type, *node);
        GraphDrawing drawing;
        (void)drawing.Update(view);
        c.change(view, *node);
        view.ComputeExtents(); // as the panel refits after an edit
        const FlatDrawing kept = Flat(drawing.Update(view));

        CurveView fresh;
        ShowAnyTable(fresh, c.type, *node);
        fresh.SetMarkedPoint(view.MarkedPoint());
        fresh.zoom = view.zoom;
        fresh.horizontalOffset = view.horizontalOffset;
        const Extents& e = view.DataExtents();
        const Extents& f = fresh.DataExtents();
        EXPECT_EQ(std::tuple(e.xMin, e.xMax, e.yMin, e.yMax), std::tuple(f.xMin, f.xMax, f.yMin, f.yMax)) << c.name;
        EXPECT_EQ(kept, Flat(BuildGraphGeometry(fresh))) << c.name;
    }
}

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
