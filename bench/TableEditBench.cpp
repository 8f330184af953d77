// Table edits and table fill at scale, through the editor window as a user drives it (offscreen,
// so without the OpenGL calls; the drawing list the graph would draw is built as a paint would):
//   one typed value and one drag step in a 100,000-point table against a 50-point one;
//   showing a 2000 x 400 matrix (drawing list and grid) against a 50 x 50 one.
// Prints each pair as a ratio of times measured in this run.
#include "AirFileBuilder.h"
#include "GraphGeometry.h"
#include "GraphWidget.h"
#include "MainWindow.h"
#include "RecordPage.h"
#include "RecordTree.h"
#include "ScriptedPrompts.h"
#include "Settings.h"
#include "TableGridView.h"
#include "TablePanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>

namespace kelvara {
namespace {

constexpr uint32_t kPairs = 0x0200;
constexpr uint32_t kMatrix = 0x1503;

std::vector<uint8_t> PairTableBytes(uint32_t points) {
    std::vector<uint8_t> bytes(4 + 16 * size_t(points));
    std::memcpy(bytes.data(), &points, 4);
    for (uint32_t i = 0; i < points; ++i) {
        const double x = i;
        const double y = 50 + 40 * std::sin(i * 0.1);
        std::memcpy(bytes.data() + 4 + 16 * size_t(i), &x, 8);
        std::memcpy(bytes.data() + 12 + 16 * size_t(i), &y, 8);
    }
    return bytes;
}

// m columns of n rows: keys in the first column and row, values between them.
std::vector<uint8_t> MatrixBytes(uint32_t m, uint32_t n) {
    std::vector<uint8_t> bytes(8 + 8 * size_t(m) * n);
    std::memcpy(bytes.data(), &m, 4);
    std::memcpy(bytes.data() + 4, &n, 4);
    for (uint32_t a = 0; a < m; ++a) {
        for (uint32_t b = 0; b < n; ++b) {
            const double v = a == 0 ? b : b == 0 ? a : a * 0.5 + 20 * std::sin(b * 0.05);
            std::memcpy(bytes.data() + 8 + 8 * (size_t(a) * n + b), &v, 8);
        }
    }
    return bytes;
}

// The editor window on a file of one table record, the record shown.
class Editor {
  public:
    Editor(uint32_t number, const std::vector<uint8_t>& table) {
        const auto write = [this](const char* name, const QByteArray& bytes) {
            QFile file(mDir.filePath(QString::fromLatin1(name)));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                std::abort();
            }
        };
        write("KVR.ini", "[records]\n0200=Lift,tbldb\n1503=Drag,tbl3d\n");
        write("kvr.cfg", "showaircraft = 0\r\n");
        test::AirFileBuilder file;
        file.Record(number, table);
        write("plane.air", QByteArray(reinterpret_cast<const char*>(file.Bytes().data()),
                                      qsizetype(file.Bytes().size())));
        mSettings.Load(QFile::encodeName(mDir.path()).toStdString());
        mWindow = std::make_unique<MainWindow>(mSettings, mPrompts,
                                                 QStringList{mDir.filePath(QStringLiteral("plane.air"))});
        mWindow->resize(1000, 700);
        mWindow->show();
        QElapsedTimer wait;
        wait.start();
        while (!mWindow->StartFileHandled() && wait.elapsed() < 20000) {
            QApplication::processEvents();
        }
        mNode = mWindow->Tree().FindRecord(number);
        if (!mNode) {
            std::abort();
        }
        Page().SelectNode(mNode);
        QApplication::processEvents();
        View().viewportWidth = 800;
        View().viewportHeight = 300;
    }
    RecordPage& Page() const { return *mWindow->Page(); }
    TablePanel& Panel() const { return *Page().Tables(); }
    CurveView& View() const { return Panel().View(); }
    // What a paint of the graph builds before its OpenGL calls.
    void Paint() const { benchmark::DoNotOptimize(static_cast<GraphWidget*>(Panel().RenderPanel)->PrepareDrawing()); }
    // As a click on the point would: marked, and the point the value fields show.
    void Mark(int point) const {
        View().SetMarkedPoint(point);
        Panel().Editor().textPoint = point;
    }
    void Key(QWidget* target, int key, const QString& text) const {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }

  private:
    QTemporaryDir mDir;
    Settings mSettings;
    test::ScriptedPrompts mPrompts;
    std::unique_ptr<MainWindow> mWindow;
    RecordNode* mNode = nullptr;
};

// A key in the Y field of a point in the middle of the first 50: "1" and Backspace in turn,
// so that each key is a new value and the values stay in range.
void BM_TypedValue(benchmark::State& state) {
    Editor editor(kPairs, PairTableBytes(uint32_t(state.range(0))));
    editor.Paint();
    editor.Mark(25);
    QLineEdit* field = editor.Panel().eYvalue;
    field->setFocus();
    field->setText(QStringLiteral("3"));
    editor.Paint();
    bool append = true;
    for (auto _ : state) {
        if (append) {
            editor.Key(field, Qt::Key_1, QStringLiteral("1"));
        } else {
            editor.Key(field, Qt::Key_Backspace, QString());
        }
        append = !append;
        QApplication::processEvents();
        editor.Paint();
    }
}
BENCHMARK(BM_TypedValue)->Arg(50)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One mouse step of a right-button drag of point 25, up and down in turn.
void BM_DragStep(benchmark::State& state) {
    Editor editor(kPairs, PairTableBytes(uint32_t(state.range(0))));
    CurveView& view = editor.View();
    editor.Paint();
    const VisibleRange& r = view.LastRange();
    const double y = 50 + 40 * std::sin(2.5);
    const int px = int(std::lround((25 - r.left) / r.XSpan() * view.viewportWidth));
    const int py = int(std::lround(view.viewportHeight - (y - r.bottom) / r.YSpan() * view.viewportHeight));
    QWidget* graph = editor.Panel().RenderPanel;
    // The press the window sees starts the drag's one undo step.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(px, py), graph->mapToGlobal(QPointF(px, py)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(graph, &press);
    editor.Panel().GraphMouseDown(Qt::RightButton, px, py);
    editor.Mark(25);
    MouseState mouse;
    mouse.right = true;
    int step = 0;
    for (auto _ : state) {
        step = step == 0 ? 1 : 0;
        editor.Panel().GraphMouseMove(mouse, px, py - step);
        QApplication::processEvents();
        editor.Paint();
    }
}
BENCHMARK(BM_DragStep)->Arg(50)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Showing the matrix record again, as selecting it does: the panel, the grid and the drawing.
void BM_ShowMatrix(benchmark::State& state) {
    const auto m = uint32_t(state.range(0));
    const auto n = uint32_t(state.range(1));
    Editor editor(kMatrix, MatrixBytes(m, n));
    for (auto _ : state) {
        editor.Page().TVChange();
        QApplication::processEvents();
        editor.Paint();
    }
    state.counters["cells"] = double(editor.View().CurveCount()) * editor.View().PointCount();
}
BENCHMARK(BM_ShowMatrix)->Args({50, 50})->Args({400, 2000})->Unit(benchmark::kMillisecond);

// Keeps the per-iteration processor times (the machine may be shared: time waited for another
// process is not the program's) so that each large case can be put against its small one.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
                times[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
    }
    std::map<std::string, double> times;
};

void PrintRatio(const RatioReporter& reporter, const char* what, const std::string& large,
                const std::string& small) {
    const auto a = reporter.times.find(large);
    const auto b = reporter.times.find(small);
    if (a != reporter.times.end() && b != reporter.times.end() && b->second > 0) {
        std::cout << what << ": " << large << " / " << small << " = " << a->second / b->second
                  << "x\n";
    }
}

} // namespace
} // namespace kelvara

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    kelvara::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    using kelvara::PrintRatio;
    PrintRatio(reporter, "typed value", "BM_TypedValue/100000", "BM_TypedValue/50");
    PrintRatio(reporter, "drag step", "BM_DragStep/100000", "BM_DragStep/50");
    PrintRatio(reporter, "matrix shown", "BM_ShowMatrix/400/2000", "BM_ShowMatrix/50/50");
    return 0;
}
