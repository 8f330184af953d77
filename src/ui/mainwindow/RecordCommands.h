// The Search and Edit menus of the record page and the main window's shortcut keys: find
// by caption or text, and cut, copy and paste of whole records through the program's own
// record clipboard, which outlives the file it was copied from.
#pragma once

#include "RecordClipboard.h"
#include "RecordSearch.h"

#include <QObject>

#include <memory>

class QAction;
class QMainWindow;
class QMenu;

namespace kelvara {

class ChangeTracker;
class EditHistory;
class RecordPage;
class Settings;
class FindDialog;
class UserPrompts;

struct RecordCommandsContext {
    QMainWindow& window;
    RecordPage& page;
    ChangeTracker& changes;
    UserPrompts& prompts;
    const Settings& settings;
    EditHistory& history;
};

struct RecordCommandMenus {
    QMenu* edit = nullptr;
    QMenu* search = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* hexEditor = nullptr;
};

class RecordCommands : public QObject {
    Q_OBJECT
  public:
    RecordCommands(RecordCommandsContext context, RecordCommandMenus menus);
    ~RecordCommands() override;

    void Text1Click();
    void Next1Click();
    bool FindNext();
    void Copy1Click();
    void Cut1Click();
    void Paste1Click();
    // Ctrl-H, F3, Ctrl-F, Ctrl-C, Ctrl-X, Ctrl-V, for whichever control has the focus. A
    // text field keeps its own clipboard keys; everywhere else they carry whole records.
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers, const QWidget* focus);

    [[nodiscard]] FindDialog& SearchDialog() const;
    [[nodiscard]] const RecordClipboard& Clipboard() const { return mClipboard; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    [[nodiscard]] bool CaseSensitive() const;
    [[nodiscard]] bool German() const;

    RecordCommandsContext mContext;
    RecordCommandMenus mMenus;
    // The language of the window's start, as if the dialog were made with it.
    bool mFindInGerman;
    mutable std::unique_ptr<FindDialog> mFinddialog;
    RecordSearch mSearch;
    RecordClipboard mClipboard;
    LowerCase mLower;
};

} // namespace kelvara
