// Undo, Redo and "Revert record" of the Edit menu over the toolkit-free edit history: the
// history hears of every byte change itself; this class groups a right-button drag into one
// step, joins typed keys, keeps the window's Undo keys away from the value fields' own undo,
// and shows the record a step touched.
#pragma once

#include "EditHistory.h"
#include "SavedImage.h"

#include <QObject>

#include <memory>

class QAction;
class QMainWindow;
class QMenu;

namespace kelvara {

class ChangeTracker;
class RecordPage;
class Settings;
class UserPrompts;
struct UiText;

class HistoryCommands : public QObject {
    Q_OBJECT
  public:
    HistoryCommands(QMainWindow& window, RecordPage& page, ChangeTracker& changes,
                    UserPrompts& prompts, const Settings& settings, QMenu& editMenu);
    ~HistoryCommands() override;

    void Undo1Click();
    void Redo1Click();
    void RevertRecord1Click();
    // After a successful save: this is now the state on disk.
    void FileSaved();
    // Whether a top-level record differs from the file as last read or written.
    [[nodiscard]] bool ChangedSinceSaved(const RecordNode& root) const;
    // Every record as last read or written (the changed mark may go).
    [[nodiscard]] bool SameAsDisk() const;

    [[nodiscard]] EditHistory& History() { return mHistory; }
    // Structural edits (cut, paste) go through this so that they can be undone.
    [[nodiscard]] RootEditor& Structure() { return mHistory.Structure(); }

    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* RevertRecord1 = nullptr;

  signals:
    // A step was added, undone or redone: the loaded file's records changed.
    void FileEdited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TreeReplaced();
    void AfterStep(std::optional<size_t> root);
    void UpdateActions();
    void RefreshCaptions(RecordNode& root);
    void Inform(const UiText& text);

    QMainWindow& mWindow;
    RecordPage& mPage;
    ChangeTracker& mChanges;
    UserPrompts& mPrompts;
    const Settings& mSettings;
    EditHistory mHistory;
    SavedImage mDisk; // fingerprints of the file as last read or written
    bool mDragging = false;
};

} // namespace kelvara
