// The main window's start, language, opening, saving and closing roads.
#include "ChangeTracker.h"
#include "TAboutForm.h"
#include "UiFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QTreeView>

using namespace kelvara;
using namespace kelvara::test;

namespace {

QString CfgValue(const UiFixture& f, const char* key) {
    const QByteArray prefix = QByteArray(key) + " =";
    for (const QByteArray& line : f.ReadFile(QStringLiteral("kvr.cfg")).split('\n')) {
        if (line.trimmed().startsWith(prefix)) {
            return QString::fromLatin1(line.trimmed().mid(prefix.size()).trimmed());
        }
    }
    return QStringLiteral("<missing>");
}

void TypeNumber(UiFixture& f, uint32_t record, const QString& text) {
    f.Select(record);
    f.Page().eNumber->selectAll();
    QTest::keyClicks(f.Page().eNumber, text);
}

QString Last(const UiFixture& f, std::string ShownMessage::*part = &ShownMessage::text) {
    return f.prompts.shown.empty() ? QString() : QString::fromStdString(f.prompts.shown.back().*part);
}

struct LanguageCase {
    const char* cfg;
    const char* file; // menu and check box captions, hex view length line, a message
    const char* load;
    const char* xlock;
    const char* length;
    const char* range;
    const char* openCaption; // refusing a damaged file
    const char* openText;
};

} // namespace

Q_DECLARE_METATYPE(LanguageCase)

class MainBrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void start_data() {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QString>("argument"); // empty: no argument
        QTest::addColumn<int>("records");       // none in library mode, or for a backup name
        QTest::newRow("file argument") << QByteArray() << "plane.air" << 9;
        QTest::newRow("backup argument") << QByteArray() << "plane.air.bak" << 0;
        QTest::newRow("library mode") << QByteArray("showaircraft = 1\r\n") << "" << 0;
    }
    void start() {
        QFETCH(QByteArray, cfg);
        QFETCH(QString, argument);
        QFETCH(int, records);
        UiFixture f;
        f.WriteFile(QStringLiteral("plane.air.bak"), AirBytes(StandardRecords()));
        f.Start(cfg, argument.isEmpty() ? QStringList() : QStringList{f.Path(argument)}, false);
        TMainBrowser& w = *f.window;
        const bool library = argument.isEmpty();
        QCOMPARE(w.LibraryMode(), library);
        QCOMPARE(w.Tree().RootCount(), size_t(records));
        QCOMPARE(w.TabControl()->count(), library ? 2 : 0);
        QCOMPARE(w.TabControl()->isVisible(), library);
        QVERIFY(w.LoadAircraft1->isVisible() && f.Page().isVisible());
        QVERIFY(f.prompts.shown.empty() && !w.Changes().IsChanged());
        if (library) {
            QCOMPARE(w.TabControl()->tabText(1), QStringLiteral(".air file"));
            QVERIFY(!w.statusBar()->currentMessage().isEmpty());
        } else if (records == 0) {
            QVERIFY(w.StartFile().isEmpty());
            QCOMPARE(w.windowTitle(), QStringLiteral("Kelvara V2.2"));
        } else {
            QCOMPARE(w.windowTitle(), QStringLiteral("Kelvara V2.2 - ") + f.Path(argument));
            QCOMPARE(f.Page().SelectedNode(), w.Tree().Root(0));
            QCOMPARE(f.Page().TitlePanel->text(), QStringLiteral("Title text"));
            // The folder of the opened file is remembered at once, and the run is in file mode.
            QCOMPARE(CfgValue(f, "opendir"), f.dir.path() + QLatin1Char('/'));
            QCOMPARE(CfgValue(f, "showaircraft"), QStringLiteral("0"));
        }
    }

    void languages_data() {
        QTest::addColumn<LanguageCase>("c");
        QTest::newRow("D") << LanguageCase{"language = D\r\n", "Datei", "Flugzeug laden",
                                           "X sperren", "Länge = 2",
                                           "nur Werte zwischen -32768 and 32767 sind erlaubt",
                                           "Warnung", ".air Datei konnte nicht geöffnet werden"};
        QTest::newRow("E") << LanguageCase{"language = E\r\n", "File", "Load Aircraft", "lock X",
                                           "Length = 2", "values between -32768 and 32767 only",
                                           "Warning", "could not open .air file"};
    }
    // Captions and messages follow the language.
    void languages() {
        QFETCH(LanguageCase, c);
        UiFixture f;
        f.Start(c.cfg);
        QCOMPARE(f.window->FileMenu()->title(), QString::fromUtf8(c.file));
        QCOMPARE(f.window->LoadAircraft1->text(), QString::fromUtf8(c.load));
        QCOMPARE(f.window->ASCIIExport1->text(), QStringLiteral("ASCII Export")); // one language
        QCOMPARE(f.Page().cbXlock->text(), QString::fromUtf8(c.xlock));
        f.Select(0x0100);
        QCOMPARE(f.Page().HexEditor->toPlainText().section(u'\n', 0, 0), QString::fromUtf8(c.length));
        f.Page().eNumber->setText(QStringLiteral("40000"));
        QCOMPARE(Last(f), QString::fromUtf8(c.range));

        // A damaged file is refused; the tree, the edit and the file name stay.
        TypeNumber(f, 0x0100, QStringLiteral("7"));
        f.prompts.shown.clear();
        QByteArray damaged = AirBytes({{0x0100, Le16(1)}, {0x0101, Le16(2)}});
        damaged[14] = char(200); // the second record's length runs past the end
        f.WriteFile(QStringLiteral("bad.air"), damaged);
        f.window->OpenAirFile(f.Path(QStringLiteral("bad.air")));
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(Last(f, &ShownMessage::caption), QString::fromUtf8(c.openCaption));
        QVERIFY2(Last(f).startsWith(QString::fromUtf8(c.openText)) &&
                     Last(f).contains(QStringLiteral("at byte 10")),
                 qPrintable(Last(f)));
        QCOMPARE(f.window->Tree().RootCount(), size_t{9});
        QVERIFY(f.Page().TV->isVisible());
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0100));
        QVERIFY(f.window->Changes().IsChanged());
        QCOMPARE(f.window->StandalonePath(), f.Folder() + "/plane.air");
        QVERIFY(f.window->windowTitle().endsWith(QStringLiteral("plane.air")));
        QCOMPARE(CfgValue(f, "opendir"), f.dir.path() + QLatin1Char('/')); // remembered even so
        f.window->Changes().SetChanged(false);
    }

    void closeWithChangesAsksAndNoStoresTheLayout() {
        UiFixture f;
        f.Start("windowleft = 30\r\nwindowtop = 40\r\nwindowwidth = 900\r\nwindowheight = "
                "650\r\nsplitter1 = 300\r\n");
        QCOMPARE(f.window->size(), QSize(900, 650));
        TypeNumber(f, 0x0100, QStringLiteral("7"));
        const QByteArray cfgBefore = f.ReadFile(QStringLiteral("kvr.cfg"));

        // Yes goes back for saving: loading does nothing, closing is refused.
        f.prompts.answers = {true, true};
        f.window->LoadAircraft1Click(); // a Yes returns before any file dialog
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.prompts.shown.size(), size_t{2});
        QCOMPARE(f.prompts.shown.back().kind, std::string("ask"));
        QCOMPARE(Last(f, &ShownMessage::caption), QString());
        QCOMPARE(Last(f), QStringLiteral("Changes made: Do you want to go back for saving?"));
        QCOMPARE(f.Node(0x0100)->record.data, Le16(7));
        QCOMPARE(f.ReadFile(QStringLiteral("kvr.cfg")), cfgBefore);

        // No closes, storing the layout and dropping the changes.
        f.prompts.answers = {false};
        QVERIFY(f.window->close());
        QCOMPARE(CfgValue(f, "windowwidth"), QStringLiteral("900"));
        QCOMPARE(CfgValue(f, "windowheight"), QStringLiteral("650"));
        QCOMPARE(CfgValue(f, "windowleft"), QString::number(f.window->x()));
        QCOMPARE(CfgValue(f, "splitter1"), QStringLiteral("300"));
        QCOMPARE(CfgValue(f, "splitter2"), QString::number(f.Page().PanelSizes()[1]));
        QCOMPARE(f.ReadFile(QStringLiteral("plane.air")), AirBytes(StandardRecords()));
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("plane.kvr1.air"))));
    }

    void closeWhileMaximisedKeepsTheStoredSize() {
        UiFixture f;
        f.Start("windowleft = -2\r\nwindowtop = -2\r\nwindowwidth = 777\r\nwindowheight = 555\r\n");
        QVERIFY(f.window->isMaximized());
        QVERIFY(f.window->close());
        QVERIFY(f.prompts.shown.empty());
        for (auto [key, value] : {std::pair{"windowleft", "-2"}, {"windowtop", "-2"},
                                  {"windowwidth", "777"}, {"windowheight", "555"}}) {
            QCOMPARE(CfgValue(f, key), QString::fromLatin1(value));
        }
    }

    void saveWritesTheEditAndABackup() {
        UiFixture f;
        f.Start();
        f.window->SaveAircraft1Click(); // nothing to save
        QVERIFY(f.prompts.shown.empty());
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("plane.kvr1.air"))));

        const QByteArray original = f.ReadFile(QStringLiteral("plane.air"));
        TypeNumber(f, 0x0100, QStringLiteral("258"));
        f.window->SaveAircraft1Click();
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(Last(f, &ShownMessage::caption), QStringLiteral("Info"));
        QCOMPARE(Last(f), QStringLiteral("Save complete"));
        QVERIFY(!f.window->Changes().IsChanged());
        QCOMPARE(f.ReadFile(QStringLiteral("plane.kvr1.air")), original);
        QByteArray expected = original;
        expected[0x35] = 2;
        expected[0x36] = 1;
        QCOMPARE(f.ReadFile(QStringLiteral("plane.air")), expected);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void exportHexViewAndAboutBox() {
        UiFixture f;
        f.Start();
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("out")));
        TypeNumber(f, 0x0100, QStringLiteral("42"));
        f.window->ExportAsciiTo(f.Path(QStringLiteral("out/plane.txt")));
        QVERIFY(f.prompts.shown.empty());
        const QByteArray text = f.ReadFile(QStringLiteral("out/plane.txt"));
        QVERIFY2(text.contains("00100\tInt value\t42\r\n"), text.constData());
        QCOMPARE(CfgValue(f, "asciidir"), f.Path(QStringLiteral("out/")));
        f.window->Changes().SetChanged(false);

        QVERIFY(!f.Page().HexEditor->isVisible());
        f.window->HexEditor1->trigger();
        QVERIFY(f.Page().HexEditor->isVisible());
        QVERIFY(TAboutForm().VersionLine().startsWith(QStringLiteral("KVR V2.2 ")));

        // The About box names the dictionary in use, here the one beside the program.
        QString dictionaryLine;
        QTimer::singleShot(0, [&dictionaryLine] {
            if (auto* about = qobject_cast<TAboutForm*>(QApplication::activeModalWidget())) {
                dictionaryLine = about->findChild<QLabel*>(QStringLiteral("DictionaryLabel"))->text();
                about->accept();
            }
        });
        f.window->About1->trigger();
        QCOMPARE(dictionaryLine, QStringLiteral("KVR.ini: ") + f.Path(QStringLiteral("KVR.ini")));
    }
};

QTEST_MAIN(MainBrowserTest)
#include "MainBrowserTest.moc"
