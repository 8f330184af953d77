#include "CompareView.h"

#include "ChangeTracker.h"
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
#include <QTreeView>

#include <utility>

namespace kelvara {

namespace {
constexpr UiText kCopyFromCompared{"Copy record from compared file",
                                   "Datensatz aus Vergleichsdatei übernehmen"};
constexpr UiText kSame{"A and B hold the same records.", "A und B enthalten dieselben Datensätze."};
constexpr UiText kNotRead{"%1 could not be read for the comparison: %2",
                          "%1 konnte für den Vergleich nicht gelesen werden: %2"};

size_t RootIndex(const RecordTree& tree, const RecordNode* node) {
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        if (tree.Root(i) == node) {
            return i;
        }
    }
    return tree.RootCount();
}
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
    Refresh();
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

void CompareView::Refresh() {
    mDifferences = DiffRecords(mContext.page.Model()->Tree(), mOther, mContext.dictionary, mStyle);
    Show();
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
    for (size_t i = 0; i < mDifferences.size(); ++i) {
        if (selected && mDifferences[i].a == selected) {
            QPlainTextEdit* memo = mContext.page.CompareMemo;
            const bool wasFilling = std::exchange(mFilling, true);
            QTextCursor cursor(memo->document()->findBlockByNumber(mFirstLines[i]));
            memo->setTextCursor(cursor);
            memo->ensureCursorVisible();
            mFilling = wasFilling;
            mCurrent = static_cast<int>(i);
            CopyFromCompared1->setEnabled(true);
            return;
        }
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
    if (found >= 0 && mDifferences[static_cast<size_t>(found)].a) {
        const bool wasFilling = std::exchange(mFilling, true);
        mContext.page.SelectNode(mDifferences[static_cast<size_t>(found)].a);
        mFilling = wasFilling;
        mContext.page.CompareMemo->show();
    }
}

void CompareView::CopyFromCompared1Click() {
    if (!mActive || mCurrent < 0 || static_cast<size_t>(mCurrent) >= mDifferences.size()) {
        return;
    }
    const RecordDifference d = mDifferences[static_cast<size_t>(mCurrent)];
    RootEditor& editor = mContext.history.Structure();
    const RecordTree& tree = editor.Tree();
    EditHistory& history = mContext.history.History();
    RecordNode* shown = nullptr;
    history.BeginStep();
    if (d.a) {
        const size_t index = RootIndex(tree, d.a);
        editor.TakeRoot(index);
        if (d.b) {
            shown = editor.InsertRoot(index, CloneNode(*d.b));
        }
    } else if (d.b) {
        size_t index = 0; // where the sort by record number puts it
        while (index < tree.RootCount() && CompareRecordNodes(*tree.Root(index), *d.b) <= 0) {
            ++index;
        }
        shown = editor.InsertRoot(index, CloneNode(*d.b));
    }
    history.EndStep();
    mContext.changes.SetChanged(true);
    Refresh();
    if (shown) {
        mContext.page.SelectNode(shown);
    }
    mContext.page.TVChange();
    Show();
}

} // namespace kelvara
