// One DrawGraph during a drag of a 50 x 50 3-D table (drawing list plus GL calls, waited for
// with glFinish) against building the drawing list alone. Run under a display, e.g. xvfb-run.
#include "CurveEditor.h"
#include "DataType.h"
#include "GraphGeometry.h"
#include "GraphWidget.h"
#include "RecordTree.h"
#include "Settings.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace kelvara {
namespace {

constexpr uint32_t kSide = 50;

// A 50 x 50 matrix (49 curves of 49 points) shown by columns, point 10 marked.
struct DragScene {
    DragScene() {
        std::vector<uint8_t> bytes(8 + 8 * kSide * kSide);
        std::memcpy(bytes.data(), &kSide, 4);
        std::memcpy(bytes.data() + 4, &kSide, 4);
        for (uint32_t i = 0; i < kSide * kSide; ++i) {
            const double v = (i % kSide) * 0.5 + (i / kSide) * 2.0;
            std::memcpy(bytes.data() + 8 + 8 * i, &v, 8);
        }
        node.record.type = DataType::Tbl3d;
        node.record.SetData(std::move(bytes));
        view.ShowMatrix(true, 0, 20, node);
        view.SetMarkedPoint(10);
        view.viewportWidth = 800;
        view.viewportHeight = 300;
        (void)BuildGraphGeometry(view);
        editor.RememberMouse(400, 150);
        mouse.right = true;
    }
    // One mouse step of the drag, up and down in turn so the values stay in range.
    void Step() {
        y = y == 150 ? 149 : 150;
        editor.DragOrNavigate(view, mouse, 400, y);
    }
    RecordNode node;
    CurveView view;
    CurveEditor editor;
    MouseState mouse;
    int y = 150;
};

void BM_BuildGeometry(benchmark::State& state) {
    DragScene scene;
    for (auto _ : state) {
        scene.Step();
        benchmark::DoNotOptimize(BuildGraphGeometry(scene.view));
    }
}
BENCHMARK(BM_BuildGeometry);

void BM_DrawGraph(benchmark::State& state) {
    DragScene scene;
    Settings settings;
    GraphWidget graph(scene.view, settings);
    graph.resize(800, 300);
    graph.CreateSurface();
    graph.show();
    QElapsedTimer wait;
    wait.start();
    while (!graph.isValid() && wait.elapsed() < 5000) {
        QApplication::processEvents();
    }
    if (!graph.isValid()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        scene.Step();
        graph.DrawNow();
    }
}
BENCHMARK(BM_DrawGraph);

} // namespace
} // namespace kelvara

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
