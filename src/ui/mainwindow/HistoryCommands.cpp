#include "HistoryCommands.h"

#include "AirFileReader.h"
#include "BusyCursor.h"
#include "ChangeTracker.h"
#include "DataType.h"
#include "HexEditorView.h"
#include "RecordPage.h"
#include "RecordTreeModel.h"
#include "Settings.h"
#include "UiTexts.h"
#include "UserPrompts.h"
#include "ValueEncoding.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace kelvara {

namespace {

constexpr UiText kUndo{"&Undo", "&Rückgängig"};
constexpr UiText kRedo{"&Redo", "&Wiederholen"};
constexpr UiText kRevertRecord{"Revert record", "Datensatz zurücksetzen"};
constexpr UiText kNotOnDisk{
    "this record is not in the file on disk; it stays as it is",
    "dieser Datensatz ist nicht in der Datei auf der Festplatte; er bleibt, wie er ist"};
constexpr UiText kDiskUnreadable{
    "the file on disk cannot be read; this record stays as it is",
    "die Datei auf der Festplatte lässt sich nicht lesen; dieser Datensatz bleibt, wie er ist"};
constexpr UiText kDiskChanged{
    "this record has changed in the file on disk since it was loaded or saved; it stays as it is",
    "dieser Datensatz wurde in der Datei auf der Festplatte seit dem Laden oder Speichern "
    "geändert; er bleibt, wie er ist"};

bool TypesIntoRecord(const QObject* watched) {
    if (const auto* field = qobject_cast<const QLineEdit*>(watched)) {
        // A grid's cell editor stores once, on Enter: each cell is a step of its own.
        const QWidget* holder = field->parentWidget();
        return !(holder && qobject_cast<const QAbstractItemView*>(holder->parentWidget()));
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(watched)) {
        return !memo->isReadOnly();
    }
    return qobject_cast<const HexEditorView*>(watched) != nullptr;
}

} // namespace

HistoryCommands::HistoryCommands(QMainWindow& window, RecordPage& page, ChangeTracker& changes,
                                 UserPrompts& prompts, const Settings& settings,
                                 QMenu& editMenu)
    : mWindow(window), mPage(page), mChanges(changes), mPrompts(prompts), mSettings(settings),
      mHistory(*page.Model()) {
    const bool german = settings.German();
    QAction* first = editMenu.actions().isEmpty() ? nullptr : editMenu.actions().constFirst();
    auto add = [&](const char* name, const UiText& text, void (HistoryCommands::*handler)()) {
        auto* action = new QAction(Pick(text, german), &editMenu);
        action->setObjectName(QString::fromLatin1(name));
        editMenu.insertAction(first, action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    Undo1 = add("Undo1", kUndo, &HistoryCommands::Undo1Click);
    Redo1 = add("Redo1", kRedo, &HistoryCommands::Redo1Click);
    RevertRecord1 = add("RevertRecord1", kRevertRecord, &HistoryCommands::RevertRecord1Click);
    editMenu.insertSeparator(first);
    Undo1->setShortcut(QKeySequence::Undo);
    Redo1->setShortcut(QKeySequence::Redo);
    mHistory.Attach();
    mHistory.SetStepsChanged([this] {
        UpdateActions();
        emit FileEdited();
    });
    connect(page.Model(), &QAbstractItemModel::modelReset, this, [this] { TreeReplaced(); });
    TreeReplaced();
    qApp->installEventFilter(this);
}

HistoryCommands::~HistoryCommands() {
    qApp->removeEventFilter(this);
}

void HistoryCommands::TreeReplaced() {
    // A history never outlives its file or variation.
    mHistory.Clear();
    FileSaved();
}

void HistoryCommands::FileSaved() {
    mHistory.MarkSaved();
    mDisk.Take(mPage.Model()->Tree());
    UpdateActions();
}

bool HistoryCommands::ChangedSinceSaved(const RecordNode& root) const {
    const std::optional<size_t> saved = mDisk.Find(mPage.Model()->Tree(), root);
    return !saved || !mDisk.Holds(*saved, root.record);
}

void HistoryCommands::Undo1Click() {
    AfterStep(mHistory.Undo());
}

void HistoryCommands::Redo1Click() {
    AfterStep(mHistory.Redo());
}

void HistoryCommands::AfterStep(std::optional<size_t> root) {
    const RecordTree& tree = mPage.Model()->Tree();
    if (root) {
        if (*root < tree.RootCount()) {
            RecordNode* touched = tree.Root(*root);
            RefreshCaptions(*touched);
            const RecordNode* selected = mPage.SelectedNode();
            const RecordNode* selectedRoot = selected;
            while (selectedRoot && selectedRoot->Parent()) {
                selectedRoot = selectedRoot->Parent();
            }
            // Stay on a field of the touched record; otherwise show the record itself.
            if (selectedRoot == touched) {
                mPage.TVChange();
            } else {
                mPage.SelectNode(touched);
            }
        } else {
            mPage.TVChange(); // the last record went: the view clears
        }
        // After the view is refilled, which may store the same value again.
        mChanges.SetChanged(!mHistory.AtSavedState() && !SameAsDisk());
    }
    UpdateActions();
}

void HistoryCommands::RefreshCaptions(RecordNode& root) {
    auto refresh = [this](RecordNode& node) {
        const int type = node.record.type;
        if (type == DataType::Bool || IsNumberType(type)) {
            mPage.UpdateNodeCaption(node);
        }
    };
    refresh(root);
    for (size_t i = 0; i < root.ChildCount(); ++i) {
        refresh(*root.Child(i));
    }
}

bool HistoryCommands::SameAsDisk() const {
    return mDisk.Matches(mPage.Model()->Tree());
}

void HistoryCommands::RevertRecord1Click() {
    RecordNode* root = mPage.SelectedNode();
    while (root && root->Parent()) {
        root = root->Parent();
    }
    if (!root) {
        return;
    }
    const std::optional<size_t> disk = mDisk.Find(mPage.Model()->Tree(), *root);
    if (!disk || mDisk.FieldCount(*disk) != root->ChildCount()) {
        Inform(kNotOnDisk);
        return;
    }
    // Only fingerprints were kept: the bytes come from the file, if it is still as saved.
    RecordTree onDisk;
    ReadResult read{ReadResultCode::CannotOpen, 0, {}};
    {
        BusyCursor busy;
        ReadOptions options = mPage.LoadOptions();
        options.captions = false;
        options.fields = false;
        if (!mPage.FilePath().empty()) {
            read = ReadAirFile(mPage.FilePath(), mPage.Dictionary(), options, onDisk);
        }
    }
    if (read.code != ReadResultCode::Ok) {
        Inform(kDiskUnreadable);
        return;
    }
    if (*disk >= onDisk.RootCount() || !mDisk.Holds(*disk, onDisk.Root(*disk)->record)) {
        Inform(kDiskChanged);
        return;
    }
    const std::span<const uint8_t> bytes = onDisk.Root(*disk)->record.data;
    mHistory.BeginStep();
    for (size_t i = 0; i < root->ChildCount(); ++i) {
        const AirRecord& field = root->Child(i)->record;
        const auto saved = SavedImage::FieldBytes(bytes, field.offset, field.data.size());
        (void)ReplaceRecordBytes(*root->Child(i), {saved.begin(), saved.end()});
    }
    (void)ReplaceRecordBytes(*root, {bytes.begin(), bytes.end()});
    mHistory.EndStep();
    RefreshCaptions(*root);
    mPage.TVChange();
    mChanges.SetChanged(!SameAsDisk());
    UpdateActions();
}

void HistoryCommands::Inform(const UiText& text) {
    mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings), PickUtf8(text, mSettings.German()));
}

void HistoryCommands::UpdateActions() {
    Undo1->setEnabled(mHistory.CanUndo());
    Redo1->setEnabled(mHistory.CanRedo());
}

bool HistoryCommands::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &mWindow) {
        return false;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::FocusIn) {
        // Typing after a click, or in another field, is another action: two values typed for
        // two points of a table are two steps.
        mHistory.EndTyping();
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        // Every move of a right-button drag stores at once; together they are one step.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) {
            return false;
        }
        const bool press = type == QEvent::MouseButtonPress;
        if (press != mDragging) {
            mDragging = press;
            press ? mHistory.BeginStep() : mHistory.EndStep();
        }
    } else if (type == QEvent::KeyPress && TypesIntoRecord(watched)) {
        mHistory.MarkTyping();
        // A key that stored nothing must not make the next edit (a paste, a drag) join the
        // typed step before it; a key's edit is stored while the key is handled.
        QTimer::singleShot(0, this, [this] { mHistory.ForgetTyping(); });
    } else if (type == QEvent::ShortcutOverride) {
        // The value fields would undo only their own text; the window's undo covers the file.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            return true;
        }
    }
    return false;
}

} // namespace kelvara
