// The table panel on a real window: dragging a point with the mouse on the drawn graph (and
// undoing it), key, corner and typed edits, the grid of numbers with its keys, clipboard and
// the marks it shares with the graph, the overlay, "change graph", table files, running
// without GL.
#include "ChangeTracker.h"
#include "GraphWidget.h"
#include "HistoryCommands.h"
#include "RecordEdits.h"
#include "TableGridView.h"
#include "TablePanel.h"
#include "TypedNumberField.h"
#include "UiFixture.h"

#include "TableBytes.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QTreeView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

using namespace kelvara;
using namespace kelvara::test;

namespace {

const char* kTableDictionary =
    "[records]\n0200=Lift,tbldb\n0201=Moment,tbl16_2\n0202=Glider lift,tbldb\n0203=Odd lift,tbldb\n"
    "0300=Engine,record\n"
    "1503=Low,tbl3d\n1503ay=Row,Value|Column,Value|Column,Row|Mach\n1504=High,tbl3d\n"
    "1505=Wide,tbl3d\n1506=One column,tbl3d\n1507=Drag,tbl3d\n"
    "[0300]\n1=0x00,tbl3d_2,Matrix\n";

const double kInf = std::numeric_limits<double>::infinity();
const Bytes kOddLift = PairTable({{-1, std::nan("")}, {0, kInf}, {1e300, 2}});

// Notes, for every notice, whether the main window's tree held records then.
struct TreeNotingPrompts : ScriptedPrompts {
    void Inform(const std::string& caption, const std::string& text) override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<MainWindow*>(w)) {
                filled.push_back(window->Tree().RootCount() > 0);
            }
        }
        ScriptedPrompts::Inform(caption, text);
    }
    std::vector<bool> filled;
};

struct Window {
    Window() {
        QLocale::setDefault(QLocale::c());
        f.dictionary = kTableDictionary;
        const auto other = [](uint32_t a, uint32_t b) { return KeyedValue(a, b) + (a && b ? 1000 : 0); };
        f.records = {{0x0200, PairTable({{0, 0}, {5, 10}, {10, 0}})},
                     {0x0201, WordTable({2048, 0})},
                     {0x0202, PairTable({{-1.9634953514860003, 0.1}, {0.30000000000000004, 1.0 / 3}})},
                     {0x0203, kOddLift},
                     {0x0300, Matrix(3, 3, KeyedValue)},
                     {0x1503, Matrix(4, 3, KeyedValue)},
                     {0x1504, Matrix(4, 3, other)},
                     {0x1505, Matrix(7, 2, KeyedValue)},
                     {0x1506, Matrix(1, 3, KeyedValue)},
                     {0x1507, Matrix(4, 4, KeyedValue)}};
        f.Start();
        f.window->resize(900, 700);
    }
    TablePanel& Panel() const { return *f.Page().Tables(); }
    TableGridView& Grid() const { return *Panel().ValueGrid; }
    bool Changed() const { return f.window->Changes().IsChanged(); }
    UiFixture f;
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

QPoint PixelOf(const CurveView& view, double x, double y) {
    const VisibleRange& r = view.LastRange();
    return {qRound((x - r.left - view.horizontalOffset) / r.XSpan() * view.viewportWidth),
            qRound(view.viewportHeight - (y - r.bottom) / r.YSpan() * view.viewportHeight)};
}

QString CellText(TableGridView& grid, int row, int column) {
    return grid.model()->index(row, column).data().toString();
}

void ClickCell(TableGridView& grid, int row, int column) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, column)).center());
}

// Keys go where a user's keys go: to the control with the focus (a cell editor, once open).
void TypeKeys(const QString& text) {
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Hears of the record writes on the way to the edit history, so a test sees how much each
// edit wrote.
struct WriteLog : RecordEditObserver {
    WriteLog() { next = SetRecordEditObserver(this); }
    ~WriteLog() override { SetRecordEditObserver(next); }
    void Clear() {
        whole = 0;
        ranges.clear();
    }
    void RecordChanging(const RecordNode& node) override {
        ++whole;
        next->RecordChanging(node);
    }
    void RecordChanged(const RecordNode& node) override { next->RecordChanged(node); }
    void RangeChanging(const RecordNode& node, size_t offset, size_t size) override {
        ranges.emplace_back(offset, size);
        next->RangeChanging(node, offset, size);
    }
    void RangeChanged(const RecordNode& node, size_t offset, size_t size) override {
        next->RangeChanged(node, offset, size);
    }
    RecordEditObserver* next = nullptr;
    int whole = 0;
    std::vector<std::pair<size_t, size_t>> ranges;
};

QColor SettingColor(const Settings& s, GraphColor c) {
    const uint32_t bgr = s.colors[size_t(c)];
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

class TablePanelTest : public QObject {
    Q_OBJECT
  private slots:
    // A right-button drag of point 1 upward in three moves: Y changes, X is locked, the file is
    // changed, and the graph shows background, curve squares and the marked square. Then Ctrl+Z:
    // bytes, graph point, fields, grid and pixels are as before, and the file no longer counts as
    // changed.
    void dragThenUndoRestoresEverything() {
        if (!GraphWidget::OpenGLAvailable()) {
            QSKIP("no OpenGL renderer here");
        }
        Window w;
        w.f.Activate();
        w.f.Select(0x0200);
        QTRY_VERIFY(w.Panel().Graph() && w.Panel().Graph()->isValid());
        GraphWidget* graph = w.Panel().Graph();
        (void)graph->grabFramebuffer(); // draws once, so that pixels map to values
        CurveView& view = w.Panel().View();
        const std::vector<uint8_t> before = w.f.Node(0x0200)->record.data.ToVector();
        const QPoint start = PixelOf(view, 5, 10);
        const double ySpan = view.LastRange().YSpan();
        SendMouse(graph, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
        QVERIFY(!w.Changed());
        SendMouse(graph, QEvent::MouseMove, start - QPoint(0, 10), Qt::NoButton, Qt::RightButton);
        const double expectedY = 10 + 10 * ySpan / graph->height();
        QCOMPARE(w.f.Node(0x0200)->record.data, PairTable({{0, 0}, {5, expectedY}, {10, 0}}));
        QCOMPARE(w.Panel().eYvalue->text().toDouble(), std::trunc(expectedY * 1e5) / 1e5);
        for (const int up : {20, 30}) { // each move sees the range the one before widened
            SendMouse(graph, QEvent::MouseMove, start - QPoint(0, up), Qt::NoButton, Qt::RightButton);
        }
        SendMouse(graph, QEvent::MouseButtonRelease, start - QPoint(0, 30), Qt::RightButton, Qt::NoButton);
        QVERIFY(w.Changed());
        const double y = double(view.PointValue(CurveView::kAxisY, 1));
        QVERIFY(qAbs(CellText(w.Grid(), 1, 1).toDouble() - y) < 1e-9);
        const Settings& s = *w.f.settings;
        QImage image = graph->grabFramebuffer();
        QCOMPARE(image.pixelColor(3, 3), SettingColor(s, GraphColor::Background));
        // The graph has a window of its own, so the main window keeps raster composition, and
        // a picture of the main window still shows the graph.
        QCOMPARE(w.f.window->windowHandle()->surfaceType(), QSurface::RasterSurface);
        const QImage whole = GrabWithGraphs(*w.f.window).toImage();
        const QPoint marked = PixelOf(view, 5, y);
        QCOMPARE(whole.pixelColor(graph->mapTo(w.f.window.get(), marked)), SettingColor(s, GraphColor::MarkedPoint));
        QCOMPARE(image.pixelColor(marked), SettingColor(s, GraphColor::MarkedPoint));
        QCOMPARE(image.pixelColor(PixelOf(view, 10, 0) + QPoint(-1, 0)), SettingColor(s, GraphColor::CurrentCurve));

        view.zoom = 1.5; // as the wheel leaves it: undo keeps the user's zoom
        PressKey(Qt::Key_Z, Qt::ControlModifier); // three moves, one step
        QCOMPARE(w.f.Node(0x0200)->record.data, before);
        QCOMPARE(view.zoom, 1.5);
        QCOMPARE(double(view.PointValue(CurveView::kAxisY, 1)), 10.0);
        // The dragged point stays marked, in the fields and the grid.
        QCOMPARE(std::pair(view.MarkedPoint(), w.Panel().eXvalue->text()), std::pair(1, QStringLiteral("5")));
        QCOMPARE(w.Grid().currentIndex().row(), 1);
        QCOMPARE(CellText(w.Grid(), 1, 1), QStringLiteral("10"));
        QVERIFY(!w.Changed());
        QVERIFY(!w.f.window->History().Undo1->isEnabled());
        image = graph->grabFramebuffer();
        QCOMPARE(image.pixelColor(PixelOf(view, 5, 10)), SettingColor(s, GraphColor::MarkedPoint));
    }

    // The grid of a matrix: an oversize block is refused, a typed cell and a pasted block with
    // decimal commas land in the bytes, Ctrl+C/Ctrl+V act on cells (not on records) while the
    // grid has the focus, and one Ctrl+Z takes back the whole block.
    void gridTypingClipboardKeysAndMarks() {
        Window w;
        w.f.Activate();
        // A record on the record clipboard, so that a record paste could happen.
        w.f.Select(0x0201);
        w.f.Page().TV->setFocus();
        PressKey(Qt::Key_C, Qt::ControlModifier);
        QVERIFY(w.f.window->Paste1->isEnabled());
        const size_t records = w.f.window->Tree().RootCount();

        w.f.Select(0x1507);
        TableGridView& grid = w.Grid();
        QVERIFY(grid.isVisible());
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("30"));
        const std::vector<uint8_t> loaded = w.f.Node(0x1507)->record.data.ToVector();
        QApplication::clipboard()->setText(QStringLiteral("1\t2\t3\t4\n"));
        ClickCell(grid, 0, 0);
        PressKey(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.f.Node(0x1507)->record.data, loaded);
        QVERIFY(!w.Changed());
        QCOMPARE(QString::fromStdString(w.f.prompts.shown.back().text),
                 QStringLiteral("the pasted block of 1 × 4 values (rows × columns) does not fit into the "
                                "table from the selected cell on, which has room for 3 × 3 - nothing was changed"));

        ClickCell(grid, 2, 0);
        TypeKeys(QStringLiteral("12,5"));
        PressKey(Qt::Key_Return); // the cell editor commits once the key is handled
        QTRY_COMPARE(ReadDouble(w.f.Node(0x1507)->record.data, 8 + 8 * (4 + 3)), 12.5); // element (1, 3)
        QCOMPARE(w.Panel().eYvalue->text(), QStringLiteral("12.5"));
        QCOMPARE(double(w.Panel().View().PointValue(CurveView::kAxisY, 2)), 12.5);
        const std::vector<uint8_t> typed = w.f.Node(0x1507)->record.data.ToVector();

        QApplication::clipboard()->setText(QStringLiteral("1,5\t2,5\r\n3,5\t4,5\r\n5,5\t6,5\r\n"));
        ClickCell(grid, 0, 1);
        PressKey(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(CellText(grid, 0, 1), QStringLiteral("1.5")); // the block from the clicked cell on
        QCOMPARE(CellText(grid, 2, 2), QStringLiteral("6.5"));
        QCOMPARE(w.f.window->Tree().RootCount(), records);
        QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 6);
        QCOMPARE(w.Panel().SelectedCurve(), 1); // the cell made its column the current curve
        QCOMPARE(double(w.Panel().View().PointValue(CurveView::kAxisY, 2)), 5.5);

        PressKey(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1.5\t2.5\n3.5\t4.5\n5.5\t6.5\n"));

        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.f.Node(0x1507)->record.data, typed);
        QCOMPARE(CellText(grid, 0, 1), QStringLiteral("201"));
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.f.Node(0x1507)->record.data, loaded);
        QVERIFY(!w.Changed());

        // A key that stored nothing new (a letter after a number in a value field) does not make
        // the next edit, a paste into the grid, join the typed step before it.
        w.Panel().eYvalue->setFocus();
        w.Panel().eYvalue->selectAll();
        TypeKeys(QStringLiteral("5"));
        const std::vector<uint8_t> typedY = w.f.Node(0x1507)->record.data.ToVector();
        TypeKeys(QStringLiteral("x")); // "5x" is no number: no change
        QCoreApplication::processEvents(); // the user's pause before the next command
        QApplication::clipboard()->setText(QStringLiteral("7\n"));
        ClickCell(grid, 2, 2);
        PressKey(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(CellText(grid, 2, 2), QStringLiteral("7"));
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.f.Node(0x1507)->record.data, typedY);

        // Tab reaches the grid; F2 opens a cell, Escape leaves it unchanged; a refused value is
        // told and changes nothing; the graph's mark and the grid's current cell follow each other.
        w.f.Page().TV->setFocus();
        for (int i = 0; i < 60 && QApplication::focusWidget() != &grid; ++i) {
            PressKey(Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), &grid);
        PressKey(Qt::Key_F2);
        TypeKeys(QStringLiteral("77"));
        PressKey(Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), &grid);
        QCOMPARE(w.f.Node(0x1507)->record.data, typedY);
        PressKey(Qt::Key_F2);
        QApplication::focusWidget()->setProperty("text", QString());
        TypeKeys(QStringLiteral("1x"));
        PressKey(Qt::Key_Return);
        QTRY_COMPARE(w.f.prompts.shown.back().text, std::string("'1x' is not a number"));
        QCOMPARE(w.f.Node(0x1507)->record.data, typedY);

        w.Panel().selectorButtons[2]->click();
        QCOMPARE(grid.currentIndex(), grid.model()->index(0, 2));
        QCOMPARE(grid.model()->index(1, 2).data(Qt::BackgroundRole).isValid(), true);
        QCOMPARE(grid.model()->index(1, 1).data(Qt::BackgroundRole).isValid(), false);
        ClickCell(grid, 2, 0);
        QCOMPARE(w.Panel().SelectedCurve(), 0);
        QCOMPARE(w.Panel().View().MarkedPoint(), 2);
        QCOMPARE(w.Panel().eXvalue->text(), QStringLiteral("3"));
        if (GraphWidget::OpenGLAvailable()) {
            QTRY_VERIFY(w.Panel().Graph() && w.Panel().Graph()->isValid());
            GraphWidget* graph = w.Panel().Graph();
            (void)graph->grabFramebuffer();
            QTest::mouseClick(graph, Qt::LeftButton, {}, PixelOf(w.Panel().View(), 2, 102));
            QCOMPARE(w.Panel().View().MarkedPoint(), 1);
            QCOMPARE(grid.currentIndex(), grid.model()->index(1, 0));
        }
    }

    // In a large table a typed value and a typed cell write only that value's bytes, in place,
    // and tell the grid of that point's cells alone; undo takes them back.
    void largeTableEditsTouchOnePoint() {
        UiFixture f;
        f.dictionary = kTableDictionary;
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < 20000; ++i) {
            points.emplace_back(i, i % 7);
        }
        f.records = {{0x0200, PairTable(points)}, {0x1507, Matrix(60, 60, KeyedValue)}};
        f.Start();
        f.Activate();
        TablePanel& panel = *f.Page().Tables();
        WriteLog log;
        std::vector<std::array<int, 4>> ranges;
        const auto watch = [&ranges](TableGridView& grid) {
            return QObject::connect(grid.model(), &QAbstractItemModel::dataChanged,
                                    [&ranges](const QModelIndex& from, const QModelIndex& to) {
                                        ranges.push_back({from.row(), from.column(), to.row(), to.column()});
                                    });
        };
        struct Case {
            const char* name;
            uint32_t record;
            std::function<void()> edit;
            std::array<int, 4> cells; // the point's cells: rows and columns from, to
            size_t offset;
        } cases[] = {
            {"typed Y value", 0x0200,
             [&panel] {
                 panel.eYvalue->setFocus();
                 panel.eYvalue->selectAll();
                 TypeKeys(QStringLiteral("3"));
             },
             {0, 0, 0, 1}, 12},
            {"typed cell", 0x1507,
             [&panel] {
                 ClickCell(*panel.ValueGrid, 5, 0);
                 TypeKeys(QStringLiteral("9"));
                 PressKey(Qt::Key_Return);
             },
             {5, 0, 5, 0}, 8 + 8 * (60 + 6)},
        };
        for (const Case& c : cases) {
            f.Select(c.record);
            const std::vector<uint8_t> before = f.Node(c.record)->record.data.ToVector();
            const QMetaObject::Connection connection = watch(*panel.ValueGrid);
            log.Clear();
            ranges.clear();
            c.edit();
            QTRY_VERIFY2(f.Node(c.record)->record.data != before, c.name);
            QObject::disconnect(connection);
            QCOMPARE(log.whole, 0);
            QCOMPARE(log.ranges, (std::vector<std::pair<size_t, size_t>>{{c.offset, 8}}));
            QVERIFY2(!ranges.empty(), c.name);
            for (const auto& range : ranges) {
                QVERIFY2(range[0] >= c.cells[0] && range[1] >= c.cells[1] && range[2] <= c.cells[2] &&
                             range[3] <= c.cells[3],
                         c.name);
            }
            PressKey(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f.Node(c.record)->record.data, before);
        }
    }

    // The grid's context menu: the matrix as one configuration line, a line with a key and a
    // comment pasted as one undo step, and a line of another shape refused without a change.
    void gridConfigurationLines() {
        Window w;
        w.f.Activate();
        w.f.Select(0x1507);
        TableGridView& grid = w.Grid();
        const std::vector<uint8_t> loaded = w.f.Node(0x1507)->record.data.ToVector();
        const auto fromMenu = [&grid](const char* action) {
            QTimer::singleShot(0, [action] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu != nullptr);
                menu->findChild<QAction*>(QLatin1String(action))->trigger();
                menu->close();
            });
            const QPoint at = grid.visualRect(grid.model()->index(0, 0)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
            QApplication::sendEvent(grid.viewport(), &event);
        };
        fromMenu("CopyCfgLine");
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("0:10:20:30, 1:101:201:301, 2:102:202:302, 3:103:203:303"));

        QApplication::clipboard()->setText(
            QStringLiteral("thrust_table = 0:10:20:30, 1:-1:201:301, 2:102:202:302, 3:103:203:303.5 ; ported"));
        fromMenu("PasteCfgLine");
        QCOMPARE(CellText(grid, 0, 0), QStringLiteral("-1"));
        QCOMPARE(CellText(grid, 2, 2), QStringLiteral("303.5"));
        QVERIFY(w.Changed());
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.f.Node(0x1507)->record.data, loaded);
        QVERIFY(!w.Changed());

        QApplication::clipboard()->setText(QStringLiteral("0:10:20, 1:101:201"));
        fromMenu("PasteCfgLine");
        QCOMPARE(w.f.prompts.shown.back().text,
                 std::string("the configuration line does not fit this table: the line has 2 comma-separated "
                             "groups; the table has 4 - nothing was changed"));
        QCOMPARE(w.f.Node(0x1507)->record.data, loaded);
    }

    // Keys, corner and typed values change the record (and a field's parent) and mark the file.
    // One key row shows per curve after the first, whichever table came before; a table with a
    // single column has none, yet its curve stays selected. Then the overlay and table files.
    void panelControls() {
        Window w;
        TablePanel& panel = w.Panel();
        const auto shownRows = [&panel] {
            return std::count_if(panel.selectorEdits.begin(), panel.selectorEdits.end(),
                                 [](const QLineEdit* edit) { return !edit->isHidden(); });
        };
        w.f.Select(0x0300, 0); // the matrix field, shown by rows
        QVERIFY(!w.Changed());
        QCOMPARE(panel.View().CurveCount(), 2);
        panel.selectorEdits[1]->setText(QStringLiteral("7.5"));
        QVERIFY(w.Changed());
        QCOMPARE(ReadDouble(w.f.Node(0x0300)->record.data, 8 + 8 * 2), 7.5); // row key 2 in the parent
        panel.eCorner->setText(QStringLiteral("-3"));
        QCOMPARE(ReadDouble(w.f.Node(0x0300)->record.data, 8), -3.0);

        w.f.window->Changes().SetChanged(false);
        w.f.Select(0x0201);
        QVERIFY(!panel.eXvalue->isEnabled());
        QCOMPARE(panel.eYvalue->text(), QStringLiteral("2048"));
        panel.eYvalue->setText(QStringLiteral("-0.5"));
        QCOMPARE(w.f.Node(0x0201)->record.data, WordTable({-1024, 0}));
        QVERIFY(w.Changed());

        w.f.Select(0x1503);
        QCOMPARE(shownRows(), 3);
        w.f.Select(0x1505);
        QCOMPARE(shownRows(), 6);
        QCOMPARE(panel.selectorEdits[5]->text(), QStringLiteral("60"));
        panel.selectorEdits[5]->setText(QStringLiteral("65"));
        QCOMPARE(ReadDouble(w.f.Node(0x1505)->record.data, 8 + 8 * (6 * 2)), 65.0); // key of column 6
        w.f.Select(0x1503);
        QCOMPARE(shownRows(), 3);
        QCOMPARE(panel.selectorEdits[2]->text(), QStringLiteral("30"));
        w.f.Select(0x1506);
        QCOMPARE(shownRows(), 0);
        QVERIFY(panel.selectorButtons[0]->isChecked());
        QCOMPARE(panel.SelectedCurve(), 0);

        // The overlay pairs 0x1503 with its neighbour 0x1504; "change graph" changes only the view.
        w.f.window->Changes().SetChanged(false);
        w.f.Select(0x1503);
        QVERIFY(panel.cbOverlay1503->isEnabled());
        QCOMPARE(panel.LabelCorner->text(), QStringLiteral("Mach"));
        QVERIFY(!panel.View().HasOverlay());
        panel.cbOverlay1503->click();
        QVERIFY(panel.View().HasOverlay());
        panel.selectorButtons[2]->click();
        QCOMPARE(panel.SelectedCurve(), 2);
        QCOMPARE(double(*panel.View().OverlayValue(1, 0, 2)), 1301.0);
        w.f.Select(0x1504);
        QVERIFY(panel.View().HasOverlay());

        const std::vector<uint8_t> before = w.f.Node(0x1504)->record.data.ToVector();
        QCOMPARE(panel.View().CurveCount(), 3);
        panel.eChangegraph->click();
        QCOMPARE(panel.View().CurveCount(), 2);
        QCOMPARE(panel.View().PointCount(), 3);
        QCOMPARE(w.f.Node(0x1504)->record.data, before);
        QVERIFY(!w.Changed());

        // A bad line changes nothing; a good file changes the table; export writes the text file.
        w.f.Select(0x0200);
        QVERIFY(panel.bExporttable->isVisible() && panel.bImporttable->isVisible());
        QVERIFY(panel.ExportTableTo(w.f.Path(QStringLiteral("lift.txt"))));
        QCOMPARE(w.f.ReadFile(QStringLiteral("lift.txt")), QByteArray("Points: 3\n0\t0\n5\t10\n10\t0\n"));
        QCOMPARE(QString::fromStdString(w.f.settings->asciidir), w.f.dir.path() + QLatin1Char('/'));

        const std::vector<uint8_t> lift = w.f.Node(0x0200)->record.data.ToVector();
        w.f.WriteFile(QStringLiteral("bad.txt"), "Points: 3\n1 2\n3 x\n");
        QVERIFY(!panel.ImportTableFrom(w.f.Path(QStringLiteral("bad.txt"))));
        QCOMPARE(QString::fromStdString(w.f.prompts.shown.back().text),
                 QStringLiteral("bad.txt line 3: 'x' is not a number - nothing was changed"));
        QCOMPARE(w.f.Node(0x0200)->record.data, lift);
        QVERIFY(!w.Changed());

        // A file of another shape, a short one, garbage and an empty file change nothing.
        const std::vector<std::pair<QByteArray, QString>> refused = {
            {"Points: 17\n1 2\n", QStringLiteral("x.txt line 1: expected \"Points: 3\", found \"Points: 17\"")},
            {"Columns: 3, Rows: 2\n1 2\n", QStringLiteral("x.txt line 1: expected \"Points: 3\", found \"Columns: 3, Rows: 2\"")},
            {"Points: 3\n1 2\n", QStringLiteral("x.txt line 3: the file ends after 1 of 3 value lines")},
            {"Points: 3\n1,2\n3,4\n5,6\n", QStringLiteral("x.txt line 2: expected 2 numbers, found \"1,2\"")},
            {"\x89PNG\r\n\x1a\n", QStringLiteral("x.txt line 1: expected \"Points: 3\", found \"?PNG\"")},
            {"", QStringLiteral("x.txt: the file is empty, expected \"Points: 3\"")},
        };
        for (const auto& [text, message] : refused) {
            w.f.WriteFile(QStringLiteral("x.txt"), text);
            QVERIFY(!panel.ImportTableFrom(w.f.Path(QStringLiteral("x.txt"))));
            QCOMPARE(QString::fromStdString(w.f.prompts.shown.back().text) + QLatin1Char(' ') +
                         QString::fromStdString(w.f.prompts.shown.back().kind),
                     message + QStringLiteral(" - nothing was changed error"));
            QCOMPARE(w.f.Node(0x0200)->record.data, lift);
            QVERIFY(!w.Changed());
        }

        w.f.WriteFile(QStringLiteral("good.txt"), "Points: 3\n1;2\n5 10\n10 0\n");
        QVERIFY(panel.ImportTableFrom(w.f.Path(QStringLiteral("good.txt"))));
        QCOMPARE(w.f.Node(0x0200)->record.data, PairTable({{1, 2}, {5, 10}, {10, 0}}));
        QVERIFY(w.Changed());
        QCOMPARE(panel.eXvalue->text(), QStringLiteral("1"));
        QVERIFY(!panel.ImportTableFrom(w.f.Path(QStringLiteral("missing.txt"))));
        QCOMPARE(w.f.prompts.shown.back().text, std::string("input file could not be opened"));

        // A file without records replaces the tree: the graph lets go of the old record.
        w.f.window->Changes().SetChanged(false);
        w.f.OpenFile(QStringLiteral("empty.air"), QByteArray());
        QCOMPARE(panel.View().PointCount(), 0);
        QVERIFY(!panel.View().Node() && panel.bExporttable->isHidden());
    }

    // Every typed field of the panel reads through the one strict reader. "x", an emptied field
    // and a 16-bit value out of range were stored as 0 or wrapped (20 became -12); now nothing is
    // stored, no message box comes per keystroke, the field is framed and the status bar says
    // why; leaving the field puts back the stored value's text.
    void typedTextThatIsNoStorableNumberStoresNothing() {
        Window w;
        w.f.Activate();
        TablePanel& panel = w.Panel();
        struct Case {
            uint32_t record;
            QLineEdit* TablePanel::*field; // null: the first key
            QString typed;
            QString reason;
        } cases[] = {
            {0x0200, &TablePanel::eYvalue, QStringLiteral("x"), QStringLiteral("'x' is not a number")},
            {0x0200, &TablePanel::eYvalue, QString(), QStringLiteral("no number given")},
            {0x0200, &TablePanel::eXvalue, QStringLiteral("1e"), QStringLiteral("'1e' is not a complete number")},
            {0x0200, &TablePanel::eXvalue, QStringLiteral("12xyz"), QStringLiteral("'12xyz' is not a number")},
            {0x0200, &TablePanel::eYvalue, QStringLiteral("1e39"),
             QStringLiteral("values between -3.40282346638529E38 and 3.40282346638529E38 only")},
            {0x0201, &TablePanel::eYvalue, QStringLiteral("20"), QStringLiteral("values between -16 and 15.99951171875 only")},
            {0x1503, nullptr, QStringLiteral("x"), QStringLiteral("'x' is not a number")},
            {0x1503, &TablePanel::eCorner, QStringLiteral("1.5.3"), QStringLiteral("'1.5.3' is not a number")},
        };
        for (const Case& c : cases) {
            w.f.Select(c.record);
            QLineEdit* field = c.field ? panel.*c.field : panel.selectorEdits[0];
            const QString shown = field->text();
            const std::vector<uint8_t> before = w.f.Node(c.record)->record.data.ToVector();
            const size_t messages = w.f.prompts.shown.size();
            field->setFocus();
            field->selectAll();
            if (c.typed.isEmpty()) {
                QTest::keyClick(field, Qt::Key_Delete);
            } else {
                field->insert(c.typed); // at once, as pasted: no number on the way
            }
            QVERIFY2(w.f.Node(c.record)->record.data == before, qPrintable(c.typed));
            QVERIFY(!w.Changed());
            QCOMPARE(w.f.prompts.shown.size(), messages);
            QVERIFY(ShowsRefusedText(field));
            QCOMPARE(w.f.window->statusBar()->currentMessage(), c.reason);
            w.f.Page().TV->setFocus();
            QCOMPARE(field->text(), shown);
            QVERIFY(!ShowsRefusedText(field));
            QCOMPARE(w.f.Node(c.record)->record.data, before);
        }
    }

    // Typing Y rewrote X with the shortened text the X field shows (-1.96349535... became
    // -1.963495351486), and took two Ctrl+Z. A field writes only its own value; X's text, as long
    // as it is the one shown, stands for the stored value bit for bit.
    void typingYKeepsXBitForBit() {
        Window w;
        w.f.Activate();
        TablePanel& panel = w.Panel();
        w.f.Select(0x0202);
        const std::vector<uint8_t> loaded = w.f.Node(0x0202)->record.data.ToVector();
        for (int point : {0, 1}) {
            w.Grid().setCurrentIndex(w.Grid().model()->index(point, 1));
            QCOMPARE(panel.View().MarkedPoint(), point);
            panel.eYvalue->setText(QStringLiteral("0.4"));
            std::vector<uint8_t> expected = loaded;
            std::memcpy(expected.data() + 4 + 16 * point + 8, "\x9a\x99\x99\x99\x99\x99\xd9\x3f", 8); // 0.4
            QCOMPARE(w.f.Node(0x0202)->record.data, expected);
            // "x" then Backspace in X: the shown text again, so the stored X, not its text.
            panel.eXvalue->setFocus();
            panel.eXvalue->end(false);
            QTest::keyClick(panel.eXvalue, Qt::Key_X);
            QTest::keyClick(panel.eXvalue, Qt::Key_Backspace);
            QCOMPARE(w.f.Node(0x0202)->record.data, expected);
            QTest::keySequence(panel.eYvalue, QKeySequence::Undo); // one step for one typed value
            QCOMPARE(w.f.Node(0x0202)->record.data, loaded);
            QVERIFY(!w.Changed());
        }
    }

    // Showing a table whose values cannot be drawn changes nothing and says so once. Typed
    // values on two points are two undo steps; undo keeps the curve, point and grid cell, and a
    // 3-D table keeps its axis names through key edits and undo.
    void viewingAndUndoKeepWhatTheUserSees() {
        Window w;
        w.f.Activate();
        for (int round = 0; round < 2; ++round) {
            w.f.Select(0x0203);
            QCOMPARE(w.f.Node(0x0203)->record.data, kOddLift);
            QVERIFY(!w.Changed() && !w.f.window->History().Undo1->isEnabled());
            QCOMPARE(w.f.window->statusBar()->currentMessage(),
                     QStringLiteral("record 0x0203: 3 values are not numbers or do not fit a 32-bit float; they "
                                    "are drawn at 0 and stay as they are until you edit them"));
            w.f.Select(0x0200);
        }

        TablePanel& panel = w.Panel();
        w.f.Select(0x1503);
        const auto axisNames = [&panel] { return std::pair(panel.LabelX->text(), panel.LabelY->text()); };
        const auto named = std::pair(QStringLiteral("Row"), QStringLiteral("Value"));
        QCOMPARE(axisNames(), named);
        panel.selectorEdits[0]->setText(QStringLiteral("15"));
        QCOMPARE(axisNames(), named);
        const auto typeY = [&](int row, const char* text) {
            ClickCell(w.Grid(), row, 1);
            panel.eYvalue->setFocus();
            panel.eYvalue->selectAll();
            TypeKeys(QString::fromLatin1(text));
        };
        typeY(0, "7");
        typeY(1, "8");
        const auto element = [&w](size_t offset) { return ReadDouble(w.f.Node(0x1503)->record.data, offset); };
        QCOMPARE(std::pair(element(8 + 8 * 7), element(8 + 8 * 8)), std::pair(7.0, 8.0)); // (2, 1), (2, 2)
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(std::pair(element(8 + 8 * 7), element(8 + 8 * 8)), std::pair(7.0, 202.0));
        QCOMPARE(std::tuple(panel.SelectedCurve(), panel.View().MarkedPoint(), w.Grid().currentIndex().row(),
                            w.Grid().currentIndex().column()),
                 std::tuple(1, 1, 1, 1));
        QCOMPARE(axisNames(), named);
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(element(8 + 8 * 7), 201.0);
        PressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ReadDouble(w.f.Node(0x1503)->record.data, 8 + 8 * 3), 10.0); // the key again
        QCOMPARE(axisNames(), named);
    }

    // Without a renderer (the offscreen platform) the German warning shows and editing goes on.
    void withoutOpenGL() {
        if (GraphWidget::OpenGLAvailable()) {
            QSKIP("a renderer is available; run with -platform offscreen");
        }
        // The warning comes once, after the start file is shown (also one without records);
        // without a start file, over the empty window.
        for (const bool hasRecords : {true, false}) {
            for (const bool withFile : {true, false}) {
                UiFixture f;
                TreeNotingPrompts prompts;
                f.usePrompts = &prompts;
                if (!hasRecords) {
                    f.records.clear();
                }
                f.Start({}, {}, withFile);
                QTRY_COMPARE(prompts.filled.size(), size_t(1));
                QCOMPARE(prompts.filled.front(), hasRecords && withFile);
                QTest::qWait(50);
                QCOMPARE(prompts.filled.size(), size_t(1));
                QCOMPARE(f.window->StartFileHandled(), withFile);
            }
        }

        Window w;
        QTRY_VERIFY(!w.f.prompts.shown.empty());
        QCOMPARE(w.f.prompts.shown.front().text,
                 std::string("OpenGL konnte nicht initialisiert werden: der Renderer ist nicht verfügbar!"));
        QVERIFY(!w.Panel().Graph());
        w.f.Select(0x0200);
        w.Panel().eYvalue->setText(QStringLiteral("4"));
        QCOMPARE(w.f.Node(0x0200)->record.data, PairTable({{0, 4}, {5, 10}, {10, 0}}));
    }
};

QTEST_MAIN(TablePanelTest)
#include "TablePanelTest.moc"
