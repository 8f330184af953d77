#include "MainWindow.h"

#include "AboutDialog.h"
#include "AsciiExport.h"
#include "BusyCursor.h"
#include "CompareView.h"
#include "DictionaryLocation.h"
#include "FolderNames.h"
#include "FontStartup.h"
#include "HistoryCommands.h"
#include "MenuMnemonics.h"
#include "PluginFolders.h"
#include "PluginsDialog.h"
#include "RecordCommands.h"
#include "RecordPage.h"
#include "SaveChecks.h"
#include "SaveCurrentFile.h"
#include "SelectionPage.h"
#include "Settings.h"
#include "StartupDecisions.h"
#include "TablePanel.h"
#include "UiTexts.h"
#include "UserPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHash>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <fstream>

namespace kelvara {

MainWindow::MainWindow(Settings& settings, UserPrompts& prompts, QStringList arguments,
                           QWidget* parent)
    : QMainWindow(parent), mSettings(settings), mPrompts(prompts),
      mArguments(std::move(arguments)), mDebugLog(settings) {
    setObjectName(QStringLiteral("MainWindow"));
    resize(kDesignWidth, kDesignHeight);
    // The dictionary and the menu measure no text: they are built while fontconfig still reads
    // its configuration on the other thread.
    LoadDictionary();
    BuildMenu();
    WaitForFontConfiguration();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* separator = new QFrame(central);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addWidget(separator);
    mTabControl = new QTabBar(central);
    mTabControl->setObjectName(QStringLiteral("TabControl"));
    mTabControl->hide();
    layout->addWidget(mTabControl);
    mPages = new QStackedWidget(central);
    mRecordPage = new RecordPage(
        RecordPageContext{mSettings, mPrompts, mChanges, mDictionary, mTree}, mPages);
    mPages->addWidget(mRecordPage);
    mPages->setCurrentWidget(mRecordPage);
    layout->addWidget(mPages, 1);
    setCentralWidget(central);

    mRecordPage->SetMenuActions(Cut1, Copy1, Compare1);
    mHistory = std::make_unique<HistoryCommands>(*this, *mRecordPage, mChanges, mPrompts,
                                                 mSettings, *mEditMenu);
    mCommands = std::make_unique<RecordCommands>(
        RecordCommandsContext{*this, *mRecordPage, mChanges, mPrompts, mSettings,
                              mHistory->History()},
        RecordCommandMenus{mEditMenu, mFindMenu, Cut1, Copy1, Paste1, HexEditor1});
    connect(Cut1, &QAction::triggered, mCommands.get(), &RecordCommands::Cut1Click);
    connect(Copy1, &QAction::triggered, mCommands.get(), &RecordCommands::Copy1Click);
    connect(Paste1, &QAction::triggered, mCommands.get(), &RecordCommands::Paste1Click);
    connect(Text1, &QAction::triggered, mCommands.get(), &RecordCommands::Text1Click);
    connect(Next1, &QAction::triggered, mCommands.get(), &RecordCommands::Next1Click);
    mCompare = std::make_unique<CompareView>(
        CompareViewContext{*mRecordPage, *mHistory, mChanges, mDictionary, mSettings, mPrompts},
        *mEditMenu);
    mCompare->compareToggle = Compare1;
    statusBar();
    mChanges.SetListener([this] { setWindowModified(mChanges.IsChanged()); });
}

MainWindow::~MainWindow() {
    mChanges.SetListener({});
    mCompare.reset();
    mCommands.reset();
    mHistory.reset();
    mPlugins.FreePluginList();
}

void MainWindow::BuildMenu() {
    auto add = [this](QMenu* menu, const char* name, auto handler) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>) {
            connect(action, &QAction::triggered, this, handler);
        }
        return action;
    };
    mFileMenu = menuBar()->addMenu(QString());
    mFileMenu->setObjectName(QStringLiteral("File1"));
    LoadAircraft1 = add(mFileMenu, "LoadAircraft1", &MainWindow::LoadAircraft1Click);
    SaveAircraft1 = add(mFileMenu, "SaveAircraft1", &MainWindow::SaveAircraft1Click);
    SaveAs1 = add(mFileMenu, "SaveAs1", &MainWindow::SaveAs1Click);
    SaveAs1->setText(Pick(Texts::SaveAs, German()));
    ASCIIExport1 = add(mFileMenu, "ASCIIExport1", &MainWindow::ASCIIExport1Click);
    ASCIIExport1->setText(QText(TextId::MenuAsciiExport, mSettings));
    MarkforCompare1 = add(mFileMenu, "MarkforCompare1", &MainWindow::MarkforCompare1Click);
    MarkforCompare1->setText(QText(TextId::MenuMarkForCompare, mSettings));
    MarkforCompare1->setVisible(false);
    Compare1 = add(mFileMenu, "Compare1", &MainWindow::Compare1Click);
    Compare1->setText(QText(TextId::MenuCompare, mSettings));
    Compare1->setVisible(false);
    MarkforCompare1->setEnabled(false);
    Compare1->setEnabled(false);
    CompareWithFile1 =
        add(mFileMenu, "CompareWithFile1", &MainWindow::CompareWithFile1Click);
    CompareWithFile1->setText(Pick(Texts::CompareWithFile, German()));
    CompareWithFile1->setEnabled(false);
    mFileMenu->addSeparator();
    Exit1 = add(mFileMenu, "Exit1", &MainWindow::Exit1Click);
    LoadAircraft1->setShortcut(QKeySequence::Open);
    SaveAircraft1->setShortcut(QKeySequence::Save);
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Exit1->setShortcut(QKeySequence::Quit);

    mEditMenu = menuBar()->addMenu(QString());
    mEditMenu->setObjectName(QStringLiteral("Edit1"));
    Cut1 = add(mEditMenu, "Cut1", nullptr);
    Copy1 = add(mEditMenu, "Copy1", nullptr);
    Paste1 = add(mEditMenu, "Paste1", nullptr);
    mEditMenu->setEnabled(false);
    mFindMenu = menuBar()->addMenu(QString());
    mFindMenu->setObjectName(QStringLiteral("Find1"));
    Text1 = add(mFindMenu, "Text1", nullptr);
    Next1 = add(mFindMenu, "Next1", nullptr);
    mFindMenu->setEnabled(false);
    Paste1->setEnabled(false); // until the first copy

    mOptionsMenu = menuBar()->addMenu(QString());
    mOptionsMenu->setObjectName(QStringLiteral("Options1"));
    Config1 = add(mOptionsMenu, "Config1", &MainWindow::Config1Click);
    HexEditor1 = add(mOptionsMenu, "HexEditor1", &MainWindow::HexEditor1Click);
    HexEditor1->setText(QText(TextId::MenuHexEditor, mSettings));
    HexEditor1->setCheckable(true);

    mHelpMenu = menuBar()->addMenu(QString());
    mHelpMenu->setObjectName(QStringLiteral("Help1"));
    About1 = add(mHelpMenu, "About1", &MainWindow::About1Click);
    Getmanual1 = add(mHelpMenu, "Getmanual1", &MainWindow::Getmanual1Click);
    InstalledPlugins1 = add(mHelpMenu, "InstalledPlugins1", &MainWindow::InstalledPlugins1Click);
    InstalledPlugins1->setText(Pick(Texts::InstalledPlugins, German()));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (mFirstShow) {
        FormShow();
    }
}

void MainWindow::FormShow() {
    if (!mDictionaryProblem.empty()) {
        mPrompts.Error(Utf8Text(TextId::CaptionWarning, mSettings), mDictionaryProblem);
    }
    std::vector<std::string> arguments;
    for (const QString& argument : mArguments) {
        arguments.push_back(LocalPath(argument));
    }
    StartupMode mode = DecideStartupMode(arguments, mSettings);
    if (!mode.fileMode && !ChooseSimulatorFolder(mode)) {
        mFirstShow = false;
        mStartAbandoned = true;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    mStartFile = DisplayPath(mode.startFile);
    mLibraryMode = !mode.fileMode;
    if (mLibraryMode) { // a file-mode window never shows the library
        mSelectionPage = new SelectionPage(mLibrary, mSettings, mPages);
        mPages->insertWidget(0, mSelectionPage);
    }
    mChanges.SetLibraryMode(false); // one file at a time until the library arrives

    mFirstShow = false;
    ShowCaption({});
    ApplyLanguage();
    StartPlugins();
    LoadAircraft1->setVisible(true);
    // Comparing variations needs the library; any file can be compared with another one.
    MarkforCompare1->setVisible(mLibraryMode);
    Compare1->setVisible(mLibraryMode);
    CompareWithFile1->setVisible(!mLibraryMode);
    mDebugLog.WriteDebugPoint(mDictionaryText);
    if (mLibraryMode && !StartLibraryMode()) {
        return; // cancelled: the program ends without saving anything
    }

    PlaceWindow();
    const PanelSizes panels = PanelSizesFromSettings(mSettings);
    mRecordPage->ApplyPanelSizes(panels.treeWidth, panels.upperHeight, panels.helpWidth);
    if (mSelectionPage) {
        mSelectionPage->ApplyPanelSizes(panels.manufacturerWidth, panels.perManufacturerWidth);
    }
    mResizeAttached = true;

    if (!mStartFile.isEmpty()) {
        // A warning about the file must not appear alone on an empty desktop.
        mRecordPage->Tables()->HoldGraphStart();
        QMetaObject::invokeMethod(this, &MainWindow::OpenStartFile, Qt::QueuedConnection);
    }
}

void MainWindow::OpenStartFile() {
    QElapsedTimer waited;
    waited.start();
    // The expose is often queued already; sleep only while it is not.
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!windowHandle() || windowHandle()->isExposed() || waited.elapsed() >= kExposeWaitMs) {
            break;
        }
        QThread::msleep(1);
    }
    OpenAirFile(mStartFile);
    mStartFileHandled = true;
    mRecordPage->Tables()->ReleaseGraphStart();
}

void MainWindow::LoadDictionary() {
    const DictionaryLookup lookup = FindDictionary(mSettings.ProgramFolder());
    mDictionaryText = DictionaryLookupText(lookup);
    mDictionary.LoadDictionary(lookup.path);
    if (!mDictionary.FileFound()) {
        std::string places;
        for (const std::string& place : lookup.searched) {
            places += "\n" + place;
        }
        mDictionaryProblem = PickUtf8(Texts::DictionaryMissing, German()) + "\n" +
                             lookup.userPlace + "\n\n" +
                             PickUtf8(Texts::DictionaryPlaces, German()) + places;
    }
}

void MainWindow::ApplyLanguage() {
    const bool german = German();
    // One walk over the window rather than one per caption; the names are unique.
    QHash<QString, QObject*> named;
    for (QObject* object : findChildren<QObject*>()) {
        if (!object->objectName().isEmpty()) {
            named.insert(object->objectName(), object);
        }
    }
    for (const CaptionRow& row : CaptionsToApply(mLibraryMode)) {
        const QString name = QString::fromLatin1(row.control);
        const QString text = QString::fromUtf8(kelvara::Pick(row, german).data());
        if (row.property == CaptionProperty::TabText) {
            mTabControl->addTab(text);
            continue;
        }
        QObject* control = named.value(name);
        if (auto* action = qobject_cast<QAction*>(control)) {
            action->setText(text);
        } else if (auto* menu = qobject_cast<QMenu*>(control)) {
            menu->setTitle(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(text);
        } else if (auto* widget = qobject_cast<QWidget*>(control);
                   widget && row.property == CaptionProperty::Hint) {
            widget->setToolTip(text);
        }
        // Rows of the selection page find no control until that page exists.
    }
    AssignMnemonics(menuBar());
    if (!mLibraryMode) {
        mTabControl->hide();
        mPages->setCurrentWidget(mRecordPage);
        return;
    }
    mTabControl->setCurrentIndex(1);
    mTabControl->show();
}

void MainWindow::PlaceWindow() {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    const QRect available =
        screen ? screen->availableGeometry() : QRect(0, 0, kDesignWidth, kDesignHeight);
    const WindowPlacement placement = kelvara::PlaceWindow(
        mSettings,
        ScreenRect{available.left(), available.top(), available.width(), available.height()},
        kDesignWidth, kDesignHeight);
    // Client-area geometry both ways: a frame position restored as a client position would
    // move the window by its title bar on every start.
    setGeometry(placement.left, placement.top, placement.width, placement.height);
    if (placement.maximised) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (QLayout* layout = this->layout()) {
        layout->activate();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (mResizeAttached) {
        mRecordPage->ApplyGraphRules(height(), true);
    }
}

bool MainWindow::German() const {
    return mSettings.German();
}

ReadOptions MainWindow::ReadOptionsForCompare() const {
    return ReadOptions{mSettings.datatypes != 0, NumberStyle{LocaleDecimalMark(), mSettings.decimal}};
}

void MainWindow::OpenAirFile(const QString& path) {
    BusyCursor busy;
    // The caption and opendir must still name the file after the current folder changes.
    const std::string localPath = LocalPath(QFileInfo(path).absoluteFilePath());
    ASCIIExport1->setEnabled(true);
    mEditMenu->setEnabled(true);
    mFindMenu->setEnabled(true);

    ReadOptions options{mSettings.datatypes != 0, NumberStyle{LocaleDecimalMark(), mSettings.decimal}};
    options.captions = false; // the page builds them as they are shown
    OpenAirFileResult opened;
    mRecordPage->ReplaceTree(options, [&](RecordTree& fresh) {
        opened = kelvara::OpenAirFile(localPath, mSettings, mDictionary, options, fresh, mChanges,
                                      mPrompts);
        return opened.read;
    });
    if (!opened.opened) {
        return;
    }
    mStandalonePath = localPath;
    mRecordPage->SetFilePath(localPath);
    ShowCaption(DisplayPath(localPath));
    statusBar()->clearMessage();
    MarkforCompare1->setEnabled(mLibraryMode);
    CompareWithFile1->setEnabled(true);
    Compare1->setEnabled(mLibraryMode && mCompareMarks.CompareEnabled());
}

void MainWindow::ShowCaption(const QString& subject) {
    setWindowTitle(QString::fromUtf8(WindowCaption(subject.toUtf8().toStdString(), "[*]")));
    setWindowModified(mChanges.IsChanged());
}

void MainWindow::LoadAircraft1Click() {
    const QString path =
        QFileDialog::getOpenFileName(this, LoadAircraft1->iconText(), DisplayPath(mSettings.opendir),
                                     DialogFilter(Text(TextId::AirFileDialogFilter, mSettings)));
    // Asked once the next file is known, so that Discard means the edits give way to it.
    if (!path.isEmpty() && MayLeaveFile()) {
        OpenAirFile(path);
    }
}

void MainWindow::SaveAircraft1Click() {
    if (mStandalonePath.empty() || !mChanges.IsChanged()) {
        return;
    }
    SaveShownFile();
}

bool MainWindow::SaveShownFile() {
    BusyCursor busy;
    if (!ChecksAllowSaving()) {
        return false;
    }
    // Edits that ended where they began: writing would only push the oldest backup out.
    if (mHistory->SameAsDisk()) {
        mChanges.SetChanged(false);
        return true;
    }
    const int saved = SaveCurrentFile(mTree, SaveNamesForFile(mStandalonePath), mChanges,
                                      mPrompts, German(), [this] { SaveAs1Click(); });
    if (saved != WriteResultCode::Ok) {
        return false; // the save said why; the edits stay
    }
    mHistory->FileSaved();
    return true;
}

bool MainWindow::MayLeaveFile() {
    if (!mChanges.IsChanged() || mHistory->SameAsDisk()) {
        return true;
    }
    switch (mPrompts.AskSaveDiscardCancel(
        "", SaveQuestionText(DisplayPath(mStandalonePath).toUtf8().toStdString(), mSettings.language))) {
    case LeaveAnswer::Save:
        return SaveShownFile();
    case LeaveAnswer::Discard:
        return true;
    case LeaveAnswer::Cancel:
        break;
    }
    return false;
}

void MainWindow::SaveAs1Click() {
    if (mStandalonePath.empty()) {
        return;
    }
    const QString start = DisplayPath(mStandalonePath);
    QString chosen;
    if (pickSaveAsPath) {
        chosen = pickSaveAsPath(this, start);
    } else {
        QFileDialog dialog(this, SaveAs1->text().remove(QLatin1Char('&')), start,
                           DialogFilter(Text(TextId::AirFileDialogFilter, mSettings)));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("air"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().constFirst();
        }
    }
    if (chosen.isEmpty()) {
        return;
    }
    const std::string path = LocalPath(QFileInfo(chosen).absoluteFilePath());
    BusyCursor busy;
    const bool changed = mChanges.IsChanged();
    if (changed && !ChecksAllowSaving()) {
        return;
    }
    if (SaveFileAs(mTree, SaveNamesForFile(path), mChanges, mPrompts, German()) !=
        WriteResultCode::Ok) {
        return;
    }
    if (changed) {
        mHistory->FileSaved();
    }
    mStandalonePath = path;
    mRecordPage->SetFilePath(path);
    if (!mLibraryMode) {
        ShowCaption(DisplayPath(path));
    }
    mSettings.opendir = FolderOfPath(path);
    mSettings.Save();
}

bool MainWindow::ChecksAllowSaving() {
    // A doubtful record the user never touched would come up on every save.
    const std::vector<CheckFinding> findings = CheckBeforeSaving(
        mTree, mDictionary, [this](const RecordNode& root) { return mHistory->ChangedSinceSaved(root); });
    if (findings.empty()) {
        return true;
    }
    std::vector<std::string> texts;
    for (const CheckFinding& finding : findings) {
        // Record names come from the dictionary: UTF-8 when they are, else Windows-1252.
        texts.push_back(FromConfigText(finding.text).toStdString());
    }
    return mPrompts.SaveDespiteFindings(
        texts, [&](size_t i) { mRecordPage->SelectNode(findings[i].node); }, German());
}

void MainWindow::ASCIIExport1Click() {
    QFileDialog dialog(this, ASCIIExport1->iconText(), DisplayPath(mSettings.asciidir),
                       DialogFilter(Text(TextId::TextFileDialogFilter, mSettings)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    ExportAsciiTo(dialog.selectedFiles().constFirst());
}

void MainWindow::ExportAsciiTo(const QString& file) {
    const std::string path = LocalPath(file);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto refused = [&] {
        mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings),
                        Utf8Text(TextId::ExportFileNotOpened, mSettings) + "\n" + path);
    };
    if (!out) {
        refused();
        return;
    }
    BusyCursor busy;
    mSettings.asciidir = FolderOfPath(path);
    mSettings.Save();
    ExportAscii(mTree, mDictionary, mSettings.delimiter,
                NumberStyle{LocaleDecimalMark(), mSettings.decimal}, out);
    out.close();
    // A full disk would otherwise leave a cut-off export without a word.
    if (!out) {
        refused();
    }
}

void MainWindow::Exit1Click() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayLeaveFile()) {
        event->ignore();
        return;
    }
    if (!mStartAbandoned) {
        StoreWindowLayout();
    }
    mResizeAttached = false;
    event->accept();
}

void MainWindow::StoreWindowLayout() {
    WindowLayout layout;
    layout.maximised = isMaximized();
    const QRect client = geometry();
    layout.left = client.left();
    layout.top = client.top();
    layout.width = client.width();
    layout.height = client.height();
    const std::array<int, 3> sizes = mRecordPage->PanelSizes();
    layout.panels = PanelSizesFromSettings(mSettings);
    layout.panels.treeWidth = sizes[0];
    layout.panels.upperHeight = sizes[1];
    layout.panels.helpWidth = sizes[2];
    if (mLibraryMode) { // otherwise the selection page was never shown and keeps its sizes
        const std::array<int, 2> selection = mSelectionPage->PanelSizes();
        layout.panels.manufacturerWidth = selection[0];
        layout.panels.perManufacturerWidth = selection[1];
    }
    kelvara::StoreWindowLayout(mSettings, layout, mBrowserChangePending);
}

void MainWindow::About1Click() {
    AboutDialog about(this);
    about.SetDictionaryText(DisplayPath(mDictionaryText));
    about.exec();
}

void MainWindow::HexEditor1Click() {
    mRecordPage->SetHexVisible(HexEditor1->isChecked());
}

void MainWindow::MarkforCompare1Click() {
    const auto [aircraft, variation] = mChanges.Current();
    mCompareMarks.Mark(mLibraryMode, aircraft, variation, mLibrary.CurrentVariation().title);
    const Variation& marked = mLibrary.CurrentVariation();
    const QString name = FromConfigText(marked.variation.empty() ? marked.title
                                                                 : marked.title + " - " + marked.variation);
    statusBar()->showMessage(Pick(Texts::MarkedForCompare, German()).arg(name));
}

void MainWindow::Compare1Click() {
    unsetCursor();
    const Variation* marked = mLibrary.Find(
        AircraftIndex{mCompareMarks.markedAircraft, mCompareMarks.markedVariation});
    const std::string path =
        marked && !marked->sim.empty() ? ResolveNoCase(marked->sim + ".air") : std::string();
    mCompare->CompareWith(path, mCompareMarks.markedTitle, ReadOptionsForCompare());
}

void MainWindow::CompareWithFile1Click() {
    const QString path = QFileDialog::getOpenFileName(
        this, CompareWithFile1->text().remove(QLatin1Char('&')), DisplayPath(mSettings.opendir),
        DialogFilter(Text(TextId::AirFileDialogFilter, mSettings)));
    if (!path.isEmpty()) {
        CompareWithFile(path);
    }
}

void MainWindow::CompareWithFile(const QString& path) {
    const std::string local = LocalPath(QFileInfo(path).absoluteFilePath());
    mCompare->CompareWith(local, {}, ReadOptionsForCompare());
}

void MainWindow::StartPlugins() {
    mPlugins.ScanPlugins(PluginFolders(mSettings.ProgramFolder()),
                         {German() ? 'D' : 'E', mSettings.ConfigFolder(), !mPluginsOff});
    // A plug-in that crashed the last start is named once; the plug-ins window keeps listing it.
    QStringList texts;
    for (const PluginEntry& entry : mPlugins.Entries()) {
        if (entry.newlyDisabled) {
            texts << Pick(Texts::PluginDisabled, German())
                         .arg(DisplayPath(entry.path), DisplayPath(entry.marker));
        }
    }
    if (const std::vector<std::string>& beyond = mPlugins.BeyondLimit(); !beyond.empty()) {
        QStringList names;
        for (const std::string& path : beyond) {
            names << DisplayPath(path);
        }
        texts << Pick(Texts::PluginsBeyondLimit, German()).arg(kMaxPlugins).arg(names.join(QStringLiteral("\n")));
    }
    if (!texts.isEmpty()) {
        // Over the window, not alone on the desktop before it.
        QMetaObject::invokeMethod(
            this, [this, text = texts.join(QStringLiteral("\n\n")).toStdString()] { mPrompts.Inform("", text); },
            Qt::QueuedConnection);
    }
}

void MainWindow::InstalledPlugins1Click() {
    if (!mPluginsForm) {
        mPluginsForm = new PluginsDialog(mPlugins, German(), this);
    }
    mPluginsForm->show();
    mPluginsForm->raise();
    mPluginsForm->activateWindow();
}

void MainWindow::Getmanual1Click() {
    const std::string manual = ManualPath(mSettings.ProgramFolder());
    if (manual.empty()) {
        mPrompts.Error(Utf8Text(TextId::CaptionWarning, mSettings),
                       PickUtf8(Texts::ManualMissing, German()) + "\n" +
                           DataFolder(mSettings.ProgramFolder()));
        return;
    }
    mPrompts.Inform(Utf8Text(TextId::CaptionInformation, mSettings),
                    GetManualText(mSettings.language, manual));
    QDesktopServices::openUrl(QUrl::fromLocalFile(DisplayPath(manual)));
}

} // namespace kelvara
