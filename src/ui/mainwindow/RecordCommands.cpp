#include "RecordCommands.h"

#include "ChangeTracker.h"
#include "EditHistory.h"
#include "FindDialog.h"
#include "RecordPage.h"
#include "RecordTreeModel.h"
#include "Settings.h"
#include "TableGridView.h"
#include "UiTexts.h"
#include "UserPrompts.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kelvara {

namespace {

constexpr UiText kNotFound{"not found", "nicht gefunden"};

std::string RecordBytesOf(const QString& text) {
    // A character no record can hold is kept as it is and simply never matches.
    return ToRecordText(text).value_or(text.toStdString());
}

std::string LocaleLower(std::string_view bytes) {
    return RecordBytesOf(QLocale().toLower(FromRecordText(bytes)));
}

// Text fields and the table grid copy and paste their own contents, not records.
bool OwnsClipboardKeys(const QWidget* focus) {
    if (qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus) ||
        qobject_cast<const TableGridView*>(focus)) {
        return true;
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(focus)) {
        return !memo->isReadOnly();
    }
    if (const auto* memo = qobject_cast<const QTextEdit*>(focus)) {
        return !memo->isReadOnly();
    }
    return false;
}

bool Usable(const QMenu* menu, const QAction* action) {
    return menu && menu->isEnabled() && (!action || action->isEnabled());
}

} // namespace

RecordCommands::RecordCommands(RecordCommandsContext context, RecordCommandMenus menus)
    : mContext(context), mMenus(menus), mFindInGerman(context.settings.German()),
      mLower(LocaleLower) {
    qApp->installEventFilter(this);
}

RecordCommands::~RecordCommands() {
    qApp->removeEventFilter(this);
}

bool RecordCommands::German() const {
    return mContext.settings.German();
}

FindDialog& RecordCommands::SearchDialog() const {
    // Made when first needed: its standard buttons look up themed icons, which on a desktop
    // was a quarter of the start's work.
    if (!mFinddialog) {
        mFinddialog = std::make_unique<FindDialog>(mFindInGerman, &mContext.window);
    }
    return *mFinddialog;
}

bool RecordCommands::CaseSensitive() const {
    return mFinddialog && mFinddialog->cbCasesensitive->isChecked();
}

void RecordCommands::Text1Click() {
    // Until a file is loaded there is nothing to search, whichever way the command came.
    if (!Usable(mMenus.search, nullptr) || SearchDialog().exec() != QDialog::Accepted) {
        return;
    }
    mSearch.Start(RecordBytesOf(mFinddialog->eText->text()), CaseSensitive(), mLower);
    FindNext();
}

void RecordCommands::Next1Click() {
    if (!Usable(mMenus.search, nullptr)) {
        return;
    }
    if (mSearch.SearchText().empty()) {
        Text1Click();
    } else {
        FindNext();
    }
}

bool RecordCommands::FindNext() {
    const RecordPage& page = mContext.page;
    RecordNode* found = mSearch.FindNext(page.Model()->Tree(), CaseSensitive(), mLower,
                                         [&page](const RecordNode& node) { return page.CaptionOf(node); });
    if (!found) {
        mContext.prompts.Inform(Utf8Text(TextId::CaptionInformation, mContext.settings),
                                PickUtf8(kNotFound, German()));
        return false;
    }
    mContext.page.SelectNode(found);
    return true;
}

void RecordCommands::Copy1Click() {
    if (const RecordNode* node = mContext.page.SelectedNode(); node && mClipboard.CopyRecord(*node)) {
        mMenus.paste->setEnabled(true);
    }
}

void RecordCommands::Cut1Click() {
    const RecordNode* node = mContext.page.SelectedNode();
    if (!node) {
        return;
    }
    // The node lives until the view has moved its selection off it.
    std::unique_ptr<RecordNode> cut = mClipboard.CutRecord(mContext.history.Structure(), *node);
    if (!cut) {
        return;
    }
    mMenus.paste->setEnabled(true);
    mContext.changes.SetChanged(true);
}

void RecordCommands::Paste1Click() {
    // Removing the old record and inserting the copy are one step.
    mContext.history.BeginStep();
    RecordNode* pasted = mClipboard.PasteRecord(mContext.history.Structure());
    mContext.history.EndStep();
    if (!pasted) {
        return;
    }
    mContext.page.SelectNode(pasted);
    mContext.changes.SetChanged(true);
}

void RecordCommands::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, const QWidget* focus) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl && key == Qt::Key_H) {
        mMenus.hexEditor->trigger();
    } else if (key == Qt::Key_F3 && !ctrl) {
        Next1Click();
    } else if (ctrl && key == Qt::Key_F) {
        Text1Click();
    } else if (ctrl && (key == Qt::Key_C || key == Qt::Key_X || key == Qt::Key_V)) {
        if (OwnsClipboardKeys(focus)) {
            return;
        }
        if (key == Qt::Key_C && Usable(mMenus.edit, mMenus.copy)) {
            Copy1Click();
        } else if (key == Qt::Key_X && Usable(mMenus.edit, mMenus.cut)) {
            Cut1Click();
        } else if (key == Qt::Key_V && Usable(mMenus.edit, mMenus.paste)) {
            Paste1Click();
        }
    }
}

bool RecordCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    // A key travels from the focused control up to the window; act on its first stop only.
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != &mContext.window) {
        return false; // a dialog's keys are its own
    }
    QWidget* focus = mContext.window.focusWidget();
    if (focus ? widget == focus : widget == &mContext.window) {
        const auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(key->key(), key->modifiers(), focus);
    }
    return false;
}

} // namespace kelvara
