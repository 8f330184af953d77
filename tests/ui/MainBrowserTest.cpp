// The main window's start, language, opening, saving and closing roads.
#include "ChangeTracker.h"
#include "TAboutForm.h"
#include "UiFixture.h"

#include <QDir>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeView>

using namespace kelvara;
using namespace kelvara::test;

namespace {

QString CfgValue(const QByteArray& cfg, const char* key) {
    for (const QByteArray& line : cfg.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const QByteArray prefix = QByteArray(key) + " =";
        if (trimmed.startsWith(prefix)) {
            return QString::fromLatin1(trimmed.mid(prefix.size()).trimmed());
        }
    }
    return QStringLiteral("<missing>");
}

void TypeNumber(UiFixture& f, uint32_t record, const QString& text) {
    f.Select(record);
    f.Page().eNumber->selectAll();
    QTest::keyClicks(f.Page().eNumber, text);
}

} // namespace

class MainBrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void startArgumentOpensTheFileInFileMode();
    void backupNameArgumentIsIgnored();
    void libraryModeStartsOnTheEmptyRecordPage();
    void germanCaptions();
    void englishCaptions();

    void closeWithChangesYesStays();
    void closeWithChangesNoStoresTheLayout();
    void closeWhileMaximisedKeepsTheStoredSize();
    void loadAircraftWithChangesAndYesDoesNothing();

    void damagedFileIsRefusedAndTheTreeStays();
    void missingFileIsRefusedAndTheTreeStays();
    void saveWritesTheEditAndABackup();
    void saveWithoutChangesWritesNothing();

    void exportWritesTheFileAndRemembersTheFolder();
    void exportThatCannotBeWrittenIsReported();
    void hexEditorMenuShowsTheHexView();
    void aboutBoxShowsTheVersion();
};

void MainBrowserTest::startArgumentOpensTheFileInFileMode() {
    UiFixture f;
    f.Start();
    TMainBrowser& w = *f.window;
    const QString path = f.Path(QStringLiteral("plane.air"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Kelvara V2.2 - ") + path);
    QVERIFY(!w.LibraryMode());
    QVERIFY(!w.TabControl()->isVisible());
    QCOMPARE(w.TabControl()->count(), 0);
    QVERIFY(w.LoadAircraft1->isVisible());
    QCOMPARE(w.Tree().RootCount(), size_t{9});
    QCOMPARE(f.Page().SelectedNode(), w.Tree().Root(0));
    QCOMPARE(f.Page().TitlePanel->text(), QStringLiteral("Title text"));
    QVERIFY(!w.Changes().IsChanged());
    // The folder of the opened file is remembered at once, and the run is in file mode.
    const QByteArray cfg = f.ReadFile(QStringLiteral("kvr.cfg"));
    QCOMPARE(CfgValue(cfg, "opendir"), f.dir.path() + QLatin1Char('/'));
    QCOMPARE(CfgValue(cfg, "showaircraft"), QStringLiteral("0"));
}

void MainBrowserTest::backupNameArgumentIsIgnored() {
    UiFixture f;
    f.WriteAir(QStringLiteral("plane.air.bak"), StandardRecords());
    f.Start({}, {f.Path(QStringLiteral("plane.air.bak"))});
    QVERIFY(f.window->StartFile().isEmpty());
    QVERIFY(f.window->Tree().Empty());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvara V2.2"));
    QVERIFY(f.prompts.shown.empty());
}

void MainBrowserTest::libraryModeStartsOnTheEmptyRecordPage() {
    UiFixture f;
    f.Start("showaircraft = 1\r\n", {}, false);
    TMainBrowser& w = *f.window;
    QVERIFY(w.LibraryMode());
    QVERIFY(w.Tree().Empty());
    QVERIFY(w.LoadAircraft1->isVisible());
    QVERIFY(f.Page().isVisible());
    QCOMPARE(w.TabControl()->count(), 2);
    QCOMPARE(w.TabControl()->tabText(1), QStringLiteral(".air file"));
    QVERIFY(!w.statusBar()->currentMessage().isEmpty());
}

void MainBrowserTest::germanCaptions() {
    UiFixture f;
    f.Start("language = D\r\n");
    TMainBrowser& w = *f.window;
    QCOMPARE(w.FileMenu()->title(), QStringLiteral("Datei"));
    QCOMPARE(w.LoadAircraft1->text(), QStringLiteral("Flugzeug laden"));
    QCOMPARE(w.SaveAircraft1->text(), QStringLiteral("Flugzeug speichern"));
    QCOMPARE(w.Exit1->text(), QStringLiteral("Beenden"));
    QCOMPARE(w.About1->text(), QString::fromUtf8("Über KVR..."));
    QCOMPARE(w.Paste1->text(), QString::fromUtf8("Einfügen (Strg-V)"));
    QCOMPARE(w.ASCIIExport1->text(), QStringLiteral("ASCII Export")); // one language only
    QCOMPARE(f.Page().cbXlock->text(), QStringLiteral("X sperren"));
    QCOMPARE(f.Page().cbYlock->text(), QStringLiteral("Y sperren"));
    f.Select(0x0100);
    QCOMPARE(f.Page().HexEditor->toPlainText().section(QLatin1Char('\n'), 0, 0),
             QString::fromUtf8("Länge = 2"));

    // Messages choose their language when shown.
    f.Page().eNumber->setText(QStringLiteral("40000"));
    QCOMPARE(f.prompts.shown.back().text,
             std::string("nur Werte zwischen -32768 and 32767 sind erlaubt"));
    f.settings->language = 'E';
    f.Page().eNumber->setText(QStringLiteral("40001"));
    QCOMPARE(f.prompts.shown.back().text, std::string("values between -32768 and 32767 only"));
}

void MainBrowserTest::englishCaptions() {
    UiFixture f;
    f.Start("language = E\r\n");
    QCOMPARE(f.window->FileMenu()->title(), QStringLiteral("File"));
    QCOMPARE(f.window->Getmanual1->text(), QStringLiteral("Get Manual"));
    QCOMPARE(f.Page().cbXlock->text(), QStringLiteral("lock X"));
    QVERIFY(f.Page().cbXlock->isChecked());
    QVERIFY(!f.Page().cbYlock->isChecked());
}

void MainBrowserTest::closeWithChangesYesStays() {
    UiFixture f;
    f.Start();
    TypeNumber(f, 0x0100, QStringLiteral("7"));
    const QByteArray cfgBefore = f.ReadFile(QStringLiteral("kvr.cfg"));
    f.prompts.answers = {true};
    QVERIFY(!f.window->close());
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.prompts.shown.back().kind, std::string("ask"));
    QCOMPARE(f.prompts.shown.back().caption, std::string());
    QCOMPARE(f.prompts.shown.back().text,
             std::string("Changes made: Do you want to go back for saving?"));
    QCOMPARE(f.ReadFile(QStringLiteral("kvr.cfg")), cfgBefore);
    QCOMPARE(f.ReadFile(QStringLiteral("plane.air")).size(),
             qsizetype(AirBytes(StandardRecords()).size()));
    f.window->Changes().SetChanged(false);
}

void MainBrowserTest::closeWithChangesNoStoresTheLayout() {
    UiFixture f;
    f.Start("windowleft = 30\r\nwindowtop = 40\r\nwindowwidth = 900\r\nwindowheight = "
            "650\r\nsplitter1 = 300\r\n");
    QCOMPARE(f.window->width(), 900);
    QCOMPARE(f.window->height(), 650);
    TypeNumber(f, 0x0100, QStringLiteral("7"));
    f.prompts.answers = {false};
    QVERIFY(f.window->close());
    const QByteArray cfg = f.ReadFile(QStringLiteral("kvr.cfg"));
    QCOMPARE(CfgValue(cfg, "windowwidth"), QStringLiteral("900"));
    QCOMPARE(CfgValue(cfg, "windowheight"), QStringLiteral("650"));
    QCOMPARE(CfgValue(cfg, "windowleft"), QString::number(f.window->x()));
    QCOMPARE(CfgValue(cfg, "splitter1"), QStringLiteral("300"));
    QCOMPARE(CfgValue(cfg, "splitter2"), QString::number(f.Page().PanelSizes()[1]));
    // The changes are dropped, not saved.
    QCOMPARE(f.ReadFile(QStringLiteral("plane.air")).size(),
             qsizetype(AirBytes(StandardRecords()).size()));
    QVERIFY(!QFile::exists(f.Path(QStringLiteral("plane.kvr1.air"))));
}

void MainBrowserTest::closeWhileMaximisedKeepsTheStoredSize() {
    UiFixture f;
    f.Start("windowleft = -2\r\nwindowtop = -2\r\nwindowwidth = 777\r\nwindowheight = 555\r\n");
    QVERIFY(f.window->isMaximized());
    QVERIFY(f.window->close());
    QVERIFY(f.prompts.shown.empty());
    const QByteArray cfg = f.ReadFile(QStringLiteral("kvr.cfg"));
    QCOMPARE(CfgValue(cfg, "windowleft"), QStringLiteral("-2"));
    QCOMPARE(CfgValue(cfg, "windowtop"), QStringLiteral("-2"));
    QCOMPARE(CfgValue(cfg, "windowwidth"), QStringLiteral("777"));
    QCOMPARE(CfgValue(cfg, "windowheight"), QStringLiteral("555"));
}

void MainBrowserTest::loadAircraftWithChangesAndYesDoesNothing() {
    UiFixture f;
    f.Start();
    TypeNumber(f, 0x0100, QStringLiteral("7"));
    f.prompts.answers = {true};
    f.window->LoadAircraft1Click(); // a Yes returns before any file dialog
    QCOMPARE(f.prompts.shown.size(), size_t{1});
    QVERIFY(f.window->Changes().IsChanged());
    QCOMPARE(f.Node(0x0100)->record.data, (std::vector<uint8_t>{7, 0}));
    f.window->Changes().SetChanged(false);
}

void MainBrowserTest::damagedFileIsRefusedAndTheTreeStays() {
    UiFixture f;
    f.Start();
    TypeNumber(f, 0x0100, QStringLiteral("7"));
    std::vector<uint8_t> damaged = AirBytes({{0x0100, Le16(1)}, {0x0101, Le16(2)}});
    damaged[14] = 200; // the second record's length runs past the end
    f.WriteFile(QStringLiteral("bad.air"), QByteArray(reinterpret_cast<const char*>(damaged.data()),
                                                      qsizetype(damaged.size())));
    f.window->OpenAirFile(f.Path(QStringLiteral("bad.air")));

    QCOMPARE(f.prompts.shown.size(), size_t{1});
    QCOMPARE(f.prompts.shown[0].caption, std::string("Warning"));
    QVERIFY2(f.prompts.shown[0].text.starts_with("could not open .air file"),
             f.prompts.shown[0].text.c_str());
    QVERIFY2(f.prompts.shown[0].text.find("at byte 10") != std::string::npos,
             f.prompts.shown[0].text.c_str());
    QCOMPARE(f.window->Tree().RootCount(), size_t{9});
    QVERIFY(f.Page().TV->isVisible());
    QCOMPARE(f.Page().SelectedNode(), f.Node(0x0100));
    QVERIFY(f.window->Changes().IsChanged()); // the edit is still there to be saved
    QCOMPARE(f.window->StandalonePath(), f.Folder() + "/plane.air");
    QVERIFY(f.window->windowTitle().endsWith(QStringLiteral("plane.air")));
    // The folder is remembered even so.
    QCOMPARE(CfgValue(f.ReadFile(QStringLiteral("kvr.cfg")), "opendir"),
             f.dir.path() + QLatin1Char('/'));
    f.window->Changes().SetChanged(false);
}

void MainBrowserTest::missingFileIsRefusedAndTheTreeStays() {
    UiFixture f;
    f.Start("language = D\r\n");
    f.window->OpenAirFile(f.Path(QStringLiteral("missing.air")));
    QCOMPARE(f.prompts.shown.size(), size_t{1});
    QCOMPARE(f.prompts.shown[0].caption, std::string("Warnung"));
    QVERIFY(f.prompts.shown[0].text.starts_with(".air Datei konnte nicht geöffnet werden"));
    QCOMPARE(f.window->Tree().RootCount(), size_t{9});
}

void MainBrowserTest::saveWritesTheEditAndABackup() {
    UiFixture f;
    f.Start();
    const QByteArray original = f.ReadFile(QStringLiteral("plane.air"));
    TypeNumber(f, 0x0100, QStringLiteral("258"));
    f.window->SaveAircraft1Click();
    QCOMPARE(f.prompts.shown.size(), size_t{1});
    QCOMPARE(f.prompts.shown[0].caption, std::string("Info"));
    QCOMPARE(f.prompts.shown[0].text, std::string("Save complete"));
    QVERIFY(!f.window->Changes().IsChanged());
    QCOMPARE(f.ReadFile(QStringLiteral("plane.kvr1.air")), original);
    QByteArray expected = original;
    expected[0x35] = 2;
    expected[0x36] = 1;
    QCOMPARE(f.ReadFile(QStringLiteral("plane.air")), expected);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void MainBrowserTest::saveWithoutChangesWritesNothing() {
    UiFixture f;
    f.Start();
    f.window->SaveAircraft1Click();
    QVERIFY(f.prompts.shown.empty());
    QVERIFY(!QFile::exists(f.Path(QStringLiteral("plane.kvr1.air"))));
}

void MainBrowserTest::exportWritesTheFileAndRemembersTheFolder() {
    UiFixture f;
    f.Start();
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("out")));
    TypeNumber(f, 0x0100, QStringLiteral("42"));
    f.window->ExportAsciiTo(f.Path(QStringLiteral("out/plane.txt")));
    QVERIFY(f.prompts.shown.empty());
    const QByteArray text = f.ReadFile(QStringLiteral("out/plane.txt"));
    QVERIFY2(text.contains("00100\tInt value\t42\r\n"), text.constData());
    QCOMPARE(CfgValue(f.ReadFile(QStringLiteral("kvr.cfg")), "asciidir"),
             f.Path(QStringLiteral("out/")));
    f.window->Changes().SetChanged(false);
}

void MainBrowserTest::exportThatCannotBeWrittenIsReported() {
    UiFixture f;
    f.Start();
    f.window->ExportAsciiTo(f.Path(QStringLiteral("no/such/folder/plane.txt")));
    QCOMPARE(f.prompts.shown.size(), size_t{1});
    QCOMPARE(f.prompts.shown[0].caption, std::string("Information"));
    QCOMPARE(f.prompts.shown[0].text, std::string("output file could not be opened"));
    QCOMPARE(CfgValue(f.ReadFile(QStringLiteral("kvr.cfg")), "asciidir"), QString());
}

void MainBrowserTest::hexEditorMenuShowsTheHexView() {
    UiFixture f;
    f.Start();
    QVERIFY(!f.Page().HexEditor->isVisible());
    f.window->HexEditor1->trigger();
    QVERIFY(f.Page().HexEditor->isVisible());
    QVERIFY(f.Page().HexEditor->isReadOnly());
    f.window->HexEditor1->trigger();
    QVERIFY(!f.Page().HexEditor->isVisible());
}

void MainBrowserTest::aboutBoxShowsTheVersion() {
    TAboutForm about;
    QCOMPARE(about.windowTitle(), QStringLiteral("Version Info"));
    QVERIFY(about.VersionLine().startsWith(QStringLiteral("KVR V2.2 ")));
}

QTEST_MAIN(MainBrowserTest)
#include "MainBrowserTest.moc"
