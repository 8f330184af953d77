// The drawing list: what is drawn, in which colour and in which order, for each table type.
#include "GraphGeometry.h"
#include "TableBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvara {
namespace {

using namespace test;
using C = GraphColor;

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
