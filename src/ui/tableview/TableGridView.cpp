#include "TableGridView.h"

#include "RecordEdits.h"
#include "RecordTree.h"
#include "Settings.h"
#include "TableCfgLine.h"
#include "UiTexts.h"
#include "UserPrompts.h"
#include "ValueFormat.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPalette>
#include <QScopedValueRollback>
#include <QTimer>

#include <array>
#include <utility>
#include <vector>

namespace kelvara {

namespace {

constexpr UiText kDoesNotFit{
    "the pasted block of %1 × %2 values (rows × columns) does not fit into the table from the "
    "selected cell on, which has room for %3 × %4 - nothing was changed",
    "der eingefügte Block von %1 × %2 Werten (Zeilen × Spalten) passt ab der gewählten Zelle "
    "nicht in die Tabelle, dort ist Platz für %3 × %4 - nichts wurde geändert"};
constexpr UiText kNotANumber{
    "row %1, column %2 of the pasted block: \"%3\" is not a number - nothing was changed",
    "Zeile %1, Spalte %2 des eingefügten Blocks: \"%3\" ist keine Zahl - nichts wurde geändert"};
constexpr UiText kOutOfRange{
    "row %1, column %2 of the pasted block: values between %3 and %4 only - nothing was changed",
    "Zeile %1, Spalte %2 des eingefügten Blocks: nur Werte zwischen %3 und %4 sind erlaubt - "
    "nichts wurde geändert"};
constexpr UiText kNotEditable{
    "the pasted block covers the index column, which cannot be changed - nothing was changed",
    "der eingefügte Block reicht in die Indexspalte, die sich nicht ändern lässt - nichts wurde "
    "geändert"};
constexpr UiText kNotRectangular{
    "the pasted text is no rectangular block: line %1 has %2 values, line 1 has %3 - nothing was "
    "changed",
    "der eingefügte Text ist kein rechteckiger Block: Zeile %1 hat %2 Werte, Zeile 1 hat %3 - "
    "nichts wurde geändert"};
constexpr UiText kCopyCfgLine{"Copy as configuration line", "Als Konfigurationszeile kopieren"};
constexpr UiText kPasteCfgLine{"Paste configuration line", "Konfigurationszeile einfügen"};
constexpr UiText kCfgLineRefused{"the configuration line does not fit this table: %1 - nothing was changed",
                                 "die Konfigurationszeile passt nicht zu dieser Tabelle: %1 - nichts wurde "
                                 "geändert"};
constexpr UiText kCfgLineNotFinite{
    "the table holds a value that is no finite number, which a configuration line cannot hold",
    "die Tabelle enthält einen Wert, der keine endliche Zahl ist und in keiner "
    "Konfigurationszeile stehen kann"};
constexpr UiText kNothingToPaste{"the clipboard holds no values to paste",
                                 "die Zwischenablage enthält keine Werte zum Einfügen"};

QString KeyText(std::optional<double> key) {
    return key ? QString::fromStdString(FormatGeneral(*key, LocaleDecimalMark())) : QString();
}

} // namespace

TableGridModel::TableGridModel(TableGrid& grid, const Settings& settings, QObject* parent)
    : QAbstractTableModel(parent), mGrid(grid), mSettings(settings) {}

void TableGridModel::Reset(RecordNode* node) {
    beginResetModel();
    mGrid.Show(node);
    mCurve = 0;
    endResetModel();
}

void TableGridModel::Refresh(int currentCurve) {
    mCurve = currentCurve;
    if (mGrid.Rows() == 0) {
        return;
    }
    emit dataChanged(index(0, 0), index(mGrid.Rows() - 1, mGrid.Columns() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, mGrid.Columns() - 1);
    emit headerDataChanged(Qt::Vertical, 0, mGrid.Rows() - 1);
}

void TableGridModel::FollowCurve(int currentCurve) {
    if (currentCurve == mCurve) {
        return;
    }
    const int old = std::exchange(mCurve, currentCurve);
    CurveChanged(old);
    CurveChanged(mCurve);
}

void TableGridModel::CurveChanged(int curve) {
    if (mGrid.Kind() == TableGrid::Layout::Matrix && curve >= 0 && curve < mGrid.Columns()) {
        emit dataChanged(index(0, curve), index(mGrid.Rows() - 1, curve), {Qt::BackgroundRole});
        emit headerDataChanged(Qt::Horizontal, curve, curve);
    } else if (mGrid.Kind() == TableGrid::Layout::MatrixByRows && curve >= 0 && curve < mGrid.Rows()) {
        emit dataChanged(index(curve, 0), index(curve, mGrid.Columns() - 1), {Qt::BackgroundRole});
        emit headerDataChanged(Qt::Vertical, curve, curve);
    }
}

void TableGridModel::PointChanged(int curve, int point) {
    const auto cell = mGrid.CellOfPoint(curve, point);
    if (!cell) {
        return;
    }
    if (mGrid.IsMatrix()) {
        // X of a matrix point is a key, shown as a heading.
        emit dataChanged(index(cell->row, cell->column), index(cell->row, cell->column));
        const bool byColumns = mGrid.Kind() == TableGrid::Layout::Matrix;
        emit headerDataChanged(byColumns ? Qt::Vertical : Qt::Horizontal, byColumns ? cell->row : cell->column,
                               byColumns ? cell->row : cell->column);
    } else {
        emit dataChanged(index(cell->row, 0), index(cell->row, mGrid.Columns() - 1));
    }
}

void TableGridModel::CellsChanged(GridBlock block) {
    if (block.rows > 0 && block.columns > 0) {
        emit dataChanged(index(block.first.row, block.first.column),
                         index(block.first.row + block.rows - 1, block.first.column + block.columns - 1));
    }
}

int TableGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mGrid.Rows();
}

int TableGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mGrid.Columns();
}

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(mGrid.CellText(index.row(), index.column(), LocaleDecimalMark()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (mGrid.OnCurve(index.row(), index.column(), mCurve)) {
            QColor shade = QApplication::palette().color(QPalette::Highlight);
            shade.setAlpha(60);
            return shade;
        }
        if (!mGrid.Editable(index.row(), index.column())) {
            return QApplication::palette().color(QPalette::Window);
        }
        return {};
    default:
        return {};
    }
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool horizontal = orientation == Qt::Horizontal;
    if (role == Qt::FontRole && mGrid.IsMatrix()) {
        // The current curve's key stands out as its cells do.
        if (mGrid.OnCurve(horizontal ? -1 : section, horizontal ? section : -1, mCurve)) {
            QFont bold = QApplication::font();
            bold.setBold(true);
            return bold;
        }
        return {};
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (mGrid.IsMatrix()) {
        return KeyText(horizontal ? mGrid.ColumnKey(section) : mGrid.RowKey(section));
    }
    if (horizontal) {
        return QText(section == 0 ? TextId::LabelX : TextId::LabelY, mSettings);
    }
    return QString::number(section);
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && mGrid.Editable(index.row(), index.column())) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool TableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !editCell) {
        return false;
    }
    if (!editCell(index.row(), index.column(), value.toString())) {
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

TableGridView::TableGridView(const Settings& settings, UserPrompts& prompts, QWidget* parent)
    : QTableView(parent), mSettings(settings), mPrompts(prompts) {
    setObjectName(QStringLiteral("TableGrid"));
    mModel = new TableGridModel(mGrid, settings, this);
    mModel->editCell = [this](int row, int column, const QString& text) { return EditCell(row, column, text); };
    setModel(mModel);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // Tab leaves the grid like any other control; the arrows move between cells.
    setTabKeyNavigation(false);
    horizontalHeader()->setDefaultSectionSize(80);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setMinimumWidth(160);
    hide();
}

void TableGridView::ShowTable(RecordNode* node, bool keepSelection) {
    QScopedValueRollback<bool> following(mFollowing, true);
    // A reset forgets the selection; the same table shown again gets its cells back.
    std::vector<std::array<int, 4>> ranges;
    const QModelIndex current = currentIndex();
    const std::pair<int, int> at{current.row(), current.column()};
    if (keepSelection) {
        for (const QItemSelectionRange& r : selectionModel()->selection()) {
            ranges.push_back({r.top(), r.left(), r.bottom(), r.right()});
        }
    }
    mModel->Reset(node);
    if (keepSelection && at.first >= 0 && at.first < mModel->rowCount() && at.second < mModel->columnCount()) {
        QItemSelection selection;
        for (const auto& [top, left, bottom, right] : ranges) {
            if (bottom < mModel->rowCount() && right < mModel->columnCount()) {
                selection.select(mModel->index(top, left), mModel->index(bottom, right));
            }
        }
        selectionModel()->setCurrentIndex(mModel->index(at.first, at.second), QItemSelectionModel::NoUpdate);
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    // The 16-bit tables show their index as X already.
    const TableGrid::Layout layout = mGrid.Kind();
    verticalHeader()->setVisible(layout != TableGrid::Layout::Words && layout != TableGrid::Layout::FixedWords);
    setVisible(mGrid.Rows() > 0);
}

void TableGridView::FollowGraph(int curve, int point) {
    QScopedValueRollback<bool> following(mFollowing, true);
    mModel->FollowCurve(curve);
    mModel->PointChanged(curve, point);
    const auto cell = mGrid.CellOfPoint(curve, point);
    if (!cell) {
        return;
    }
    const auto shown = mGrid.PointOfCell(currentIndex().row(), currentIndex().column());
    if (shown && shown->curve == curve && shown->point == point) {
        return; // keeps a selection of many cells that starts at the marked point
    }
    const QModelIndex at = mModel->index(cell->row, cell->column);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    scrollTo(at);
}

void TableGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (mFollowing || !current.isValid()) {
        return;
    }
    if (const auto point = mGrid.PointOfCell(current.row(), current.column())) {
        emit PointChosen(point->curve, point->point);
    }
}

bool TableGridView::event(QEvent* event) {
    // Copy and paste of cells, not of records, while the grid has the focus.
    if (event->type() == QEvent::ShortcutOverride && state() != EditingState) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

void TableGridView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        event->accept();
    } else if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        event->accept();
    } else {
        QTableView::keyPressEvent(event);
    }
}

void TableGridView::CopySelection() {
    std::vector<GridCell> cells;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        cells.push_back({index.row(), index.column()});
    }
    if (cells.empty() && currentIndex().isValid()) {
        cells.push_back({currentIndex().row(), currentIndex().column()});
    }
    const std::string text = mGrid.CopyText(cells, LocaleDecimalMark());
    if (!text.empty()) {
        QApplication::clipboard()->setText(QString::fromStdString(text));
    }
}

void TableGridView::PasteClipboard() {
    if (mGrid.Rows() == 0) {
        return;
    }
    // The block starts at the top left of the selection.
    GridCell anchor{currentIndex().row(), currentIndex().column()};
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        anchor = {selected.front().row(), selected.front().column()};
        for (const QModelIndex& index : selected) {
            anchor = {std::min(anchor.row, index.row()), std::min(anchor.column, index.column())};
        }
    }
    if (anchor.row < 0 || anchor.column < 0) {
        anchor = {0, 0};
    }
    const QByteArray text = QApplication::clipboard()->text().toUtf8();
    const GridEdit edit = mGrid.Paste(anchor.row, anchor.column,
                                      std::string_view(text.constData(), size_t(text.size())),
                                      LocaleDecimalMark());
    if (edit.status != GridEdit::Status::Ok) {
        RefusePaste(edit, anchor);
        return;
    }
    const QModelIndex first = mModel->index(anchor.row, anchor.column);
    const QModelIndex last = mModel->index(anchor.row + edit.blockRows - 1, anchor.column + edit.blockColumns - 1);
    {
        QScopedValueRollback<bool> following(mFollowing, true);
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
    }
    if (edit.changed) {
        mModel->CellsChanged(mGrid.LastWrite());
        emit TableEdited();
    }
}

void TableGridView::contextMenuEvent(QContextMenuEvent* event) {
    if (mGrid.Node() == nullptr) {
        return;
    }
    const bool german = mSettings.German();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("TableGridMenu"));
    QAction* copy = menu.addAction(Pick(kCopyCfgLine, german));
    copy->setObjectName(QStringLiteral("CopyCfgLine"));
    connect(copy, &QAction::triggered, this, &TableGridView::CopyCfgLine);
    QAction* paste = menu.addAction(Pick(kPasteCfgLine, german));
    paste->setObjectName(QStringLiteral("PasteCfgLine"));
    connect(paste, &QAction::triggered, this, &TableGridView::PasteCfgLine);
    menu.exec(event->globalPos());
}

void TableGridView::CopyCfgLine() {
    const RecordNode* node = mGrid.Node();
    if (node == nullptr) {
        return;
    }
    const CfgLineWrite line = WriteCfgLine(node->record.type, node->record.Bytes());
    if (line.status == CfgLineWrite::Status::NotFinite) {
        mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings),
                        Pick(kCfgLineNotFinite, mSettings.German()).toStdString());
        return;
    }
    if (line.status == CfgLineWrite::Status::Ok) {
        QApplication::clipboard()->setText(QString::fromStdString(line.line));
    }
}

void TableGridView::PasteCfgLine() {
    RecordNode* node = mGrid.Node();
    if (node == nullptr) {
        return;
    }
    const QByteArray text = QApplication::clipboard()->text().toUtf8();
    CfgLineRead read = ReadCfgLine(node->record.type, node->record.Bytes(),
                                   std::string_view(text.constData(), size_t(text.size())));
    if (read.status != CfgLineRead::Status::Ok) {
        const bool german = mSettings.German();
        QString reason = QString::fromStdString(DescribeCfgLineRefusal(read, german));
        // The sentence continues the message.
        reason.chop(reason.endsWith(u'.') ? 1 : 0);
        if (!reason.isEmpty() && !german) {
            reason[0] = reason[0].toLower();
        }
        mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings),
                        Pick(kCfgLineRefused, german).arg(reason).toStdString());
        return;
    }
    if (read.bytes == node->record.data) {
        return;
    }
    // One record edit, so one undo step, as a pasted block.
    if (ReplaceRecordBytes(*node, std::move(read.bytes)).status != EditStatus::Ok) {
        return;
    }
    emit TableEdited();
}

bool TableGridView::EditCell(int row, int column, const QString& text) {
    // A cell editor still open while the window closes loses focus and would commit into a
    // window on its way out; the value was never entered, so it is dropped.
    if (window()->isHidden()) {
        return false;
    }
    const QByteArray typed = text.toUtf8();
    const GridEdit edit =
        mGrid.SetCell(row, column, std::string_view(typed.constData(), size_t(typed.size())), LocaleDecimalMark());
    if (edit.status != GridEdit::Status::Ok) {
        // After the cell editor has closed: a message box now would take its focus and
        // make it commit a second time.
        QTimer::singleShot(0, this, [this, edit] { RefuseTyped(edit); });
        return false;
    }
    if (edit.changed) {
        emit TableEdited();
    }
    return true;
}

void TableGridView::RefuseTyped(const GridEdit& edit) {
    const bool german = mSettings.German();
    if (edit.status == GridEdit::Status::NotANumber) {
        mPrompts.Error(Utf8Text(TextId::CaptionError, mSettings), ConversionErrorMessage(edit.text, edit.fault, german));
    } else if (edit.status == GridEdit::Status::OutOfRange) {
        mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings), RangeMessage(edit.limits, german));
    }
}

void TableGridView::RefusePaste(const GridEdit& edit, GridCell anchor) {
    const bool german = mSettings.German();
    const int row = edit.at.row + 1;
    const int column = edit.at.column + 1;
    QString message;
    switch (edit.status) {
    case GridEdit::Status::DoesNotFit:
        message = Pick(kDoesNotFit, german)
                      .arg(edit.blockRows)
                      .arg(edit.blockColumns)
                      .arg(mGrid.Rows() - anchor.row)
                      .arg(mGrid.Columns() - anchor.column);
        break;
    case GridEdit::Status::NotANumber:
        message = Pick(kNotANumber, german).arg(row).arg(column).arg(QString::fromStdString(edit.text));
        break;
    case GridEdit::Status::OutOfRange:
        message = Pick(kOutOfRange, german)
                      .arg(row)
                      .arg(column)
                      .arg(QString::fromStdString(edit.limits.minText), QString::fromStdString(edit.limits.maxText));
        break;
    case GridEdit::Status::NotEditable:
        message = Pick(kNotEditable, german);
        break;
    case GridEdit::Status::NotRectangular:
        message = Pick(kNotRectangular, german).arg(row).arg(edit.lineLength).arg(edit.blockColumns);
        break;
    case GridEdit::Status::Empty:
        message = Pick(kNothingToPaste, german);
        break;
    default:
        return;
    }
    mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings), message.toStdString());
}

} // namespace kelvara
