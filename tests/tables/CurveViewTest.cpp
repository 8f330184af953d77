// Table layouts as curves: values read and written per mode, validity, the extent rules, the
// visible range and the pixel mapping. Records that lie about their size stay within bounds.
// Then the drawing list: what is drawn, in which colour and order, for each table type.
#include "CurveView.h"
#include "GraphGeometry.h"
#include "TableBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

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
    EXPECT_EQ(view.PointCount(), 3);
    EXPECT_EQ(view.PointValue(1, 1), 65535);
    EXPECT_EQ(view.PointValue(0, 2), 2);
    EXPECT_TRUE(view.SetPointValue(1, 2, 70000.9L)); // low 16 bits of the truncated value
    EXPECT_FALSE(view.SetPointValue(0, 2, 5));       // X is the index
    EXPECT_EQ(word->record.data, Concat({WordTable({1, 65535, 70000 - 65536}), Bytes{0xAB}}));

    auto fixed = TableNode(DataType::Tbl16_2, WordTable({-32768, 32767, 0}));
    view.ShowWordTable(true, 2048, *fixed);
    EXPECT_EQ(view.PointValue(1, 0), -16.0L);
    EXPECT_EQ(view.PointValue(1, 1), 15.99951171875L);
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
    view.ShowMatrix(true, 0, 2, *node);
    EXPECT_EQ(view.CurveCount(), 3);
    EXPECT_EQ(view.PointCount(), 2);
    EXPECT_EQ(view.PointValue(0, 1), 2);   // row key of row 2
    EXPECT_EQ(view.PointValue(1, 1), 302); // column 3, row 2
    view.ShowMatrix(true, 2, 1, *node);
    EXPECT_EQ(view.CurveCount(), 2);
    EXPECT_EQ(view.PointCount(), 3);
    EXPECT_EQ(view.PointValue(0, 2), 30);  // column key of column 3
    EXPECT_EQ(view.PointValue(1, 2), 302); // row 2, column 3
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
    EXPECT_TRUE(view.Notices().matrixCutShort);
    EXPECT_EQ(view.CurveCount(), 1);
    view.ShowMatrix(true, 2, 0, *shortNode);
    EXPECT_EQ(view.PointCount(), 1);

    // Row counts near 2^32 with few bytes, and more columns than the selector holds.
    auto huge = TableNode(DataType::Tbl3d, Concat({Le32(3), Le32(-1), Bytes(64, 0)}));
    view.ShowMatrix(true, 0, 0, *huge);
    EXPECT_EQ(view.PointCount(), 0);
    auto wide = TableNode(DataType::Tbl3d, Matrix(600, 2, KeyedValue));
    view.ShowMatrix(true, 0, 550, *wide);
    EXPECT_EQ(view.CurveCount(), CurveView::kMaxCurves);
    EXPECT_EQ(view.CurrentCurve(), CurveView::kMaxCurves - 1);
    EXPECT_TRUE(view.Notices().curvesLimited);

    // An overlay of another size is read as far as it goes.
    auto shown = TableNode(DataType::Tbl3d, Matrix(4, 3, KeyedValue));
    auto overlay = TableNode(DataType::Tbl3d, Matrix(3, 2, [](uint32_t a, uint32_t b) { return a + b + 0.5; }));
    view.ShowNoTable();
    view.SetOverlay(overlay.get());
    view.ShowMatrix(true, 0, 0, *shown);
    EXPECT_TRUE(view.Notices().overlayDiffers);
    EXPECT_EQ(view.OverlayValue(1, 0, 1), 3.5L); // element (2, 1)
    EXPECT_FALSE(view.OverlayValue(1, 1, 1));    // row 2 is not in the overlay
    EXPECT_FALSE(view.OverlayValue(1, 0, 2));    // nor column 3
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
    EXPECT_DOUBLE_EQ(r.left, -0.5);
    EXPECT_DOUBLE_EQ(r.right, 5.5);

    view.viewportWidth = 600;
    view.viewportHeight = 140;
    view.horizontalOffset = 1.0;
    const auto [x, y] = view.PixelToValue(300, 0);
    EXPECT_DOUBLE_EQ(x, 300 * 6.0 / 600 + 1.0 - 0.5);
    EXPECT_DOUBLE_EQ(y, 12);
    const auto [dx, dy] = view.PixelDeltaToValue(60, 14);
    EXPECT_DOUBLE_EQ(dx, 0.6);
    EXPECT_DOUBLE_EQ(dy, 1.4); // downward is positive

    // One point, or all X equal: still a range to draw and pick in.
    for (const auto& points : {std::vector<std::pair<double, double>>{{3, 1}},
                               std::vector<std::pair<double, double>>{{0, 1}, {0, 2}}}) {
        auto flat = TableNode(DataType::TblDb, PairTable(points));
        view.ShowPairTable(true, *flat);
        view.ResetNavigation();
        r = view.ComputeVisibleRange();
        EXPECT_GT(r.XSpan(), 0);
        EXPECT_LT(r.left, points[0].first);
        EXPECT_GT(r.right, points[0].first);
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
    EXPECT_DOUBLE_EQ(g.left, -2 + 3);
    EXPECT_DOUBLE_EQ(g.right, 22 + 3);
    EXPECT_DOUBLE_EQ(g.bottom, -2);
    EXPECT_DOUBLE_EQ(g.top, 12);
    const auto& pointLines = g.items[0].vertices;
    ASSERT_EQ(pointLines.size(), 6u);
    EXPECT_EQ(pointLines[2].x, 10);
    EXPECT_EQ(pointLines[2].y, 0);
    EXPECT_EQ(pointLines[3].y, 10);
    EXPECT_EQ(g.items[0].z, kGridDepth);
    const auto& curve = g.items[2].vertices; // segment pairs: p0 p1, p1 p2
    ASSERT_EQ(curve.size(), 4u);
    EXPECT_EQ(curve[2].x, 10);
    EXPECT_EQ(curve[3].y, 10);
    // Squares follow the visible spans: 0.004 x 24 wide, 0.007 x 14 high, corners in order.
    const auto& marked = g.items.back().vertices;
    ASSERT_EQ(marked.size(), 4u);
    EXPECT_DOUBLE_EQ(marked[0].x, 10 - 0.096);
    EXPECT_DOUBLE_EQ(marked[0].y, 5 + 0.098);
    EXPECT_DOUBLE_EQ(marked[2].x, 10 + 0.096);
    EXPECT_DOUBLE_EQ(marked[2].y, 5 - 0.098);
}

} // namespace
} // namespace kelvara
