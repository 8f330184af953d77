// The compare view: the differences between the shown file (A) and another one (B) in
// CompareMemo, in the lines of "kelvara-cli diff", found again after every change to A. The
// memo follows the record selection, and "Copy record from compared file" takes B's version
// of the current difference across as one undo step (asking first when that removes it).
#pragma once

#include "AirFileReader.h"
#include "RecordDiff.h"
#include "RecordTree.h"

#include <QObject>

#include <string>
#include <vector>

class QAction;
class QMenu;

namespace kelvara {

class ChangeTracker;
class HistoryCommands;
class RecordDictionary;
class RecordPage;
class Settings;
class UserPrompts;

struct CompareViewContext {
    RecordPage& page;
    HistoryCommands& history;
    ChangeTracker& changes;
    const RecordDictionary& dictionary;
    const Settings& settings;
    UserPrompts& prompts;
};

class CompareView : public QObject {
    Q_OBJECT
  public:
    CompareView(CompareViewContext context, QMenu& editMenu);

    // Reads B and shows the differences; a file that cannot be read is named in a message.
    bool CompareWith(const std::string& path, const std::string& title,
                     const ReadOptions& options);
    void Stop();
    [[nodiscard]] bool Active() const { return mActive; }
    void CopyFromCompared1Click();

    [[nodiscard]] const std::vector<RecordDifference>& Differences() const { return mDifferences; }
    QAction* CopyFromCompared1 = nullptr;
    // The menu item that shows whether the view is on (may be null).
    QAction* compareToggle = nullptr;

  private:
    // The list found again; the memo at once, or once the window has shown the change.
    void Refresh(bool showNow);
    void Show();
    void FollowSelection();
    void FollowMemoCursor();
    void MarkToggle(bool on);

    CompareViewContext mContext;
    RecordTree mOther;
    std::string mOtherLabel;
    NumberStyle mStyle;
    std::vector<RecordDifference> mDifferences;
    std::vector<int> mFirstLines; // memo line of each difference
    int mCurrent = -1;
    bool mActive = false;
    bool mFilling = false;
    bool mShowDue = false;
};

} // namespace kelvara
