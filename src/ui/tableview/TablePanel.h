// The table part of the record page: the graph with its value fields, lock boxes and the
// table export and import, and the 3-D selector (curve rows, corner value, "change graph",
// overlay). The record page hands a table record over on every view rebuild; every change of
// the record's bytes goes through the one record edit operation.
#pragma once

#include "CurveEditor.h"
#include "CurveView.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSplitter;

namespace kelvara {

class ChangeTracker;
class GraphWidget;
class RecordNode;
class RecordTree;
class Settings;
class TableGridView;
class UserPrompts;

struct TablePanelContext {
    Settings& settings;
    UserPrompts& prompts;
    ChangeTracker& changes;
    RecordTree& tree;
    // Renews the record view above the editors (title, help, hex view) after a table edit.
    std::function<void()> refreshAbove;
    // Builds the record view again from the record (a new view or overlay state, an import).
    std::function<void()> showAgain;
    // The ".air" file shown, for the proposed table file name.
    std::function<std::string()> filePath;
};

class TablePanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSelectorRows = CurveView::kMaxCurves;

    explicit TablePanel(TablePanelContext context, QWidget* parent = nullptr);
    ~TablePanel() override;

    // Record view steps: an empty graph; a table record with the axis name lists and the
    // corner label; then back to scale 1, offset 0 with the lock boxes applied, and redraw.
    // again: the record is the one shown before, not a new selection.
    void ShowNoTable();
    void ShowTable(RecordNode& node, const std::array<std::vector<std::string>, 3>& names,
                   const std::string& cornerLabel, bool again = false);
    // A record shown anew starts unzoomed; shown again (undo, a hex edit) it keeps zoom and pan.
    void ResetAndRedraw(bool newView = true);

    // Handlers, named after their controls.
    void SelectCurve();
    void EditKey(int entry);
    void EditCorner();
    void ChangeGraph();
    void OverlayToggled();
    // A typed X (axis 0) or Y (axis 1); only that field's value is written.
    void ApplyTypedValue(int axis);
    void ExportTable();
    void ImportTable();
    // The two table file operations after their dialogs; false when nothing was written/read.
    bool ExportTableTo(const QString& path);
    bool ImportTableFrom(const QString& path);

    // Mouse handling of the graph, also reachable without one.
    void GraphMouseDown(Qt::MouseButton button, int x, int y);
    void GraphMouseMove(const MouseState& mouse, int x, int y);
    void GraphMouseUp(Qt::MouseButton button);

    [[nodiscard]] CurveView& View() { return mView; }
    [[nodiscard]] CurveEditor& Editor() { return mEditor; }
    // Null until the OpenGL surface is made, and for good when no context could be made.
    [[nodiscard]] GraphWidget* Graph() const;
    [[nodiscard]] int SelectedCurve() const { return mSelectedCurve; }
    // The start file is drawn first; the graph's OpenGL start, or its warning, waits until it is.
    void HoldGraphStart() { mGraphStartHeld = true; }
    void ReleaseGraphStart();

    QWidget* RenderPanel = nullptr;
    QLabel* LabelX = nullptr;
    QLabel* LabelY = nullptr;
    QLineEdit* eXvalue = nullptr;
    QLineEdit* eYvalue = nullptr;
    QCheckBox* cbXlock = nullptr;
    QCheckBox* cbYlock = nullptr;
    QPushButton* bExporttable = nullptr;
    QPushButton* bImporttable = nullptr;

    // The 3-D selector, placed by the record page in its editor strip.
    QScrollArea* sbTbl3d = nullptr;
    QLabel* LabelCorner = nullptr;
    QLabel* LabelIndices = nullptr;
    QLineEdit* eCorner = nullptr;
    QPushButton* eChangegraph = nullptr;
    QCheckBox* cbOverlay1503 = nullptr;
    std::vector<QRadioButton*> selectorButtons;
    std::vector<QLineEdit*> selectorEdits;
    // The shown table as numbers, beside the graph; made with the first table.
    TableGridView* ValueGrid = nullptr;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildCurveRow(QWidget* graph);
    TableGridView& Grid();
    void BuildSelector();
    void EnsureSelectorRows(size_t count);
    void ShowMatrixTable(RecordNode& node, int curve);
    void ShowPointInFields(bool refit, int point);
    void ShowCurrentTable(bool resetMark);
    void CommitCurveEdit();
    void Redraw();
    void GridPointChosen(int curve, int point);
    void GridEdited();
    void PostGraphStart();
    void ReportNotices();
    void Status(const QString& text);
    // A text the panel wrote into a field and the exact value it stands for: while the field
    // holds that text, its value is this one, bit for bit, not the shortened text read back.
    struct ShownValue {
        QString text;
        long double value = 0;
    };
    void SetAxisText(int axis, const QString& text, long double value);
    void SetMatrixText(QLineEdit* field, ShownValue& shown, double value);
    [[nodiscard]] QLineEdit* AxisField(int axis) const;
    bool StoreMatrixElement(uint32_t column, uint32_t row, QLineEdit* field, ShownValue& shown);
    [[nodiscard]] const RecordNode* OverlayPartner(const RecordNode& node) const;
    [[nodiscard]] QString NumberText(long double value, bool limited) const;
    [[nodiscard]] QString ProposedFileName() const;
    // The file chosen to write (save) or to read, or empty.
    [[nodiscard]] QString ChooseTableFile(bool save);
    [[nodiscard]] bool German() const;
    [[nodiscard]] char LocaleMark() const;

    TablePanelContext mContext;
    CurveView mView;
    CurveEditor mEditor;
    GraphWidget* mGraphWidget = nullptr;
    QSplitter* mGraphAndGrid = nullptr;
    RecordNode* mNode = nullptr;
    // The table shown last, kept through ShowNoTable; compared, never read.
    const RecordNode* mShownNode = nullptr;
    int mShownType = 0;
    int mShownPoint = 0;
    int mSelectedCurve = 0;
    bool mDragged = false;
    bool mGraphStartDue = true;
    bool mGraphStartHeld = false;
    // Guards: the panel's own writes into its controls are no user edits.
    bool mAxisTextSetting = false;
    bool mSelectorUpdating = false;
    bool mFilling = false;
    bool mGridLeads = false;
    std::array<ShownValue, 2> mShownAxis;
    std::vector<ShownValue> mShownKeys;
    ShownValue mShownCorner;
};

} // namespace kelvara
