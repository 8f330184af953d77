#include "TablePanel.h"

#include "ChangeTracker.h"
#include "DataType.h"
#include "GraphWidget.h"
#include "RecordEdits.h"
#include "RecordTree.h"
#include "Settings.h"
#include "TableGridView.h"
#include "TableLayout.h"
#include "TextUtil.h"
#include "TypedNumberField.h"
#include "UiTexts.h"
#include "UserPrompts.h"
#include "ValueFormat.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kelvara {

namespace {

namespace TableTexts {
// Exists in German only and is shown whatever the language.
constexpr const char* kNoOpenGL =
    "OpenGL konnte nicht initialisiert werden: der Renderer ist nicht verfügbar!";
constexpr UiText ValuesNotDrawn{
    "record %1: %2 values are not numbers or do not fit a 32-bit float; they are drawn at 0 and "
    "stay as they are until you edit them",
    "Datensatz %1: %2 Werte sind keine Zahlen oder passen nicht in eine 32-Bit-Gleitkommazahl; "
    "sie werden bei 0 gezeichnet und bleiben, bis Sie sie ändern"};
constexpr UiText MatrixCutShort{
    "this table is shorter than its column and row counts say: only its complete columns are shown",
    "diese Tabelle ist kürzer als ihre Spalten- und Zeilenzahl angibt: nur vollständige Spalten "
    "werden gezeigt"};
constexpr UiText CurvesLimited{"only the first 500 curves of this table can be selected",
                               "nur die ersten 500 Kurven dieser Tabelle sind wählbar"};
constexpr UiText PointsLimited{"only the first 10000 points of this table are shown",
                               "nur die ersten 10000 Punkte dieser Tabelle werden gezeigt"};
constexpr UiText OverlayDiffers{
    "records 0x1503 and 0x1504 differ in size: the overlay is drawn where both have values",
    "die Datensätze 0x1503 und 0x1504 sind verschieden groß: die Überlagerung wird gezeigt, wo "
    "beide Werte haben"};
} // namespace TableTexts

const QEvent::Type kGraphStartEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

bool IsMatrix(int type) {
    return type == DataType::Tbl3d || type == DataType::Tbl3d_2;
}

void SetFieldEnabled(QLineEdit* edit, bool enabled) {
    edit->setEnabled(enabled);
}

} // namespace

TablePanel::TablePanel(TablePanelContext context, QWidget* parent)
    : QWidget(parent), mContext(std::move(context)) {
    setObjectName(QStringLiteral("CurvePanel"));
    setMinimumHeight(100);
    // The OpenGL start waits until the window is up: loading the GL driver is the largest part
    // of a desktop start.
    mGraphWidget = new GraphWidget(mView, mContext.settings, this);
    mGraphWidget->SetMouseHandlers({
        [this](Qt::MouseButton b, int x, int y) { GraphMouseDown(b, x, y); },
        [this](const MouseState& m, int x, int y) { GraphMouseMove(m, x, y); },
        [this](Qt::MouseButton b) { GraphMouseUp(b); },
    });
    RenderPanel = mGraphWidget;
    BuildCurveRow(mGraphWidget);
    BuildSelector();
}

TablePanel::~TablePanel() = default;

GraphWidget* TablePanel::Graph() const {
    return mGraphWidget->HasSurface() ? mGraphWidget : nullptr;
}

void TablePanel::BuildCurveRow(QWidget* graph) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    // The numbers beside the curves; the graph keeps the larger part.
    mGraphAndGrid = new QSplitter(Qt::Horizontal, this);
    mGraphAndGrid->setObjectName(QStringLiteral("GraphAndGrid"));
    mGraphAndGrid->setChildrenCollapsible(false);
    graph->setParent(mGraphAndGrid);
    mGraphAndGrid->addWidget(graph);
    mGraphAndGrid->setStretchFactor(0, 2);
    graph->setMinimumWidth(200);
    layout->addWidget(mGraphAndGrid, 1);

    auto* row = new QHBoxLayout;
    LabelX = new QLabel(QText(TextId::LabelX, mContext.settings), this);
    eXvalue = new QLineEdit(this);
    eXvalue->setObjectName(QStringLiteral("eXvalue"));
    LabelY = new QLabel(QText(TextId::LabelY, mContext.settings), this);
    eYvalue = new QLineEdit(this);
    eYvalue->setObjectName(QStringLiteral("eYvalue"));
    LabelX->setBuddy(eXvalue);
    LabelY->setBuddy(eYvalue);
    cbXlock = new QCheckBox(this);
    cbXlock->setObjectName(QStringLiteral("cbXlock"));
    cbXlock->setChecked(true);
    cbYlock = new QCheckBox(this);
    cbYlock->setObjectName(QStringLiteral("cbYlock"));
    bExporttable = new QPushButton(QText(TextId::ButtonExportTable, mContext.settings), this);
    bExporttable->setObjectName(QStringLiteral("bExporttable"));
    bImporttable = new QPushButton(QText(TextId::ButtonImportTable, mContext.settings), this);
    bImporttable->setObjectName(QStringLiteral("bImporttable"));
    bExporttable->hide();
    bImporttable->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{LabelX, eXvalue, LabelY, eYvalue, cbXlock,
                                                      cbYlock, bExporttable, bImporttable}) {
        row->addWidget(w);
    }
    row->addStretch(1);
    layout->addLayout(row);

    connect(eXvalue, &QLineEdit::textChanged, this, [this] { ApplyTypedValue(CurveView::kAxisX); });
    connect(eYvalue, &QLineEdit::textChanged, this, [this] { ApplyTypedValue(CurveView::kAxisY); });
    for (int axis : {CurveView::kAxisX, CurveView::kAxisY}) {
        RestoreWhenLeft(AxisField(axis), [this, axis] {
            QScopedValueRollback<bool> axisText(mAxisTextSetting, true);
            AxisField(axis)->setText(mShownAxis[size_t(axis)].text);
        });
    }
    connect(cbXlock, &QCheckBox::toggled, this, [this](bool on) { mEditor.lockX = on; });
    connect(cbYlock, &QCheckBox::toggled, this, [this](bool on) { mEditor.lockY = on; });
    connect(bExporttable, &QPushButton::clicked, this, [this] { ExportTable(); });
    connect(bImporttable, &QPushButton::clicked, this, [this] { ImportTable(); });
}

void TablePanel::BuildSelector() {
    sbTbl3d = new QScrollArea(this);
    sbTbl3d->setObjectName(QStringLiteral("sbTbl3d"));
    auto* inner = new QWidget;
    LabelCorner = new QLabel(inner);
    LabelCorner->setGeometry(16, 2, 120, 18);
    eCorner = new QLineEdit(inner);
    eCorner->setObjectName(QStringLiteral("eCorner"));
    eCorner->setGeometry(140, 0, 80, 21);
    LabelIndices = new QLabel(inner);
    LabelIndices->setGeometry(230, 2, 160, 18);
    eChangegraph = new QPushButton(inner);
    eChangegraph->setObjectName(QStringLiteral("eChangegraph"));
    eChangegraph->setGeometry(170, 25, 110, 25);
    cbOverlay1503 = new QCheckBox(inner);
    cbOverlay1503->setObjectName(QStringLiteral("cbOverlay1503"));
    cbOverlay1503->setGeometry(170, 55, 110, 21);
    inner->setMinimumSize(400, 25 + 20 * kSelectorRows + 4);
    sbTbl3d->setWidget(inner);
    connect(eCorner, &QLineEdit::textChanged, this, [this] { EditCorner(); });
    RestoreWhenLeft(eCorner, [this] {
        QScopedValueRollback<bool> updating(mSelectorUpdating, true);
        eCorner->setText(mShownCorner.text);
    });
    connect(eChangegraph, &QPushButton::clicked, this, [this] { ChangeGraph(); });
    connect(cbOverlay1503, &QCheckBox::clicked, this, [this] { OverlayToggled(); });
}

void TablePanel::EnsureSelectorRows(size_t count) {
    count = std::min(count, size_t(kSelectorRows));
    QWidget* inner = sbTbl3d->widget();
    // Rows are made as tables need them and then kept, hidden when unused.
    for (int i = int(selectorButtons.size()); i < int(count); ++i) {
        auto* button = new QRadioButton(inner);
        button->setGeometry(16, 25 + 20 * i, 17, 17);
        button->hide();
        auto* edit = new QLineEdit(inner);
        edit->setGeometry(37, 23 + 20 * i, 120, 21);
        edit->hide();
        selectorButtons.push_back(button);
        selectorEdits.push_back(edit);
        mShownKeys.emplace_back();
        RestoreWhenLeft(edit, [this, i] {
            QScopedValueRollback<bool> updating(mSelectorUpdating, true);
            selectorEdits[size_t(i)]->setText(mShownKeys[size_t(i)].text);
        });
        connect(button, &QRadioButton::clicked, this, [this] { SelectCurve(); });
        connect(edit, &QLineEdit::textChanged, this, [this, i] { EditKey(i); });
        // Clicking into a key also chooses its curve.
        edit->setProperty("row", i);
        edit->installEventFilter(this);
    }
}

bool TablePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QVariant row = watched->property("row");
        if (row.isValid() && row.toInt() >= 0 && row.toInt() < int(selectorButtons.size())) {
            selectorButtons[size_t(row.toInt())]->setChecked(true);
            SelectCurve();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TablePanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (mGraphStartDue) {
        PostGraphStart();
    }
}

void TablePanel::ReleaseGraphStart() {
    mGraphStartHeld = false;
    if (mGraphStartDue && isVisible()) {
        PostGraphStart();
    }
}

void TablePanel::PostGraphStart() {
    // After the window is up, so that it shows at once and a warning does not stand alone on
    // the desktop: low priority queues it behind the pending repaint.
    QCoreApplication::postEvent(this, new QEvent(kGraphStartEvent), Qt::LowEventPriority);
}

bool TablePanel::event(QEvent* event) {
    if (event->type() != kGraphStartEvent) {
        return QWidget::event(event);
    }
    if (mGraphStartDue && !mGraphStartHeld) {
        mGraphStartDue = false;
        if (GraphWidget::OpenGLAvailable()) {
            mGraphWidget->CreateSurface();
            Redraw();
        } else {
            // The panel keeps its place and the value fields still work. Nothing waits for the
            // warning's answer, so scripted runs (screenshots, timing) go on.
            mGraphWidget->ShowUnavailable();
            mContext.prompts.InformWithoutWaiting("Warning", TableTexts::kNoOpenGL);
        }
    }
    return true;
}

TableGridView& TablePanel::Grid() {
    if (!ValueGrid) { // most records are no tables
        ValueGrid = new TableGridView(mContext.settings, mContext.prompts, mGraphAndGrid);
        mGraphAndGrid->addWidget(ValueGrid);
        mGraphAndGrid->setStretchFactor(1, 1);
        connect(ValueGrid, &TableGridView::PointChosen, this, &TablePanel::GridPointChosen);
        connect(ValueGrid, &TableGridView::TableEdited, this, &TablePanel::GridEdited);
    }
    return *ValueGrid;
}

void TablePanel::ShowNoTable() {
    if (mNode) {
        mShownPoint = mView.MarkedPoint();
    }
    mView.ShowNoTable();
    mNode = nullptr;
    if (ValueGrid) {
        ValueGrid->ShowTable(nullptr);
    }
}

void TablePanel::ShowTable(RecordNode& node, const std::array<std::vector<std::string>, 3>& names,
                           const std::string& cornerLabel, bool again) {
    QScopedValueRollback<bool> filling(mFilling, true);
    QScopedValueRollback<bool> axisText(mAxisTextSetting, true);
    // Shown again as it was shown (undo, redo, a hex edit): the curve and point stay marked.
    again = again && mShownNode == &node && mShownType == node.record.type;
    const int keptCurve = again ? mSelectedCurve : 0;
    const int keptPoint = again ? mShownPoint : 0;
    mNode = &node;
    mShownNode = &node;
    mShownType = node.record.type;
    mEditor.textPoint = 0;
    Grid().ShowTable(&node, again);
    const int type = node.record.type;
    auto name = [&names](size_t list, size_t item) {
        return list < names.size() && item < names[list].size()
                   ? QString::fromLatin1(names[list][item])
                   : QString();
    };
    if (type == DataType::TblDb) {
        if (!IsValidTblDb(node.record.Bytes())) {
            return; // the record page has said why
        }
        cbXlock->setEnabled(true);
        cbYlock->setEnabled(true);
        mView.ShowPairTable(true, node);
        for (int axis : {CurveView::kAxisX, CurveView::kAxisY}) {
            const long double value = mView.PointValue(axis, 0);
            SetAxisText(axis, NumberText(value, false), value);
        }
        SetFieldEnabled(eXvalue, true);
        SetFieldEnabled(eYvalue, true);
    } else if (type == DataType::Tbl16 || type == DataType::Tbl16_2) {
        cbXlock->setEnabled(false);
        cbYlock->setEnabled(false);
        SetAxisText(CurveView::kAxisX, QStringLiteral("0"), 0);
        const auto first = node.record.data.size() >= 2
                               ? int16_t(node.record.data[0] | (node.record.data[1] << 8))
                               : int16_t{0};
        SetFieldEnabled(eYvalue, true);
        mView.ShowWordTable(true, type == DataType::Tbl16 ? 16 : 2048, node);
        // The first value shows as stored; it stands for the stored value, not its number.
        SetAxisText(CurveView::kAxisY, QString::number(first),
                    mView.PointCount() > 0 ? mView.PointValue(CurveView::kAxisY, 0) : 0);
    } else if (IsMatrix(type)) {
        const bool columns = type == DataType::Tbl3d;
        LabelIndices->setText(name(2, columns ? 0 : 1));
        LabelX->setText(name(columns ? 0 : 1, 0));
        LabelY->setText(name(columns ? 0 : 1, 1));
        LabelCorner->setText(QString::fromLatin1(cornerLabel));
        eCorner->setEnabled(!cornerLabel.empty());
        ShowMatrixTable(node, keptCurve);
    }
    if (again && mView.PointCount() > 0) {
        mView.SetMarkedPoint(keptPoint);
        ShowPointInFields(false, mView.MarkedPoint());
    }
    if (!IsMatrix(type)) {
        ReportNotices();
    }
}

void TablePanel::ShowMatrixTable(RecordNode& node, int curve) {
    const bool columns = node.record.type == DataType::Tbl3d;
    const auto data = node.record.Bytes();
    const MatrixShape shape = ReadMatrixShape(data).value_or(MatrixShape{});
    {
        QScopedValueRollback<bool> updating(mSelectorUpdating, true);
        for (size_t j = 0; j < selectorButtons.size() && !selectorButtons[j]->isHidden(); ++j) {
            selectorButtons[j]->hide();
            selectorEdits[j]->hide();
        }
        const uint64_t keys = columns ? shape.wholeColumns : (shape.wholeColumns > 0 ? shape.rows : 0);
        // The first row is checked even for a table without keys.
        EnsureSelectorRows(size_t(std::clamp<uint64_t>(keys, 2, kSelectorRows + 1) - 1));
        for (uint64_t i = 1; i < keys && i <= uint64_t(kSelectorRows); ++i) {
            const auto key = columns ? MatrixElement(data, shape, uint32_t(i), 0)
                                     : MatrixElement(data, shape, 0, uint32_t(i));
            QLineEdit* edit = selectorEdits[i - 1];
            SetMatrixText(edit, mShownKeys[i - 1], key.value_or(0));
            edit->setProperty("tag", QVariant::fromValue<qulonglong>(i));
            edit->show();
            selectorButtons[i - 1]->show();
        }
        SetMatrixText(eCorner, mShownCorner, MatrixElement(data, shape, 0, 0).value_or(0));
    }
    SetFieldEnabled(eXvalue, true);
    SetFieldEnabled(eYvalue, true);
    const size_t shown = size_t(std::count_if(selectorButtons.begin(), selectorButtons.end(),
                                              [](const QRadioButton* b) { return !b->isHidden(); }));
    selectorButtons[curve >= 0 && size_t(curve) < shown ? size_t(curve) : 0]->setChecked(true);
    SelectCurve();
    cbXlock->setEnabled(true);
    cbYlock->setEnabled(true);
}

void TablePanel::ResetAndRedraw(bool newView) {
    if (newView) {
        mView.ResetNavigation();
    }
    mEditor.lockX = cbXlock->isChecked();
    mEditor.lockY = cbYlock->isChecked();
    Redraw();
}

void TablePanel::Redraw() {
    mGraphWidget->Redraw();
    // While a cell chose the point, the grid's selection stays as the user made it.
    if (ValueGrid) {
        ValueGrid->FollowGraph(mView.CurrentCurve(), mGridLeads ? -1 : mView.MarkedPoint());
    }
}

void TablePanel::GridPointChosen(int curve, int point) {
    if (!mNode) {
        return;
    }
    QScopedValueRollback<bool> leads(mGridLeads, true);
    if (IsMatrix(mNode->record.type) && curve != mSelectedCurve && curve >= 0 &&
        curve < int(selectorButtons.size())) {
        selectorButtons[size_t(curve)]->setChecked(true);
        SelectCurve();
    }
    mView.SetMarkedPoint(point);
    ShowPointInFields(false, mView.MarkedPoint());
    Redraw();
}

void TablePanel::GridEdited() {
    TableGrid& grid = Grid().Grid();
    // Taken once: an edit the grid did not write itself (a configuration line) reads all.
    const GridBlock written = grid.TakeLastWrite();
    const auto point = grid.PointOfCell(written.first.row, written.first.column);
    if (written.rows == 1 && written.columns == 1 && point) {
        // One cell: the view reads its point again rather than the whole table.
        mView.PointWritten(point->curve, point->point);
        mView.ComputeExtents();
    } else {
        ShowCurrentTable(false);
        Grid().Model().Refresh(mView.CurrentCurve());
    }
    ShowPointInFields(false, mEditor.textPoint);
    Redraw();
    CommitCurveEdit();
}

void TablePanel::SelectCurve() {
    if (!mNode || !IsMatrix(mNode->record.type)) {
        return;
    }
    mSelectedCurve = 0;
    for (size_t j = 0; j < selectorButtons.size(); ++j) {
        if (selectorButtons[j]->isChecked()) {
            mSelectedCurve = int(j);
            break;
        }
    }
    QScopedValueRollback<bool> axisText(mAxisTextSetting, true);
    if (cbOverlay1503->isChecked() && cbOverlay1503->isEnabled()) {
        if (const RecordNode* partner = OverlayPartner(*mNode)) {
            mView.SetOverlay(partner);
        }
    }
    mEditor.textPoint = 0;
    ShowCurrentTable(true);
    ShowPointInFields(false, 0);
    if (mNode->record.type == DataType::Tbl3d && mView.PointCount() > 0) {
        // A newly chosen column curve shows its first point in full.
        for (int axis : {CurveView::kAxisX, CurveView::kAxisY}) {
            const long double value = mView.PointValue(axis, 0);
            SetAxisText(axis, NumberText(value, false), value);
        }
    }
    ReportNotices();
    if (!mFilling) { // a record view being built draws once it is done
        Redraw();
    }
}

const RecordNode* TablePanel::OverlayPartner(const RecordNode& node) const {
    const int number = node.record.lookupNumber;
    if (node.record.isField || (number != 0x1503 && number != 0x1504)) {
        return nullptr;
    }
    // The neighbour in the tree, by position: the record just after 0x1503 or just before 0x1504.
    const RecordNode* previous = nullptr;
    const RecordNode* found = nullptr;
    bool takeNext = false;
    mContext.tree.ForEach([&](RecordNode& each) {
        if (found) {
            return;
        }
        if (takeNext) {
            found = each.record.lookupNumber == 0x1504 && !each.record.isField ? &each : nullptr;
            takeNext = false;
            previous = &each;
            return;
        }
        if (&each == &node) {
            if (number == 0x1503) {
                takeNext = true;
            } else if (previous && previous->record.lookupNumber == 0x1503 && !previous->record.isField) {
                found = previous;
            }
        }
        previous = &each;
    });
    return found;
}

void TablePanel::ShowCurrentTable(bool resetMark) {
    if (!mNode) {
        return;
    }
    switch (mNode->record.type) {
    case DataType::TblDb:
        mView.ShowPairTable(resetMark, *mNode);
        break;
    case DataType::Tbl16:
    case DataType::Tbl16_2:
        mView.ShowWordTable(resetMark, mNode->record.type == DataType::Tbl16 ? 16 : 2048, *mNode);
        break;
    case DataType::Tbl3d:
    case DataType::Tbl3d_2:
        mView.ShowMatrix(resetMark, mNode->record.type == DataType::Tbl3d ? 0 : 2, mSelectedCurve, *mNode);
        break;
    default:
        break;
    }
}

void TablePanel::ShowPointInFields(bool refit, int point) {
    mEditor.textPoint = point;
    QScopedValueRollback<bool> axisText(mAxisTextSetting, true);
    if (mView.PointCount() == 0) {
        return;
    }
    const CurveMode mode = mView.Mode();
    if (mode == CurveMode::Word16Table || mode == CurveMode::Fixed16Table) {
        SetAxisText(CurveView::kAxisX, QString::number(point), point);
        const long double y = mView.PointValue(CurveView::kAxisY, point);
        SetAxisText(CurveView::kAxisY,
                    mode == CurveMode::Word16Table ? QString::number(qlonglong(y)) : NumberText(y, true), y);
    } else {
        for (int axis : {CurveView::kAxisX, CurveView::kAxisY}) {
            const long double value = mView.PointValue(axis, point);
            SetAxisText(axis, NumberText(value, true), value);
        }
    }
    if (refit) {
        mView.ComputeExtents();
    }
}

void TablePanel::SetAxisText(int axis, const QString& text, long double value) {
    QScopedValueRollback<bool> axisText(mAxisTextSetting, true);
    mShownAxis[size_t(axis)] = {text, value};
    AxisField(axis)->setText(text);
    ClearRefusedText(AxisField(axis));
}

void TablePanel::SetMatrixText(QLineEdit* field, ShownValue& shown, double value) {
    shown = {NumberText(value, true), value};
    field->setText(shown.text);
    ClearRefusedText(field);
}

QLineEdit* TablePanel::AxisField(int axis) const {
    return axis == CurveView::kAxisX ? eXvalue : eYvalue;
}

void TablePanel::ApplyTypedValue(int axis) {
    QLineEdit* field = AxisField(axis);
    if (mAxisTextSetting || mFilling || !mNode || mView.PointCount() == 0 || !field->isEnabled()) {
        return;
    }
    const int point = std::min(mEditor.textPoint, mView.PointCount() - 1);
    ShownValue& shown = mShownAxis[size_t(axis)];
    long double value = shown.value;
    if (field->text() != shown.text) {
        const QByteArray text = field->text().toUtf8();
        const std::string_view typed(text.constData(), size_t(text.size()));
        const TableValue read = ReadTableValue(mView.Mode(), typed, LocaleMark());
        if (!read.Ok()) {
            ShowRefusedText(field, QString::fromStdString(TableValueMessage(read, typed, German())));
            return;
        }
        value = read.value;
    }
    ClearRefusedText(field);
    const bool stored = mView.SetPointValue(axis, point, value);
    shown = {field->text(), mView.PointValue(axis, point)};
    if (!stored) {
        return;
    }
    mView.ComputeExtents();
    Redraw();
    if (ValueGrid && point != mView.MarkedPoint()) {
        ValueGrid->Model().PointChanged(mView.CurrentCurve(), point);
    }
    CommitCurveEdit();
}

bool TablePanel::StoreMatrixElement(uint32_t column, uint32_t row, QLineEdit* field, ShownValue& shown) {
    if (!mNode || !IsMatrix(mNode->record.type)) {
        return false;
    }
    double value = double(shown.value);
    if (field->text() != shown.text) {
        const QByteArray text = field->text().toUtf8();
        const std::string_view typed(text.constData(), size_t(text.size()));
        const TableValue read = ReadTableValue(CurveMode::ColumnCurves, typed, LocaleMark());
        if (!read.Ok()) {
            ShowRefusedText(field, QString::fromStdString(TableValueMessage(read, typed, German())));
            return false;
        }
        value = read.value;
    }
    ClearRefusedText(field);
    shown = {field->text(), value};
    const auto shape = ReadMatrixShape(mNode->record.Bytes());
    std::vector<uint8_t> bytes = mNode->record.data.ToVector();
    if (!shape || !SetMatrixElement(bytes, *shape, column, row, value) || bytes == mNode->record.data ||
        ReplaceRecordBytes(*mNode, std::move(bytes)).status != EditStatus::Ok) {
        return false;
    }
    // Keys move the curves sideways, so the graph follows at once.
    ShowCurrentTable(false);
    Redraw();
    if (ValueGrid) {
        ValueGrid->Model().Refresh(mView.CurrentCurve());
    }
    CommitCurveEdit();
    return true;
}

void TablePanel::EditKey(int entry) {
    if (mSelectorUpdating || mFilling || !mNode || entry < 0 || entry >= int(selectorEdits.size())) {
        return;
    }
    const uint32_t tag = uint32_t(selectorEdits[size_t(entry)]->property("tag").toULongLong());
    const bool columns = mNode->record.type == DataType::Tbl3d;
    StoreMatrixElement(columns ? tag : 0, columns ? 0 : tag, selectorEdits[size_t(entry)], mShownKeys[size_t(entry)]);
}

void TablePanel::EditCorner() {
    if (mFilling || mSelectorUpdating) {
        return;
    }
    StoreMatrixElement(0, 0, eCorner, mShownCorner);
}

void TablePanel::ChangeGraph() {
    if (!mNode || !IsMatrix(mNode->record.type)) {
        return;
    }
    // Only the view changes; the bytes and the changed flag stay as they are.
    mNode->record.type = mNode->record.type == DataType::Tbl3d ? DataType::Tbl3d_2 : DataType::Tbl3d;
    mContext.showAgain();
}

void TablePanel::OverlayToggled() {
    mContext.showAgain();
}

void TablePanel::CommitCurveEdit() {
    mContext.refreshAbove();
    mContext.changes.SetChanged(true);
}

void TablePanel::GraphMouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::MiddleButton) {
        mEditor.RememberMouse(x, y);
        return;
    }
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        return;
    }
    mDragged = false;
    const int picked = mEditor.PickPoint(mView, x, y);
    if (picked >= 0) {
        ShowPointInFields(false, picked);
    }
    if (mView.PointCount() > 0) {
        Redraw();
    }
}

void TablePanel::GraphMouseMove(const MouseState& mouse, int x, int y) {
    switch (mEditor.DragOrNavigate(mView, mouse, x, y)) {
    case DragOutcome::PointMoved:
        mDragged = true;
        ShowPointInFields(mouse.ctrl, mView.MarkedPoint());
        Redraw();
        break;
    case DragOutcome::Navigated:
        Redraw();
        break;
    case DragOutcome::Nothing:
        break;
    }
}

void TablePanel::GraphMouseUp(Qt::MouseButton button) {
    // A right click that moved nothing is no edit.
    if (button == Qt::RightButton && mDragged) {
        mDragged = false;
        CommitCurveEdit();
    }
}

void TablePanel::ReportNotices() {
    const TableNotices& n = mView.Notices();
    const bool german = German();
    if (n.undrawable > 0 && mNode) {
        Status(Pick(TableTexts::ValuesNotDrawn, german)
                   .arg(QStringLiteral("0x%1").arg(mNode->record.lookupNumber, 4, 16, QLatin1Char('0')))
                   .arg(n.undrawable));
    } else if (n.matrixCutShort) {
        Status(Pick(TableTexts::MatrixCutShort, german));
    } else if (n.curvesLimited) {
        Status(Pick(TableTexts::CurvesLimited, german));
    } else if (n.pointsLimited) {
        Status(Pick(TableTexts::PointsLimited, german));
    } else if (n.overlayDiffers) {
        Status(Pick(TableTexts::OverlayDiffers, german));
    }
}

void TablePanel::Status(const QString& text) {
    if (auto* main = qobject_cast<QMainWindow*>(window())) {
        main->statusBar()->showMessage(text);
    }
}

QString TablePanel::NumberText(long double value, bool limited) const {
    const std::string text = FormatGeneral(value, LocaleMark());
    return QString::fromLatin1(limited ? LimitDecimals(text) : text);
}

bool TablePanel::German() const {
    return mContext.settings.German();
}

char TablePanel::LocaleMark() const {
    return LocaleDecimalMark();
}

} // namespace kelvara
