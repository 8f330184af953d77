#include "TMainBrowser.h"

#include "AsciiExport.h"
#include "RecordPage.h"
#include "SaveCurrentFile.h"
#include "Settings.h"
#include "StartupRules.h"
#include "TAboutForm.h"
#include "UiTexts.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>

#include <fstream>

namespace kelvara {

namespace {

// A busy cursor around a long action, restored on every way out.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DisplayPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The folder of a path with its trailing separator; empty when it names no folder.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

char LocaleMark() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

} // namespace

TMainBrowser::TMainBrowser(Settings& settings, UserPrompts& prompts, QStringList arguments, QWidget* parent)
    : QMainWindow(parent), mSettings(settings), mPrompts(prompts), mArguments(std::move(arguments)) {
    setObjectName(QStringLiteral("TMainBrowser"));
    resize(kDesignWidth, kDesignHeight);

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
    mManufacturerPanel = new QWidget(mPages);
    mManufacturerPanel->setObjectName(QStringLiteral("ManufacturerPanel"));
    mPages->addWidget(mManufacturerPanel);
    mRecordPage = new RecordPage(RecordPageContext{mSettings, mPrompts, mChanges, mDictionary, mTree}, mPages);
    mPages->addWidget(mRecordPage);
    mPages->setCurrentWidget(mRecordPage);
    layout->addWidget(mPages, 1);
    setCentralWidget(central);
    connect(mTabControl, &QTabBar::currentChanged, this, [this](int tab) {
        mPages->setCurrentWidget(tab == 0 ? mManufacturerPanel : static_cast<QWidget*>(mRecordPage));
    });

    BuildMenu();
    mRecordPage->SetMenuActions(Cut1, Copy1, Compare1);
    statusBar();
}

TMainBrowser::~TMainBrowser() = default;

void TMainBrowser::BuildMenu() {
    auto add = [this](QMenu* menu, const char* name, auto handler) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>) {
            connect(action, &QAction::triggered, this, handler);
        }
        return action;
    };
    mFileMenu = menuBar()->addMenu(QString());
    LoadAircraft1 = add(mFileMenu, "LoadAircraft1", &TMainBrowser::LoadAircraft1Click);
    SaveAircraft1 = add(mFileMenu, "SaveAircraft1", &TMainBrowser::SaveAircraft1Click);
    ASCIIExport1 = add(mFileMenu, "ASCIIExport1", &TMainBrowser::ASCIIExport1Click);
    ASCIIExport1->setText(QStringLiteral("ASCII Export"));
    MarkforCompare1 = add(mFileMenu, "MarkforCompare1", nullptr);
    MarkforCompare1->setText(QStringLiteral("Mark for Compare"));
    MarkforCompare1->setVisible(false);
    Compare1 = add(mFileMenu, "Compare1", nullptr);
    Compare1->setText(QStringLiteral("Compare"));
    Compare1->setCheckable(true);
    Compare1->setVisible(false);
    mFileMenu->addSeparator();
    Exit1 = add(mFileMenu, "Exit1", &TMainBrowser::Exit1Click);

    // Clipboard and search commands arrive with their own pages; their entries are in place.
    mEditMenu = menuBar()->addMenu(QString());
    Cut1 = add(mEditMenu, "Cut1", nullptr);
    Copy1 = add(mEditMenu, "Copy1", nullptr);
    Paste1 = add(mEditMenu, "Paste1", nullptr);
    Paste1->setEnabled(false);
    mEditMenu->setEnabled(false);
    mFindMenu = menuBar()->addMenu(QString());
    Text1 = add(mFindMenu, "Text1", nullptr);
    Next1 = add(mFindMenu, "Next1", nullptr);
    mFindMenu->setEnabled(false);

    mOptionsMenu = menuBar()->addMenu(QString());
    Config1 = add(mOptionsMenu, "Config1", nullptr);
    Config1->setEnabled(false);
    HexEditor1 = add(mOptionsMenu, "HexEditor1", nullptr);
    HexEditor1->setText(QStringLiteral("Hex Editor"));
    HexEditor1->setCheckable(true);
    connect(HexEditor1, &QAction::toggled, this, [this](bool on) { mRecordPage->SetHexVisible(on); });

    mHelpMenu = menuBar()->addMenu(QString());
    About1 = add(mHelpMenu, "About1", &TMainBrowser::About1Click);
    Getmanual1 = add(mHelpMenu, "Getmanual1", &TMainBrowser::Getmanual1Click);
}

void TMainBrowser::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (mFirstShow) {
        FormShow();
    }
}

void TMainBrowser::FormShow() {
    std::vector<std::string> arguments;
    for (const QString& argument : mArguments) {
        arguments.push_back(LocalPath(argument));
    }
    mStartFile = DisplayPath(StartFileFromArguments(arguments));
    if (!mStartFile.isEmpty()) {
        mSettings.showaircraft = 0;
    }
    mLibraryMode = mSettings.showaircraft != 0;
    mChanges.SetLibraryMode(false); // one file at a time until the library arrives

    mFirstShow = false;
    SetCaption({});
    ApplyLanguage();
    LoadAircraft1->setVisible(true);
    mDictionary.LoadDictionary(mSettings.ProgramFolder() + "/KVR.ini");
    if (mLibraryMode) {
        statusBar()->showMessage(Pick(Texts::LibraryModePending, German()));
    }

    PlaceWindow();
    mRecordPage->ApplyPanelSizes(mSettings.splitter[0], mSettings.splitter[1], mSettings.splitter[2]);
    mResizeAttached = true;

    if (!mStartFile.isEmpty()) {
        OpenAirFile(mStartFile);
    }
}

void TMainBrowser::ApplyLanguage() {
    const bool german = German();
    mFileMenu->setTitle(Pick(Texts::File, german));
    LoadAircraft1->setText(Pick(Texts::LoadAircraft, german));
    mEditMenu->setTitle(Pick(Texts::Edit, german));
    Cut1->setText(Pick(Texts::Cut, german));
    Copy1->setText(Pick(Texts::Copy, german));
    Paste1->setText(Pick(Texts::Paste, german));
    mFindMenu->setTitle(Pick(Texts::Find, german));
    Text1->setText(Pick(Texts::SearchFirst, german));
    Next1->setText(Pick(Texts::SearchNext, german));
    mOptionsMenu->setTitle(Pick(Texts::Options, german));
    mHelpMenu->setTitle(Pick(Texts::Help, german));
    SaveAircraft1->setText(Pick(Texts::SaveAircraft, german));
    Exit1->setText(Pick(Texts::Exit, german));
    Config1->setText(Pick(Texts::Config, german));
    About1->setText(Pick(Texts::About, german));
    Getmanual1->setText(Pick(Texts::GetManual, german));
    mRecordPage->ApplyLanguage(german);
    if (!mLibraryMode) {
        mTabControl->hide();
        mPages->setCurrentWidget(mRecordPage);
        return;
    }
    mTabControl->addTab(Pick(Texts::TabSelection, german));
    mTabControl->addTab(Pick(Texts::TabAirFile, german));
    mTabControl->setCurrentIndex(1);
    mTabControl->show();
}

void TMainBrowser::PlaceWindow() {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, kDesignWidth, kDesignHeight);
    const WindowPlacement placement =
        kelvara::PlaceWindow(mSettings.windowleft, mSettings.windowtop, mSettings.windowwidth, mSettings.windowheight,
                             available.width(), available.height(), kDesignWidth, kDesignHeight);
    resize(placement.width, placement.height);
    move(available.left() + (mSettings.windowleft < 0 ? placement.left : placement.left - available.left()),
         available.top() + (mSettings.windowtop < 0 ? placement.top : placement.top - available.top()));
    if (placement.maximised) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (QLayout* layout = this->layout()) {
        layout->activate();
    }
}

void TMainBrowser::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (mResizeAttached) {
        mRecordPage->ApplyUpperLimit(height());
    }
}

void TMainBrowser::SetCaption(const std::string& suffix) {
    const std::string version = std::string(Settings::kVersion).substr(4);
    setWindowTitle(QStringLiteral("Kelvara ") + QString::fromLatin1(version) + DisplayPath(suffix));
}

bool TMainBrowser::German() const { return mSettings.German(); }

void TMainBrowser::OpenAirFile(const QString& path) {
    BusyCursor busy;
    const std::string localPath = LocalPath(path);
    ASCIIExport1->setEnabled(true);
    mEditMenu->setEnabled(true);
    mFindMenu->setEnabled(true);
    mSettings.opendir = FolderOf(localPath);
    mSettings.Save();

    const ReadOptions options{mSettings.datatypes != 0, NumberStyle{LocaleMark(), mSettings.decimal}};
    const ReadResult result = mRecordPage->ReplaceTree(
        [&](RecordTree& fresh) { return ReadAirFile(localPath, mDictionary, options, fresh); });
    if (result.code != ReadResultCode::Ok) {
        std::string message = PickUtf8(Texts::CannotOpenAir, German());
        if (!result.message.empty()) {
            message += "\n" + result.message;
        }
        mPrompts.Inform(PickUtf8(Texts::Warning, German()), message);
        return;
    }
    mStandalonePath = localPath;
    mRecordPage->SetFilePath(localPath);
    SetCaption(" - " + localPath);
    mChanges.SetChanged(false);
    statusBar()->clearMessage();
}

void TMainBrowser::LoadAircraft1Click() {
    if (mChanges.IsChanged() && GoBackForSaving()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, Pick(Texts::LoadAircraft, German()),
                                                      DisplayPath(mSettings.opendir), Pick(Texts::AirFilter, German()));
    if (!path.isEmpty()) {
        OpenAirFile(path);
    }
}

void TMainBrowser::SaveAircraft1Click() {
    if (mStandalonePath.empty()) {
        return;
    }
    BusyCursor busy;
    SaveCurrentFile(mTree, SaveNamesForFile(mStandalonePath), mChanges, mPrompts, German());
}

void TMainBrowser::ASCIIExport1Click() {
    QFileDialog dialog(this, QStringLiteral("ASCII Export"), DisplayPath(mSettings.asciidir),
                       Pick(Texts::TextFilter, German()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const std::string path = LocalPath(dialog.selectedFiles().constFirst());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        mPrompts.Inform(PickUtf8(Texts::Information, German()), PickUtf8(Texts::ExportCannotOpen, German()));
        return;
    }
    BusyCursor busy;
    mSettings.asciidir = FolderOf(path);
    mSettings.Save();
    ExportAscii(mTree, mDictionary, mSettings.delimiter, NumberStyle{LocaleMark(), mSettings.decimal}, out);
    out.close();
    // A full disk would otherwise leave a cut-off export without a word.
    if (!out) {
        mPrompts.Inform(PickUtf8(Texts::Information, German()), PickUtf8(Texts::ExportCannotOpen, German()));
    }
}

bool TMainBrowser::GoBackForSaving() { return mPrompts.AskYesNo(std::string(), PickUtf8(Texts::ChangesGoBack, German())); }

void TMainBrowser::Exit1Click() { close(); }

void TMainBrowser::closeEvent(QCloseEvent* event) {
    if (mChanges.IsChanged() && GoBackForSaving()) {
        event->ignore();
        return;
    }
    StoreWindowLayout();
    mResizeAttached = false;
    event->accept();
}

void TMainBrowser::StoreWindowLayout() {
    if (isMaximized()) {
        mSettings.windowleft = -2;
        mSettings.windowtop = -2;
    } else {
        mSettings.windowleft = x();
        mSettings.windowtop = y();
        mSettings.windowwidth = width();
        mSettings.windowheight = height();
    }
    const std::array<int, 3> sizes = mRecordPage->PanelSizes();
    std::copy(sizes.begin(), sizes.end(), mSettings.splitter.begin());
    mSettings.Save();
}

void TMainBrowser::About1Click() {
    TAboutForm about(this);
    about.exec();
}

void TMainBrowser::Getmanual1Click() {
    mPrompts.Inform(PickUtf8(Texts::Information, German()), PickUtf8(Texts::ManualAt, German()) + kManualAddress);
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kManualAddress)));
}

} // namespace kelvara
