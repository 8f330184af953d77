// The library-mode roads of the main window: start-up with the scan, the configuration dialog,
// and the switch between the selection page and the record page.
#include "MainWindow.h"

#include "BusyCursor.h"
#include "ConfigDialog.h"
#include "DebugLog.h"
#include "FolderNames.h"
#include "LanguageTable.h"
#include "RecordPage.h"
#include "SaveCurrentFile.h"
#include "Scan.h"
#include "ScanProgressDialog.h"
#include "SelectionLists.h"
#include "SelectionPage.h"
#include "Settings.h"
#include "StartupDecisions.h"
#include "UiTexts.h"
#include "UserPrompts.h"
#include "WelcomeDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeView>

namespace kelvara {

namespace {

constexpr int kSelectionTab = 0;
constexpr int kRecordTab = 1;

} // namespace

ConfigDialog* MainWindow::HostsFile() {
    if (mHostsFile == nullptr) {
        mHostsFile = new ConfigDialog(mSettings, mPrompts, this);
    }
    return mHostsFile;
}

void MainWindow::Config1Click() {
    if (RunConfiguration() == 0 && mRescanDue && mSelectionPage != nullptr &&
        mTabControl->currentIndex() == kSelectionTab) {
        RescanLibrary();
    }
}

int MainWindow::RunConfiguration(bool scanFollows) {
    ConfigDialog* dialog = HostsFile();
    dialog->SetValues(CurrentConfiguration(mSettings));
    dialog->SetScanNote(EmptyLibraryText());
    // A busy cursor of the first show must not hide the dialog the user has to answer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = dialog->exec();
    QApplication::restoreOverrideCursor();
    if (result != QDialog::Accepted) {
        return -1;
    }
    const ConfigurationValues chosen = dialog->Values();
    ConfigurationValues sameFolder = chosen;
    sameFolder.fspath = mSettings.fspath;
    const bool dueBesidesTheFolder = RestartMessageDue(mSettings, sameFolder);
    const ConfigurationOutcome outcome =
        ApplyConfiguration(mSettings, chosen, mBrowserChangePending);
    mRescanDue = mRescanDue || (outcome.rescanDue && mLibraryMode);
    if (outcome.restartMessageDue && (!scanFollows || dueBesidesTheFolder)) {
        mPrompts.Inform("", std::string(Text(TextId::RestartNotice, outcome.restartMessageGerman)));
    }
    return 0;
}

bool MainWindow::ChooseSimulatorFolder(StartupMode& mode) {
    const LookupEnvironment environment = LookupEnvironmentFromProcess();
    const SimulatorLookup lookup = FindSimulators(environment);
    switch (ResolveSimulatorFolder(mSettings, lookup)) {
    case SimulatorFolderSource::FromSettings:
        return true;
    case SimulatorFolderSource::FoundDefault:
        mSettings.Save();
        return true;
    case SimulatorFolderSource::PickFound:
    case SimulatorFolderSource::AskUser:
        break;
    }
    // A busy cursor of the first show must not hide the page the user has to answer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const struct CursorBack {
        ~CursorBack() { QApplication::restoreOverrideCursor(); }
    } cursorBack;
    for (;;) {
        WelcomeDialog welcome(lookup, German(), this);
        welcome.exec();
        switch (welcome.Chosen()) {
        case WelcomeDialog::UseFound:
            if (!TakeFoundSimulator(mSettings, lookup, welcome.FoundIndex())) {
                continue;
            }
            mSettings.Save();
            return true;
        case WelcomeDialog::UseSamples: {
            const SampleFolders samples =
                SampleSimulatorFolders(mSettings.ProgramFolder(), environment);
            const std::string problem = CopySamples(samples);
            if (!problem.empty()) {
                mPrompts.Error(Utf8Text(TextId::CaptionWarning, mSettings),
                               PickUtf8(Texts::SamplesNotCopied, German()) + "\n" + problem);
                continue;
            }
            mSettings.fspath = samples.copy;
            mSettings.newsearch = 1;
            mSettings.Save();
            return true;
        }
        case WelcomeDialog::ChooseFolder:
            if (RunConfiguration(true) == 0 && !mSettings.fspath.empty()) {
                return true;
            }
            continue;
        case WelcomeDialog::OpenFile: {
            const QString path = QFileDialog::getOpenFileName(
                this, QString(), DisplayPath(mSettings.opendir),
                DialogFilter(Text(TextId::AirFileDialogFilter, mSettings)));
            if (path.isEmpty()) {
                continue;
            }
            mode.fileMode = true;
            mode.startFile = LocalPath(path);
            return true;
        }
        case WelcomeDialog::Quit:
            mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings),
                            PickUtf8(Texts::QuitWithoutSimulator, German()));
            return false;
        }
    }
}

void MainWindow::RescanLibrary() {
    mRescanDue = false;
    ScanLibrary();
    mSettings.Save(); // the search paths the scan discovered
    if (mSelectionPage->Lines().empty()) {
        ShowCaption({}); // no aircraft is shown any more
    }
    mSelectionPage->SelectFirst();
    mSelectionPage->RebuildManufacturerLists();
    mSelectionPage->ShowAircraftInfo();
}

QString MainWindow::EmptyLibraryText() const {
    if (!mScanned || mSelectionPage == nullptr || !mSelectionPage->Lines().empty()) {
        return {};
    }
    const bool german = German();
    const QString fspath = DisplayPath(mSettings.fspath);
    QStringList lines{Pick(Texts::NoAircraftFound, german)};
    if (mSettings.fspath.empty()) {
        lines << Pick(Texts::NoSimulatorFolder, german);
    } else if (mScanSummary.simulatorFolderMissing || !QFileInfo(fspath).isDir()) {
        lines << Pick(Texts::SimulatorFolderMissing, german).arg(fspath);
    }
    QStringList folders;
    for (const std::string& folder : mScanSummary.searchedFolders) {
        folders << DisplayPath(folder);
    }
    if (folders.isEmpty() && !mSettings.fspath.empty()) {
        folders << fspath; // discovery looked there and found no container
    }
    lines << Pick(Texts::FoldersSearched, german).arg(folders.join(QStringLiteral("; ")));
    if (mScanSummary.inactiveSearchPaths > 0) {
        lines << Pick(Texts::InactiveSearchPaths, german).arg(mScanSummary.inactiveSearchPaths);
    }
    QString files = Pick(Texts::ConfigFilesRead, german)
                        .arg(mScanSummary.configFilesRead)
                        .arg(mScanSummary.configFilesWithoutSim);
    if (!mScanSummary.firstWithoutSim.empty()) {
        files += QLatin1Char(' ') + Pick(Texts::ForExample, german).arg(DisplayPath(mScanSummary.firstWithoutSim));
    }
    lines << files << Pick(Texts::AircraftFoldersExpected, german);
    return lines.join(u'\n');
}

bool MainWindow::StartLibraryMode() {
    BusyCursor busy;
    LoadAircraft1->setVisible(false);
    mChanges.SetLibraryMode(true);
    ConnectSelectionPage();

    if (!RunScanLoop([this] { return ScanLibrary() == ScanResultCode::Ok; },
                     [this] { return RunConfiguration(true) == 0; }, mDebugLog)) {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }

    mSelectionPage->SelectFirst();
    {
        const QSignalBlocker quiet(mTabControl);
        mTabControl->setCurrentIndex(kSelectionTab);
    }
    connect(mTabControl, &QTabBar::currentChanged, this, [this] { TabControlChange(); });
    mSelectionPage->ShowAircraftInfo();
    TabControlChange();
    return true;
}

void MainWindow::ConnectSelectionPage() {
    mSelectionPage->currentChanged = [this](const QString& line) {
        const AircraftIndex current = mLibrary.Current();
        mChanges.SetCurrent(current.entry, current.variation);
        ShowCaption(line);
    };
    mSelectionPage->openRequested = [this] {
        mTabControl->setCurrentIndex(kRecordTab); // runs TabControlChange
    };
    mSelectionPage->statusMessage = [this](const QString& text) { statusBar()->showMessage(text); };
}

int MainWindow::ScanLibrary() {
    if (mImageCounter == nullptr) {
        mImageCounter = new ScanProgressDialog(mSettings.language, this);
    }
    ScanFolders folders{mSettings.fspath, mSettings.searchPaths, mSettings.newsearch};
    std::vector<AircraftLine> lines;
    std::vector<std::string> problems;
    ScanHooks hooks;
    hooks.progress = mImageCounter;
    hooks.addLine = CollectLines(lines);
    if (mDebugLog.Enabled()) {
        hooks.debug = [this](std::string_view text) { mDebugLog.WriteDebugPoint(text); };
    }
    hooks.problem = [&problems](std::string_view text) { problems.emplace_back(text); };
    hooks.summary = &mScanSummary;
    const int result = Scan(folders, mLibrary, hooks);
    mScanned = true;
    // Reaches kvr.cfg with the next save of the settings.
    mSettings.searchPaths = std::move(folders.searchPaths);
    mSettings.newsearch = folders.newsearch;
    SortAircraftLines(lines);
    mSelectionPage->SetLines(std::move(lines));
    mSelectionPage->SetEmptyText(EmptyLibraryText());
    if (problems.empty()) {
        statusBar()->clearMessage(); // an earlier scan's problem is gone
    } else {
        statusBar()->showMessage(Pick(Texts::UnreadableDuringScan, German())
                                     .arg(problems.size())
                                     .arg(DisplayPath(problems.front())));
    }
    return result;
}

void MainWindow::EnableRecordMenus(bool enabled) {
    ASCIIExport1->setEnabled(enabled);
    FileMenu()->setEnabled(true);
    if (QMenu* edit = findChild<QMenu*>(QStringLiteral("Edit1"))) {
        edit->setEnabled(enabled);
    }
    if (QMenu* find = findChild<QMenu*>(QStringLiteral("Find1"))) {
        find->setEnabled(enabled);
    }
    MarkforCompare1->setEnabled(enabled);
    Compare1->setEnabled(enabled && mCompareMarks.CompareEnabled());
}

void MainWindow::TabControlChange() {
    if (mTabControl->currentIndex() == kRecordTab) {
        OpenCurrentVariation();
        return;
    }
    if (!MayLeaveFile()) {
        const QSignalBlocker quiet(mTabControl);
        mTabControl->setCurrentIndex(kRecordTab);
        return;
    }
    mChanges.SetChanged(false);
    EnableRecordMenus(false);
    if (mRescanDue) {
        RescanLibrary();
    } else if (!mSelectionPage->SelectingFromManufacturer()) {
        BusyCursor busy;
        mSelectionPage->RebuildManufacturerLists();
    }
    ShowSelectionPage();
}

void MainWindow::ShowSelectionPage() {
    mPages->setCurrentWidget(mSelectionPage);
    mSelectionPage->Alist->setFocus();
}

void MainWindow::OpenCurrentVariation() {
    EnableRecordMenus(true);
    BusyCursor busy;
    const std::string path = ResolveNoCase(mLibrary.CurrentAirPath());
    ReadOptions options{mSettings.datatypes != 0, NumberStyle{LocaleDecimalMark(), mSettings.decimal}};
    options.captions = false; // the page builds them as they are shown
    const ReadResult read = mRecordPage->ReplaceTree(options, [&](RecordTree& fresh) {
        if (path.empty()) {
            return ReadResult{ReadResultCode::CannotOpen, 0, {}};
        }
        return ReadAirFile(path, mDictionary, options, fresh);
    });
    if (read.code != ReadResultCode::Ok) {
        std::string text(Text(TextId::CouldNotOpenAirFile, mSettings));
        if (!read.message.empty()) {
            text += "\n" + read.message;
        }
        mPrompts.Error(std::string(Text(TextId::CaptionWarning, mSettings)), text);
        const QSignalBlocker quiet(mTabControl);
        mTabControl->setCurrentIndex(kSelectionTab);
        TabControlChange();
        return;
    }
    mStandalonePath = path;
    mRecordPage->SetFilePath(path);
    mChanges.SetChanged(false);
    if (mTree.RootCount() > 0) {
        mRecordPage->SelectNode(mTree.Root(0));
    }
    mPages->setCurrentWidget(mRecordPage);
    mRecordPage->ApplyGraphRules(height(), false);
    mRecordPage->TV->setFocus();
}

} // namespace kelvara
