#include "RecordPage.h"

#include "CaptionWidthDelegate.h"
#include "ChangeTracker.h"
#include "DataType.h"
#include "HexEditorView.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"
#include "RecordTree.h"
#include "RecordTreeModel.h"
#include "Settings.h"
#include "StartupDecisions.h"
#include "TablePanel.h"
#include "TextUtil.h"
#include "TypedNumberField.h"
#include "UiTexts.h"
#include "UserPrompts.h"
#include "ValueFormat.h"
#include "Windows1252.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace kelvara {

namespace {

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    return memo;
}

void ScrollToTop(QPlainTextEdit* memo) {
    memo->moveCursor(QTextCursor::Start);
    memo->verticalScrollBar()->setValue(0);
    memo->horizontalScrollBar()->setValue(0);
}

// Record texts carry CR LF; the memo works with one line break character.
QString MemoTextOf(const std::string& bytes) {
    QString text = FromRecordText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

RecordPage::RecordPage(RecordPageContext context, QWidget* parent)
    : QWidget(parent), mContext(context) {
    setObjectName(QStringLiteral("AirPanel"));
    mModel = new RecordTreeModel(mContext.tree, this);
    mModel->SetCaptionOf([this](const RecordNode& node) { return CaptionOf(node); });
    BuildLayout();
    ClearView();
}

RecordPage::~RecordPage() = default;

void RecordPage::BuildLayout() {
    TV = new QTreeView(this);
    TV->setObjectName(QStringLiteral("TV"));
    TV->setHeaderHidden(true);
    TV->setIndentation(18);
    TV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TV->setUniformRowHeights(true);
    TV->setModel(mModel);
    TV->setItemDelegate(new CaptionWidthDelegate(TV));
    // Captions end in their values: scroll sideways instead of cutting them off.
    TV->setTextElideMode(Qt::ElideNone);
    TV->header()->setStretchLastSection(false);
    TV->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    TV->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(TV->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        QScopedValueRollback<bool> chosen(mRecordChosen, true);
        TVChange();
    });

    auto* editorArea = new QWidget(this);
    auto* editorLayout = new QVBoxLayout(editorArea);
    editorLayout->setContentsMargins(2, 2, 2, 2);
    TitlePanel = new QLabel(editorArea);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    TitlePanel->setFrameShape(QFrame::Panel);
    TitlePanel->setFrameShadow(QFrame::Sunken);
    TitlePanel->setTextFormat(Qt::PlainText);
    QFont titleFont = TitlePanel->font();
    titleFont.setBold(true);
    TitlePanel->setFont(titleFont);
    editorLayout->addWidget(TitlePanel);
    mSplitter4 = new QSplitter(Qt::Vertical, editorArea);
    mSplitter4->setObjectName(QStringLiteral("Splitter4"));
    mSplitter4->setChildrenCollapsible(false);
    mSplitter4->addWidget(BuildEditorStrip());
    HexEditor = new HexEditorView(mSplitter4);
    HexEditor->hide();
    mSplitter4->addWidget(HexEditor);
    editorLayout->addWidget(mSplitter4, 1);
    connect(HexEditor, &HexEditorView::BytesTyped, this, [this] { HexToRecord(); });

    // Made after the editors: Tab from the tree reaches the value before the help text.
    HelpMemo = MakeMemo(this, "HelpMemo");
    HelpMemo->setReadOnly(true);
    HelpMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HelpMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    mSplitter3 = new QSplitter(Qt::Horizontal, this);
    mSplitter3->setObjectName(QStringLiteral("Panel9"));
    mSplitter3->addWidget(editorArea);
    mSplitter3->addWidget(HelpMemo);
    mSplitter3->setStretchFactor(0, 1);

    mSplitter2 = new QSplitter(Qt::Vertical, this);
    mSplitter2->addWidget(mSplitter3);
    mSplitter2->addWidget(BuildCurvePanel());
    mSplitter2->setStretchFactor(1, 1);
    mSplitter2->setChildrenCollapsible(false);

    mSplitter1 = new QSplitter(Qt::Horizontal, this);
    mSplitter1->setObjectName(QStringLiteral("Splitter1"));
    mSplitter1->addWidget(TV);
    mSplitter1->addWidget(mSplitter2);
    mSplitter1->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mSplitter1);
    ApplyPanelSizes(Settings::kDefaultTreeWidth, 370, 238);
}

QWidget* RecordPage::BuildEditorStrip() {
    auto* strip = new QWidget(this);
    auto* layout = new QVBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);

    TextPanel = new QWidget(strip);
    TextPanel->setObjectName(QStringLiteral("TextPanel"));
    auto* textLayout = new QVBoxLayout(TextPanel);
    textLayout->setContentsMargins(0, 0, 0, 0);
    TextMemo = MakeMemo(TextPanel, "TextMemo");
    TextMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextMemo->installEventFilter(this);
    textLayout->addWidget(TextMemo);
    connect(TextMemo, &QPlainTextEdit::textChanged, this, [this] { TextMemoChange(); });

    NumberPanel = new QWidget(strip);
    NumberPanel->setObjectName(QStringLiteral("NumberPanel"));
    auto* numberLayout = new QHBoxLayout(NumberPanel);
    numberLayout->setContentsMargins(0, 0, 0, 0);
    eNumber = new QLineEdit(NumberPanel);
    eNumber->setObjectName(QStringLiteral("eNumber"));
    eNumber->setMaximumWidth(240);
    numberLayout->addWidget(eNumber, 0, Qt::AlignTop);
    numberLayout->addStretch(1);
    connect(eNumber, &QLineEdit::textChanged, this, [this] { eNumberChange(); });
    RestoreWhenLeft(eNumber, [this] {
        if (const RecordNode* node = SelectedNode()) {
            QScopedValueRollback<bool> refreshing(mViewRefreshing, true);
            FillEditor(*node);
        }
    });

    BoolPanel = new QGroupBox(strip);
    BoolPanel->setObjectName(QStringLiteral("BoolPanel"));
    auto* boolLayout = new QVBoxLayout(BoolPanel);
    rbTrue = new QRadioButton(QText(TextId::RadioTrue, mContext.settings), BoolPanel);
    rbTrue->setObjectName(QStringLiteral("rbTrue"));
    rbFalse = new QRadioButton(QText(TextId::RadioFalse, mContext.settings), BoolPanel);
    rbFalse->setObjectName(QStringLiteral("rbFalse"));
    boolLayout->addWidget(rbTrue);
    boolLayout->addWidget(rbFalse);
    boolLayout->addStretch(1);
    BoolPanel->setMaximumWidth(240);
    // The two buttons are exclusive, so one toggle of rbTrue stands for a click on either.
    connect(rbTrue, &QRadioButton::toggled, this, [this] { rbTrueClick(); });

    CompareMemo = MakeMemo(strip, "CompareMemo");
    CompareMemo->setReadOnly(true);

    layout->addWidget(TextPanel, 1);
    layout->addWidget(NumberPanel, 1);
    layout->addWidget(BoolPanel, 1, Qt::AlignLeft);
    layout->addWidget(BuildTableSelector(), 1);
    layout->addWidget(CompareMemo, 1);
    CompareMemo->hide();
    return strip;
}

QWidget* RecordPage::BuildTableSelector() {
    mTables = new TablePanel(
        TablePanelContext{mContext.settings, mContext.prompts, mContext.changes, mContext.tree,
                          [this] { CurveCommit(); }, [this] { TVChange(); },
                          [this] { return mFilePath; }},
        this);
    return mTables->sbTbl3d;
}

QWidget* RecordPage::BuildCurvePanel() {
    return mTables;
}

void RecordPage::CurveCommit() {
    QScopedValueRollback<bool> editor(mEditorCommitting, true);
    QScopedValueRollback<bool> curve(mCurveCommitting, true);
    TVChange();
}

std::string RecordPage::CaptionOf(const RecordNode& node) const {
    return NodeCaption(node, mContext.dictionary, mCaptionOptions);
}

ReadResult RecordPage::ReplaceTree(const ReadOptions& options, const std::function<ReadResult(RecordTree&)>& read) {
    ReadResult result;
    {
        QScopedValueRollback<bool> loading(mTreeLoading, true);
        RecordTree fresh;
        result = read(fresh);
        if (result.code != ReadResultCode::Ok) {
            return result;
        }
        mModel->BeginReplace();
        mContext.tree = std::move(fresh);
        mCaptionOptions = options;
        mModel->EndReplace();
        ClearView();
    }
    if (!mContext.tree.Empty()) {
        SelectNode(mContext.tree.Root(0));
        TV->setFocus();
    }
    return result;
}

void RecordPage::SelectNode(const RecordNode* node) {
    const QModelIndex index = mModel->IndexOf(node);
    if (index.isValid()) {
        TV->setCurrentIndex(index);
        TV->scrollTo(index);
    }
}

RecordNode* RecordPage::SelectedNode() const {
    return RecordTreeModel::NodeAt(TV->currentIndex());
}

void RecordPage::SetMenuActions(QAction* cut, QAction* copy, QAction* compare) {
    mCutAction = cut;
    mCopyAction = copy;
    mCompareAction = compare;
}

void RecordPage::SetHexVisible(bool visible) {
    HexEditor->setVisible(visible);
    const QList<int> outer = mSplitter2->sizes();
    if (outer.size() == 2) {
        const int upper = visible ? 350 : 210;
        mSplitter2->setSizes({upper, std::max(outer[0] + outer[1] - upper, 1)});
    }
    if (visible) {
        const int strip = 60;
        const QList<int> inner = mSplitter4->sizes();
        const int total = inner.size() == 2 ? inner[0] + inner[1] : 0;
        mSplitter4->setSizes({strip, std::max(total - strip, strip)});
    }
}

void RecordPage::ApplyPanelSizes(int treeWidth, int upperHeight, int helpWidth) {
    // A splitter takes sizes as shares of its current extent; give the rest to the other side.
    auto apply = [](QSplitter* splitter, int first, int firstSize, bool horizontal) {
        const int total =
            std::max(horizontal ? splitter->width() : splitter->height(), 2 * firstSize + 2);
        const int size = std::max(firstSize, 0);
        if (first == 0) {
            splitter->setSizes({size, std::max(total - size, 1)});
        } else {
            splitter->setSizes({std::max(total - size, 1), size});
        }
    };
    apply(mSplitter1, 0, treeWidth, true);
    apply(mSplitter2, 0, upperHeight, false);
    apply(mSplitter3, 1, helpWidth, true);
}

std::array<int, 3> RecordPage::PanelSizes() const {
    return {mSplitter1->sizes().value(0), mSplitter2->sizes().value(0),
            mSplitter3->sizes().value(1)};
}

void RecordPage::ApplyGraphRules(int windowHeight, bool resizing) {
    const QList<int> sizes = mSplitter2->sizes();
    if (sizes.size() != 2) {
        return;
    }
    const int upper = UpperAreaHeight(sizes[0], sizes[1], windowHeight, resizing);
    if (upper != sizes[0]) {
        mSplitter2->setSizes({upper, sizes[0] + sizes[1] - upper});
    }
}

void RecordPage::ClearView() {
    QScopedValueRollback<bool> refreshing(mViewRefreshing, true);
    TitlePanel->clear();
    HelpMemo->clear();
    HexEditor->ShowRecord({}, {}, 0, 0, false);
    ShowPanel(nullptr);
    CompareMemo->hide();
    mTableShown = false;
    if (mTables) {
        // The graph must not keep reading a record of a tree that is gone.
        mTables->ShowNoTable();
        mTables->ResetAndRedraw();
        mTables->bExporttable->hide();
        mTables->bImporttable->hide();
    }
}

void RecordPage::ShowPanel(QWidget* panel) {
    for (QWidget* candidate :
         std::initializer_list<QWidget*>{TextPanel, NumberPanel, BoolPanel, mTables->sbTbl3d}) {
        candidate->setVisible(candidate == panel);
    }
}

void RecordPage::TVChange() {
    RecordNode* node = SelectedNode();
    if (mTreeLoading) {
        return;
    }
    if (!node) {
        ClearView(); // the last node was cut: no editor may stay on a record that is gone
        return;
    }
    CompareMemo->hide();
    if (mCompareAction) {
        mCompareAction->setChecked(false);
    }
    mTables->bExporttable->hide();
    mTables->bImporttable->hide();

    const AirRecord& record = node->record;
    size_t shownLength = record.data.size();
    mTableTextPieces.clear();
    for (auto& list : mNameLists) {
        list.clear();
    }
    for (QAction* action : {mCutAction, mCopyAction}) {
        if (action) {
            action->setEnabled(!record.isField);
        }
    }
    mTableShown = IsTableType(record.type);
    HexEditor->SetTableShown(mTableShown);
    if (record.type == DataType::Text && shownLength > 0) {
        --shownLength; // the terminating zero byte is not shown
    }

    const RecordTexts texts = TextsOf(record, mContext.dictionary);
    TitlePanel->setText(FromConfigText(texts.name));
    if (mTableShown) {
        mTableTextPieces = SplitFields(texts.axis, '|');
        for (size_t list : {size_t{2}, size_t{0}, size_t{1}}) {
            if (list < mTableTextPieces.size()) {
                mNameLists[list] = SplitFields(mTableTextPieces[list], ',');
            }
        }
        mTables->bExporttable->show();
        mTables->bImporttable->show();
    }
    QStringList helpLines;
    const size_t needed = ValueWidth(record.type);
    const bool tooShort = record.data.size() < needed;
    if (tooShort) {
        helpLines << Pick(Texts::ShorterThanItsType, German())
                         .arg(static_cast<qulonglong>(record.data.size()))
                         .arg(static_cast<qulonglong>(needed));
    }
    for (const std::string& line : SplitFields(texts.help, '|')) {
        helpLines << FromConfigText(line);
    }
    HelpMemo->setPlainText(helpLines.join(QLatin1Char('\n')));
    ScrollToTop(HelpMemo);

    if (!mHexCommitting) {
        FillHexView(*node, shownLength);
    }
    if (mCurveCommitting) {
        return; // the table's controls, its axis names among them, stay as they are
    }
    if (mTableShown) {
        mTables->LabelX->setText(QText(TextId::LabelX, mContext.settings));
        mTables->LabelY->setText(QText(TextId::LabelY, mContext.settings));
    }

    switch (record.type) {
    case DataType::Text:
        ShowPanel(TextPanel);
        break;
    case DataType::Bool:
        ShowPanel(BoolPanel);
        break;
    case DataType::Tbl3d:
    case DataType::Tbl3d_2:
        ShowPanel(mTables->sbTbl3d);
        mTables->cbOverlay1503->setEnabled(record.lookupNumber == 0x1503 || record.lookupNumber == 0x1504);
        break;
    default:
        ShowPanel(IsNumberType(record.type) ? NumberPanel : nullptr);
        break;
    }

    mTables->ShowNoTable();
    QScopedValueRollback<bool> refreshing(mViewRefreshing, true);
    // An edit of such a record could store nothing, so none is offered.
    eNumber->setReadOnly(tooShort);
    BoolPanel->setEnabled(!tooShort);
    mTables->eXvalue->setEnabled(false);
    mTables->eYvalue->setEnabled(false);
    if (!mEditorCommitting) {
        FillEditor(*node);
    }
    if (record.type == DataType::TblDb) {
        CheckTblDb(*node);
    }
    if (mTableShown) {
        mTables->ShowTable(*node, mNameLists, mTableTextPieces.size() > 3 ? mTableTextPieces[3] : std::string(),
                           !mRecordChosen);
    }
    mTables->ResetAndRedraw(mRecordChosen);
}

size_t RecordPage::ValueWidth(int type) {
    if (type == DataType::Bool || IsNumberType(type)) {
        return static_cast<size_t>(std::max(FixedWidth(type), 0));
    }
    return 0;
}

void RecordPage::FillHexView(const RecordNode& node, size_t shownLength) {
    const AirRecord& record = node.record;
    // The length line is UTF-8 ("Länge"); the view holds record bytes.
    const std::string lengthLine =
        Utf8ToWindows1252(LengthLineText(static_cast<int>(shownLength), German())).value_or("");
    HexEditor->ShowRecord(lengthLine, record.Bytes(), shownLength, record.offset, record.type > 0);
}

void RecordPage::FillEditor(const RecordNode& node) {
    const AirRecord& record = node.record;
    if (record.type == DataType::Text) {
        TextMemo->setPlainText(MemoTextOf(record.Text()));
        ScrollToTop(TextMemo);
    } else if (record.type == DataType::Bool) {
        const auto bytes = record.Bytes().first(std::min<size_t>(4, record.data.size()));
        const bool value =
            std::any_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b != 0; });
        (value ? rbTrue : rbFalse)->setChecked(true);
    } else if (IsNumberType(record.type)) {
        const auto text = EditorNumberText(record.type, record.Bytes(), LocaleMark());
        eNumber->setText(text ? QString::fromLatin1(*text) : QString());
        ClearRefusedText(eNumber);
    }
}

void RecordPage::CheckTblDb(const RecordNode& node) {
    const AirRecord& record = node.record;
    const size_t size = record.data.size();
    bool valid = size >= 12;
    if (valid) {
        const uint64_t count = static_cast<uint64_t>(record.data[0]) |
                               (static_cast<uint64_t>(record.data[1]) << 8) |
                               (static_cast<uint64_t>(record.data[2]) << 16) |
                               (static_cast<uint64_t>(record.data[3]) << 24);
        valid = size >= 4 + 16 * count;
    }
    if (valid) {
        return;
    }
    std::string name = mFilePath;
    if (ToLower(name).ends_with(".air")) {
        name.resize(name.size() - 4);
    }
    mContext.prompts.Inform(Utf8Text(TextId::CaptionWarning, mContext.settings),
                            Utf8Text(TextId::InvalidTbldbPrefix, mContext.settings) + name);
}

bool RecordPage::eventFilter(QObject* watched, QEvent* event) {
    // Only record 3 holds a text of several lines; elsewhere Enter would add a stray break.
    if (watched == TextMemo && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const RecordNode* node = SelectedNode();
            if (!node || node->record.lookupNumber != 3) {
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RecordPage::TextMemoChange() {
    RecordNode* node = SelectedNode();
    if (mViewRefreshing || !node || node->record.type != DataType::Text) {
        return;
    }
    QString text = TextMemo->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const std::optional<std::string> bytes = ToRecordText(text);
    if (!bytes) {
        RefuseUnstorableText(*node, text);
        return;
    }
    const EditResult result = ApplyTextEdit(*node, *bytes);
    switch (result.status) {
    case EditStatus::Ok:
        Commit(*node, false);
        break;
    case EditStatus::TextTooLong:
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                                PickUtf8(Texts::TextTooLong, German()));
        break;
    case EditStatus::TextTooLongForField: {
        const QString message = Pick(Texts::TextTooLongForField, German())
                                    .arg(static_cast<qulonglong>(node->record.data.size() - 1));
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                                message.toStdString());
        break;
    }
    default:
        break;
    }
}

void RecordPage::RefuseUnstorableText(const RecordNode& node, const QString& typed) {
    // The memo goes back to what is stored, so that it never shows a text the file lacks.
    const int position = TextMemo->textCursor().position();
    {
        QScopedValueRollback<bool> refreshing(mViewRefreshing, true);
        TextMemo->setPlainText(MemoTextOf(node.record.Text()));
        QTextCursor cursor = TextMemo->textCursor();
        cursor.setPosition(std::clamp(position - 1, 0, int(TextMemo->toPlainText().size())));
        TextMemo->setTextCursor(cursor);
    }
    const QString message =
        Pick(Texts::CharacterNotStorable, German()).arg(FirstUnstorableCharacter(typed));
    mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                            message.toStdString());
}

void RecordPage::eNumberChange() {
    RecordNode* node = SelectedNode();
    if (mViewRefreshing || !node) {
        return;
    }
    const QString typed = eNumber->text();
    const QByteArray bytes = typed.toLatin1();
    const EditResult result =
        ApplyNumberEdit(*node, std::string_view(bytes.constData(), bytes.size()), LocaleMark());
    switch (result.status) {
    case EditStatus::Ok:
        ClearRefusedText(eNumber);
        Commit(*node, true);
        break;
    case EditStatus::RangeRejected: {
        const std::string message = RangeMessage(result.limits, German());
        ShowRefusedText(eNumber, QString::fromStdString(message));
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings), message);
        break;
    }
    case EditStatus::ConversionError:
        // Typing goes on: "-" and "1e" are on their way to a number.
        ShowRefusedText(eNumber, QString::fromStdString(ConversionErrorMessage(
                                     typed.toUtf8().toStdString(), result.fault, German())));
        break;
    default:
        break;
    }
}

void RecordPage::rbTrueClick() {
    RecordNode* node = SelectedNode();
    if (mViewRefreshing || !node) {
        return;
    }
    if (ApplyBoolEdit(*node, rbTrue->isChecked()).status == EditStatus::Ok) {
        Commit(*node, true);
    }
}

void RecordPage::Commit(RecordNode& node, bool updateCaption) {
    // The core has already copied a field's bytes into its parent.
    mContext.changes.SetChanged(true);
    QScopedValueRollback<bool> committing(mEditorCommitting, true);
    if (updateCaption) {
        UpdateNodeCaption(node);
    }
    TVChange();
}

void RecordPage::HexToRecord() {
    RecordNode* node = SelectedNode();
    if (!node) {
        return;
    }
    if (ReplaceRecordBytes(*node, HexEditor->State().ApplyTo(node->record.Bytes())).status !=
        EditStatus::Ok) {
        return;
    }
    // Without the flag "Save aircraft" would skip a file changed only here.
    mContext.changes.SetChanged(true);
    const int type = node->record.type;
    if (type == DataType::Bool || IsNumberType(type)) {
        UpdateNodeCaption(*node);
    }
    QScopedValueRollback<bool> committing(mHexCommitting, true);
    TVChange();
}

void RecordPage::UpdateNodeCaption(RecordNode& node) {
    const NumberStyle style{LocaleMark(), mContext.settings.decimal};
    node.SetCaption(kelvara::UpdateNodeCaption(
        CaptionOf(node), FormatValue(node.record.type, node.record.Bytes(), style)));
    mModel->CaptionChanged(&node);
}

bool RecordPage::German() const {
    return mContext.settings.German();
}

char RecordPage::LocaleMark() const {
    return LocaleDecimalMark();
}

} // namespace kelvara
