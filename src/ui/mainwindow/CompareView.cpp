#include "CompareView.h"

#include "ChangeTracker.h"
#include "CompareList.h"
#include "HistoryCommands.h"
#include "RecordDictionary.h"
#include "RecordPage.h"
#include "RecordTreeModel.h"
#include "Settings.h"
#include "UiTexts.h"
#include "UserPrompts.h"

#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <QTreeView>

#include <utility>

namespace kelvara {

namespace {
constexpr UiText kCopyFromCompared{"Copy record from compared file",
                                   "Datensatz aus Vergleichsdatei übernehmen"};
constexpr UiText kSame{"A and B hold the same records.", "A und B enthalten dieselben Datensätze."};
constexpr UiText kNotRead{"%1 could not be read for the comparison: %2",
                          "%1 konnte für den Vergleich nicht gelesen werden: %2"};
constexpr UiText kCopyRemoves{
    "The compared file has no record %1 (%2). Copying from it removes the record from this "
    "file. Remove it?",
    "Die Vergleichsdatei hat keinen Datensatz %1 (%2). Die Übernahme entfernt den Datensatz aus "
    "dieser Datei. Entfernen?"};
} // namespace

CompareView::CompareView(CompareViewContext context, QMenu& editMenu) : mContext(context) {
    CopyFromCompared1 = editMenu.addAction(Pick(kCopyFromCompared, context.settings.German()));
    CopyFromCompared1->setObjectName(QStringLiteral("CopyFromCompared1"));
    CopyFromCompared1->setEnabled(false);
    connect(CopyFromCompared1, &QAction::triggered, this, &CompareView::CopyFromCompared1Click);
    // Connected after the page's own handler, which hides the memo on every selection.
    connect(context.page.TV->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { FollowSelection(); });
    connect(context.page.CompareMemo, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { FollowMemoCursor(); });
    connect(context.page.Model(), &QAbstractItemModel::modelReset, this, [this] { Stop(); });
    // Cut, paste, undo, redo, typed values: the list is found again at once, the memo shown
    // once the window has shown the change.
    connect(&context.history, &HistoryCommands::FileEdited, this, [this] {
        if (mActive) {
            Refresh(false);
        }
    });
}

bool CompareView::CompareWith(const std::string& path, const std::string& title,
                              const ReadOptions& options) {
    RecordTree other;
    const ReadResult read = path.empty() ? ReadResult{ReadResultCode::CannotOpen, 0, {}}
                                         : ReadAirFile(path, mContext.dictionary, options, other);
    if (read.code != ReadResultCode::Ok) {
        const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
        mContext.prompts.Error(Utf8Text(TextId::CaptionWarning, mContext.settings),
                               Pick(kNotRead, mContext.settings.German())
                                   .arg(shown, QString::fromStdString(read.message))
                                   .toStdString());
        Stop();
        return false;
    }
    mOther = std::move(other);
    mOtherLabel = title.empty() ? path : title + " (" + path + ")";
    mStyle = options.style;
    mActive = true;
    Refresh(true);
    return true;
}

void CompareView::Stop() {
    mActive = false;
    mDifferences.clear();
    mOther.Clear();
    mCurrent = -1;
    mContext.page.CompareMemo->hide();
    CopyFromCompared1->setEnabled(false);
    MarkToggle(false);
}

void CompareView::MarkToggle(bool on) {
    if (compareToggle) {
        compareToggle->setChecked(on);
    }
}

void CompareView::Refresh(bool showNow) {
    mDifferences = DiffRecords(mContext.page.Model()->Tree(), mOther, mContext.dictionary, mStyle);
    mFirstLines.clear();
    mCurrent = -1;
    CopyFromCompared1->setEnabled(false);
    if (showNow) {
        Show();
    } else if (!mShowDue) {
        mShowDue = true;
        QTimer::singleShot(0, this, [this] {
            mShowDue = false;
            Show();
        });
    }
}

void CompareView::Show() {
    if (!mActive) {
        return;
    }
    QPlainTextEdit* memo = mContext.page.CompareMemo;
    QString text = QStringLiteral("B: ") + FromConfigText(mOtherLabel) + QLatin1Char('\n');
    int line = 1;
    mFirstLines.clear();
    for (const RecordDifference& d : mDifferences) {
        const bool textRecord = mContext.dictionary.Type(d.lookupNumber) == 1;
        // Record texts are Windows-1252; names UTF-8 or Windows-1252: one bridge for both.
        const QString lines = FromConfigText(DifferenceText(d, textRecord));
        mFirstLines.push_back(line);
        line += static_cast<int>(lines.count(QLatin1Char('\n')));
        text += lines;
    }
    if (mDifferences.empty()) {
        text += Pick(kSame, mContext.settings.German());
    }
    {
        const bool wasFilling = std::exchange(mFilling, true);
        memo->setPlainText(text);
        mFilling = wasFilling;
    }
    memo->show();
    FollowSelection();
}

void CompareView::FollowSelection() {
    if (!mActive || mFilling) {
        return;
    }
    mContext.page.CompareMemo->show();
    MarkToggle(true);
    const RecordNode* selected = mContext.page.SelectedNode();
    while (selected && selected->Parent()) {
        selected = selected->Parent();
    }
    const std::optional<size_t> found =
        selected ? DifferenceOf(mDifferences, mContext.page.Model()->Tree(), *selected) : std::nullopt;
    if (found && *found < mFirstLines.size()) {
        QPlainTextEdit* memo = mContext.page.CompareMemo;
        const bool wasFilling = std::exchange(mFilling, true);
        QTextCursor cursor(memo->document()->findBlockByNumber(mFirstLines[*found]));
        memo->setTextCursor(cursor);
        memo->ensureCursorVisible();
        mFilling = wasFilling;
        mCurrent = static_cast<int>(*found);
        CopyFromCompared1->setEnabled(true);
        return;
    }
    mCurrent = -1;
    CopyFromCompared1->setEnabled(false);
}

void CompareView::FollowMemoCursor() {
    if (!mActive || mFilling) {
        return;
    }
    // A click on a difference makes it current; a record A has shows in the tree as well.
    const int line = mContext.page.CompareMemo->textCursor().blockNumber();
    int found = -1;
    for (size_t i = 0; i < mFirstLines.size() && mFirstLines[i] <= line; ++i) {
        found = static_cast<int>(i);
    }
    mCurrent = found;
    CopyFromCompared1->setEnabled(found >= 0);
    const RecordTree& tree = mContext.page.Model()->Tree();
    const std::optional<size_t> inA =
        found >= 0 ? PositionInA(tree, mDifferences[static_cast<size_t>(found)]) : std::nullopt;
    if (inA) {
        const bool wasFilling = std::exchange(mFilling, true);
        mContext.page.SelectNode(tree.Root(*inA));
        mFilling = wasFilling;
        mContext.page.CompareMemo->show();
    }
}

void CompareView::CopyFromCompared1Click() {
    if (!mActive || mCurrent < 0 || static_cast<size_t>(mCurrent) >= mDifferences.size()) {
        return;
    }
    const RecordDifference d = mDifferences[static_cast<size_t>(mCurrent)];
    if (CopyRemoves(d)) {
        const QString number = QStringLiteral("%1").arg(d.lookupNumber, 4, 16, QLatin1Char('0')).toUpper();
        const QString question =
            Pick(kCopyRemoves, mContext.settings.German()).arg(number, FromConfigText(d.name));
        if (!mContext.prompts.AskYesNo(Utf8Text(TextId::CaptionWarning, mContext.settings),
                                       question.toStdString(), Answer::No)) {
            return;
        }
    }
    RootEditor& editor = mContext.history.Structure();
    const RecordTree& tree = editor.Tree();
    EditHistory& history = mContext.history.History();
    history.BeginStep();
    const CopiedAcross copied = CopyRecordAcross(editor, mOther, d);
    history.EndStep();
    if (copied.changed) {
        mContext.changes.SetChanged(true);
    }
    if (copied.shown) {
        mContext.page.SelectNode(tree.Root(*copied.shown));
    }
    mContext.page.TVChange();
    Show();
}

} // namespace kelvara
