// The table grid beside the graph: the shown table as numbers in a table view over the
// toolkit-free grid. Typed cells and pasted blocks go through the grid's one record edit;
// refusals are told in the program's message style. The grid owns Ctrl+C / Ctrl+V while it
// has the focus, so the record clipboard of the Edit menu does not take them. Its context menu
// copies and pastes the whole table as one line of an MSFS configuration file.
#pragma once

#include "TableGrid.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <functional>

namespace kelvara {

class Settings;
class UserPrompts;

class TableGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    TableGridModel(TableGrid& grid, const Settings& settings, QObject* parent = nullptr);

    void Reset(RecordNode* node);
    // Values, keys and the highlighted curve after a change elsewhere.
    void Refresh(int currentCurve);
    // Only what a move of the graph can change: the highlight when the curve is another, and
    // the point's cells and key. A frame then costs the same in a grid of any size.
    void FollowCurve(int currentCurve);
    void PointChanged(int curve, int point);
    // Cells written through the grid itself.
    void CellsChanged(GridBlock block);
    [[nodiscard]] int CurrentCurve() const { return mCurve; }

    // Set by the view: a typed cell; false when it was refused.
    std::function<bool(int row, int column, const QString& text)> editCell;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  private:
    void CurveChanged(int curve);

    TableGrid& mGrid;
    const Settings& mSettings;
    int mCurve = 0;
};

class TableGridView : public QTableView {
    Q_OBJECT
  public:
    TableGridView(const Settings& settings, UserPrompts& prompts, QWidget* parent = nullptr);

    // A table record, or null for none; the grid hides while it has no cells. keepSelection:
    // the same table again, whose selected cells stay selected.
    void ShowTable(RecordNode* node, bool keepSelection = false);
    // After the graph changed: the marked point's values, the highlighted curve and the current
    // cell follow.
    void FollowGraph(int curve, int point);

    void CopySelection();
    void PasteClipboard();
    // The whole table as one configuration line, and such a line as one record edit.
    void CopyCfgLine();
    void PasteCfgLine();

    [[nodiscard]] TableGrid& Grid() { return mGrid; }
    [[nodiscard]] TableGridModel& Model() { return *mModel; }

  signals:
    // The user made a cell current: the graph marks its point.
    void PointChosen(int curve, int point);
    // Bytes of the shown table changed.
    void TableEdited();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    bool EditCell(int row, int column, const QString& text);
    void RefuseTyped(const GridEdit& edit);
    void RefusePaste(const GridEdit& edit, GridCell anchor);

    const Settings& mSettings;
    UserPrompts& mPrompts;
    TableGrid mGrid;
    TableGridModel* mModel = nullptr;
    bool mFollowing = false;
};

} // namespace kelvara
