// The main window: menu, the two pages, start-up steps at the first show, opening and saving
// files, and the questions before unsaved changes are lost. The pages do the record work.
#pragma once

#include "AircraftLibrary.h"
#include "AirFileReader.h"
#include "ChangeTracker.h"
#include "CompareMarks.h"
#include "DebugLog.h"
#include "PluginList.h"
#include "RecordDictionary.h"
#include "RecordTree.h"
#include "Scan.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QStackedWidget;
class QTabBar;

namespace kelvara {

class CompareView;
class HistoryCommands;
class RecordCommands;
class RecordPage;
class SelectionPage;
class ConfigDialog;
class ScanProgressDialog;
class PluginsDialog;
class Settings;
class UserPrompts;
struct StartupMode;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kDesignWidth = 1024;
    static constexpr int kDesignHeight = 720;

    // arguments: the command-line arguments after the program name.
    MainWindow(Settings& settings, UserPrompts& prompts, QStringList arguments,
                 QWidget* parent = nullptr);
    ~MainWindow() override;

    void OpenAirFile(const QString& path);
    void LoadAircraft1Click();
    void SaveAircraft1Click();
    // Saves the shown file under a new name, which it is from then on.
    void SaveAs1Click();
    // The save dialog; tests replace it. An empty name means cancelled.
    std::function<QString(QWidget* parent, const QString& start)> pickSaveAsPath;
    // The checks before saving; false when the user chose to go back to the findings.
    [[nodiscard]] bool ChecksAllowSaving();
    // Before the shown file's edits are left: Save, Discard or Cancel. true: go on (saved, or
    // the edits may go); false: stay with nothing written and the edits kept.
    [[nodiscard]] bool MayLeaveFile();
    void ASCIIExport1Click();
    // The export after its save dialog; the folder becomes asciidir.
    void ExportAsciiTo(const QString& path);
    void Exit1Click();
    void About1Click();
    void Getmanual1Click();
    void Config1Click();
    // The configuration dialog: 0 confirmed, -1 cancelled. scanFollows: the aircraft are scanned
    // right after it, so a new folder needs no restart notice.
    int RunConfiguration(bool scanFollows = false);
    // Library mode: to the selection page (with the save question) or into the record page.
    void TabControlChange();
    void HexEditor1Click();
    void MarkforCompare1Click();
    void Compare1Click();
    void CompareWithFile1Click();
    // The compare view on the file at path (B), the shown file being A.
    void CompareWithFile(const QString& path);
    void InstalledPlugins1Click();
    // Before the first show: the plug-ins are listed, none is loaded.
    void SetPluginsOff(bool off) { mPluginsOff = off; }
    // Copies geometry and panel sizes into Settings and saves them.
    void StoreWindowLayout();

    [[nodiscard]] RecordPage* Page() const { return mRecordPage; }
    [[nodiscard]] bool LibraryMode() const { return mLibraryMode; }
    [[nodiscard]] const QString& StartFile() const { return mStartFile; }
    // True once the command-line file has been opened (or refused) after the first show.
    [[nodiscard]] bool StartFileHandled() const { return mStartFileHandled; }
    [[nodiscard]] ChangeTracker& Changes() { return mChanges; }
    [[nodiscard]] const RecordTree& Tree() const { return mTree; }
    [[nodiscard]] const std::string& StandalonePath() const { return mStandalonePath; }
    [[nodiscard]] QMenu* FileMenu() const { return mFileMenu; }
    [[nodiscard]] QTabBar* TabControl() const { return mTabControl; }
    // Made only in library mode.
    [[nodiscard]] SelectionPage* Selection() const { return mSelectionPage; }
    [[nodiscard]] AircraftLibrary& Library() { return mLibrary; }
    // Created at first use; tests reach its folder and colour pickers through it.
    [[nodiscard]] ConfigDialog* HostsFile();
    [[nodiscard]] ScanProgressDialog* ImageCounter() const { return mImageCounter; }
    [[nodiscard]] bool BrowserChangePending() const { return mBrowserChangePending; }
    [[nodiscard]] RecordCommands& Commands() const { return *mCommands; }
    [[nodiscard]] HistoryCommands& History() const { return *mHistory; }
    [[nodiscard]] CompareView& Compare() const { return *mCompare; }
    [[nodiscard]] const PluginList& Plugins() const { return mPlugins; }
    [[nodiscard]] const CompareMarks& Marks() const { return mCompareMarks; }
    // Made when first opened.
    [[nodiscard]] PluginsDialog* PluginsForm() const { return mPluginsForm; }
    // Which KVR.ini this run reads, or where it was looked for.
    [[nodiscard]] const std::string& DictionaryText() const { return mDictionaryText; }

    QAction* LoadAircraft1 = nullptr;
    QAction* SaveAircraft1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* ASCIIExport1 = nullptr;
    QAction* MarkforCompare1 = nullptr;
    QAction* Compare1 = nullptr;
    QAction* CompareWithFile1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Text1 = nullptr;
    QAction* Next1 = nullptr;
    QAction* Config1 = nullptr;
    QAction* HexEditor1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Getmanual1 = nullptr;
    QAction* InstalledPlugins1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void StartPlugins();
    void BuildMenu();
    void FormShow();
    void ApplyLanguage();
    void PlaceWindow();
    void OpenStartFile();
    void LoadDictionary();
    [[nodiscard]] bool German() const;
    [[nodiscard]] ReadOptions ReadOptionsForCompare() const;
    // No simulator folder yet: the one found, else the welcome's choice, which may turn mode
    // into file mode for this run. false: the user quits.
    bool ChooseSimulatorFolder(StartupMode& mode);
    // Library mode start: scan loop, selection page. false: cancelled.
    bool StartLibraryMode();
    int ScanLibrary();
    // After a confirmed configuration changed the folders: now on the selection page, or when
    // the user goes back to it (a rescan under the record page would shift its variation).
    void RescanLibrary();
    // Why the last scan listed no aircraft; empty when it listed some or none ran.
    [[nodiscard]] QString EmptyLibraryText() const;
    void ConnectSelectionPage();
    void ShowSelectionPage();
    void OpenCurrentVariation();
    void EnableRecordMenus(bool enabled);
    // The checks, then the save; false when either stopped it.
    bool SaveShownFile();
    // subject: the file or aircraft shown, empty for none.
    void ShowCaption(const QString& subject);

    Settings& mSettings;
    UserPrompts& mPrompts;
    QStringList mArguments;
    DebugLog mDebugLog;
    RecordDictionary mDictionary;
    std::string mDictionaryText;
    std::string mDictionaryProblem; // shown once the window is there
    RecordTree mTree;
    ChangeTracker mChanges;
    std::string mStandalonePath;
    QString mStartFile;
    bool mFirstShow = true;
    bool mStartAbandoned = false; // quit at the welcome: the settings stay unwritten
    bool mLibraryMode = false;
    bool mResizeAttached = false;
    AircraftLibrary mLibrary;
    bool mBrowserChangePending = false;
    ScanSummary mScanSummary;
    bool mScanned = false;
    bool mRescanDue = false;
    bool mStartFileHandled = false;
    static constexpr int kExposeWaitMs = 2000;

    QMenu* mFileMenu = nullptr;
    QMenu* mEditMenu = nullptr;
    QMenu* mFindMenu = nullptr;
    QMenu* mOptionsMenu = nullptr;
    QMenu* mHelpMenu = nullptr;
    QTabBar* mTabControl = nullptr;
    QStackedWidget* mPages = nullptr;
    SelectionPage* mSelectionPage = nullptr;
    ConfigDialog* mHostsFile = nullptr;
    ScanProgressDialog* mImageCounter = nullptr;
    RecordPage* mRecordPage = nullptr;
    std::unique_ptr<HistoryCommands> mHistory;
    std::unique_ptr<RecordCommands> mCommands;
    std::unique_ptr<CompareView> mCompare;
    PluginList mPlugins; // told to exit when the window ends
    PluginsDialog* mPluginsForm = nullptr;
    bool mPluginsOff = false;
    CompareMarks mCompareMarks;
};

} // namespace kelvara
