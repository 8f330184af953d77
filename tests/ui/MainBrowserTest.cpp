// The main window's start, language, keyboard, opening, saving and closing roads.
#include "ApplicationSetup.h"
#include "ChangeTracker.h"
#include "DeferredStyleIcons.h"
#include "QtUserPrompts.h"
#include "RecordCommands.h"
#include "TAboutForm.h"
#include "TFinddialog.h"
#include "TablePanel.h"
#include "UiFixture.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyleFactory>
#include <QTabBar>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>
#include <QWindow>

#include <memory>

using namespace kelvara;
using namespace kelvara::test;

namespace {

QString Last(const UiFixture& f, std::string ShownMessage::*part = &ShownMessage::text) {
    return f.prompts.shown.empty() ? QString() : QString::fromStdString(f.prompts.shown.back().*part);
}

// Notes whether the main window was on screen when a message about the start file came.
struct ExposureNotingPrompts : ScriptedPrompts {
    void Error(const std::string& caption, const std::string& text) override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<TMainBrowser*>(w)) {
                exposed.push_back(w->windowHandle() && w->windowHandle()->isExposed());
            }
        }
        ScriptedPrompts::Error(caption, text);
    }
    std::vector<bool> exposed;
};

// Menu and check box captions, the find dialog's caption and button, hex view length line, a
// message, refusing a damaged file, and Qt's own button text.
struct LanguageCase {
    const char *cfg, *file, *load, *xlock, *find, *cancel, *length, *range, *openCaption, *openText, *yes;
};

} // namespace

Q_DECLARE_METATYPE(LanguageCase)

class MainBrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void start_data() {
        QTest::addColumn<QString>("argument");
        QTest::newRow("file argument") << "plane.air";
        QTest::newRow("relative argument") << "./plane.air";
        QTest::newRow("missing file") << "missing.air";
    }
    void start() {
        QFETCH(QString, argument);
        UiFixture f;
        ExposureNotingPrompts prompts;
        f.usePrompts = &prompts;
        const QString before = QDir::currentPath();
        QDir::setCurrent(f.dir.path());
        f.Start({}, {argument}, false);
        QDir::setCurrent(before);
        TMainBrowser& w = *f.window;
        QVERIFY(!w.LibraryMode() && !w.TabControl()->isVisible());
        const bool missing = argument == QStringLiteral("missing.air");
        QCOMPARE(w.Tree().RootCount(), size_t(missing ? 0 : 9));
        QVERIFY(w.LoadAircraft1->isVisible() && f.Page().isVisible() && !w.Changes().IsChanged());
        // A start file that cannot be opened is reported over the shown window.
        QCOMPARE(prompts.exposed, missing ? std::vector<bool>{true} : std::vector<bool>{});
        if (missing) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Kelvara V2.2"));
        } else {
            // Absolute even when given relative, so that they outlive a change of folder.
            QCOMPARE(w.windowTitle(), QStringLiteral("Kelvara V2.2 - ") + f.Path(QStringLiteral("plane.air")));
            QCOMPARE(f.CfgValue("opendir"), f.dir.path() + QLatin1Char('/'));
            QCOMPARE(f.Page().SelectedNode(), w.Tree().Root(0));
            QCOMPARE(f.Page().TitlePanel->text(), QStringLiteral("Title text"));
            QCOMPARE(f.CfgValue("showaircraft"), QStringLiteral("0"));
        }
    }

    void languages_data() {
        QTest::addColumn<LanguageCase>("c");
        QTest::newRow("D") << LanguageCase{"language = D\r\n", "Datei", "Flugzeug laden",
                                           "X sperren", "Text suchen", "Abbruch", "Länge = 2",
                                           "nur Werte zwischen -32768 and 32767 sind erlaubt",
                                           "Warnung", ".air Datei konnte nicht geöffnet werden",
                                           "&Ja"};
        QTest::newRow("E") << LanguageCase{"language = E\r\n", "File", "Load Aircraft", "lock X",
                                           "Find Text", "Cancel", "Length = 2", "values between -32768 and 32767 only",
                                           "Warning", "could not open .air file", "&Yes"};
    }
    // Captions, messages and Qt's own buttons follow the language.
    void languages() {
        QFETCH(LanguageCase, c);
        UiFixture f;
        f.Start(c.cfg);
        QCOMPARE(f.window->FileMenu()->title().remove(u'&'), QString::fromUtf8(c.file));
        QCOMPARE(f.window->LoadAircraft1->text().remove(u'&'), QString::fromUtf8(c.load));
        QCOMPARE(f.window->ASCIIExport1->text().remove(u'&'), QStringLiteral("ASCII Export"));
        QCOMPARE(f.Page().Tables()->cbXlock->text(), QString::fromUtf8(c.xlock));
        // The find dialog's own words, not the ones of the Qt texts loaded (here none).
        TFinddialog& find = f.window->Commands().FindDialog();
        QCOMPARE(find.windowTitle(), QString::fromUtf8(c.find));
        QCOMPARE(find.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(),
                 QString::fromUtf8(c.cancel));
        f.Select(0x0100);
        QCOMPARE(f.Page().HexEditor->toPlainText().section(u'\n', 0, 0), QString::fromUtf8(c.length));
        f.Page().eNumber->setText(QStringLiteral("40000"));
        QCOMPARE(Last(f), QString::fromUtf8(c.range));

        QVERIFY(SetUpApplication(*qApp, *f.settings));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Kelvara"));
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QString::fromUtf8(c.yes));
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }

        // A damaged file is refused naming file and place; the tree, the edit and the name stay.
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.prompts.shown.clear();
        QByteArray damaged = AirBytes({{0x0100, Le16(1)}, {0x0101, Le16(2)}});
        damaged[14] = char(200); // the second record's length runs past the end
        f.OpenFile(QStringLiteral("bad.air"), damaged);
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(Last(f, &ShownMessage::caption), QString::fromUtf8(c.openCaption));
        QVERIFY2(Last(f).startsWith(QString::fromUtf8(c.openText) + QLatin1Char('\n') +
                                    f.Path(QStringLiteral("bad.air"))) &&
                     Last(f).contains(QStringLiteral("at byte 10")),
                 qPrintable(Last(f)));
        QCOMPARE(f.window->Tree().RootCount(), size_t{9});
        QCOMPARE(f.Page().SelectedNode(), f.Node(0x0100));
        QVERIFY(f.window->Changes().IsChanged());
    }

    // Going back is the answer of Enter and Escape, on every road that would drop an edit.
    void unsavedChangesKeysGoBack_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("road");
        for (const auto& [key, name] : {std::pair{Qt::Key_Return, "Enter"}, {Qt::Key_Escape, "Escape"}}) {
            for (const char* road : {"close", "Exit", "Load Aircraft"}) {
                QTest::addRow("%s on %s", name, road) << int(key) << QString::fromLatin1(road);
            }
        }
    }
    void unsavedChangesKeysGoBack() {
        QFETCH(int, key);
        QFETCH(QString, road);
        UiFixture f;
        QtUserPrompts boxes;
        f.usePrompts = &boxes;
        f.Start();
        boxes.SetParent(f.window.get());
        f.TypeNumber(0x0100, QStringLiteral("7"));
        {
            ModalAnswerer answer{Qt::Key(key)};
            if (road == QStringLiteral("close")) {
                QVERIFY(!f.window->close());
            } else {
                (road == QStringLiteral("Exit") ? f.window->Exit1 : f.window->LoadAircraft1)->trigger();
            }
            QCOMPARE(answer.seen, QStringList{QStringLiteral("Changes made: Do you want to go back for saving?")});
        }
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.Node(0x0100)->record.data, Le16(7));
        QVERIFY(f.window->Changes().IsChanged());
    }

    void closeStoresTheLayoutAndDropsTheChangesOnNo() {
        UiFixture f;
        f.Start("windowleft = 30\r\nwindowtop = 40\r\nwindowwidth = 900\r\nwindowheight = "
                "650\r\nsplitter1 = 300\r\n");
        QCOMPARE(f.window->geometry(), QRect(30, 40, 900, 650));
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.prompts.answers = {false};
        QVERIFY(f.window->close());
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(Last(f, &ShownMessage::caption), QString());
        const auto stored = [](const UiFixture& u) { // left, top, width, height
            return QStringList{u.CfgValue("windowleft"), u.CfgValue("windowtop"), u.CfgValue("windowwidth"),
                               u.CfgValue("windowheight")}.join(u' ');
        };
        QCOMPARE(stored(f), QStringLiteral("30 40 900 650"));
        QCOMPARE(f.CfgValue("splitter1"), QStringLiteral("300"));
        QCOMPARE(f.CfgValue("splitter2"), QString::number(f.Page().PanelSizes()[1]));
        QCOMPARE(f.ReadFile(QStringLiteral("plane.air")), AirBytes(StandardRecords()));
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("plane.kvr1.air"))));

        // Maximised: -2, -2 and the old size.
        UiFixture m;
        m.Start("windowleft = -2\r\nwindowtop = -2\r\nwindowwidth = 777\r\nwindowheight = 555\r\n");
        QVERIFY(m.window->isMaximized());
        QVERIFY(m.window->close());
        QCOMPARE(stored(m), QStringLiteral("-2 -2 777 555"));
    }

    // Alt+F, Ctrl+S, Ctrl+O and Ctrl+Q as a user presses them; ASCII export; the about box.
    void keyboardExportAndAboutBox() {
        UiFixture f;
        f.Start("windowleft = 0\r\nwindowtop = 0\r\nwindowwidth = 500\r\nwindowheight = 400\r\n");
        f.Activate();
        QTest::keyClick(f.Page().TV, Qt::Key_F, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), f.window->FileMenu());
        QTest::keyClick(f.window->FileMenu(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());

        const QByteArray original = f.ReadFile(QStringLiteral("plane.air"));
        f.TypeNumber(0x0100, QStringLiteral("258"));
        f.prompts.answers = {true, true};
        QTest::keyClick(f.Page().eNumber, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(f.Page().eNumber, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(f.prompts.shown.size(), size_t{2});
        QVERIFY(f.window->isVisible());
        QTest::keyClick(f.Page().eNumber, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Last(f, &ShownMessage::caption), QStringLiteral("Info"));
        QCOMPARE(Last(f), QStringLiteral("Save complete"));
        QVERIFY(!f.window->Changes().IsChanged());
        QCOMPARE(f.ReadFile(QStringLiteral("plane.kvr1.air")), original);
        QVERIFY(QApplication::overrideCursor() == nullptr);

        f.prompts.shown.clear();
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("out")));
        f.window->ExportAsciiTo(f.Path(QStringLiteral("out/plane.txt")));
        QVERIFY(f.prompts.shown.empty());
        QVERIFY(f.ReadFile(QStringLiteral("out/plane.txt")).contains("00100\tInt value\t258\r\n"));
        QCOMPARE(f.CfgValue("asciidir"), f.Path(QStringLiteral("out/")));
        f.window->ExportAsciiTo(f.Path(QStringLiteral("none/plane.txt")));
        QVERIFY(Last(f).endsWith(f.Path(QStringLiteral("none/plane.txt"))));

        // The about box: white on black, centred on the screen rather than on the window.
        QImage shot;
        QRect frame;
        QString version, dictionaryLine;
        ModalAnswerer answer(Qt::Key_Return, [&](QWidget* about) {
            QVERIFY(QTest::qWaitForWindowExposed(about));
            shot = about->grab().toImage();
            frame = about->geometry();
            version = static_cast<TAboutForm*>(about)->VersionLine();
            dictionaryLine = about->findChild<QLabel*>(QStringLiteral("DictionaryLabel"))->text();
        });
        f.window->About1->trigger();
        QCOMPARE(answer.seen, QStringList{QStringLiteral("kelvara::TAboutForm")});
        QCOMPARE(shot.pixelColor(3, 3), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(shot.width() - 3, shot.height() / 2), QColor(Qt::black));
        int white = 0;
        for (int i = 0; i < shot.width() * shot.height(); ++i) {
            white += shot.pixelColor(i % shot.width(), i / shot.width()) == QColor(Qt::white) ? 1 : 0;
        }
        QVERIFY(white > 50);
        const QPoint offset = frame.center() - f.window->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.manhattanLength())));
        QVERIFY(version.startsWith(QStringLiteral("KVR V2.2 ")));
        // It names the dictionary in use, here the one beside the program.
        QCOMPARE(dictionaryLine, QStringLiteral("KVR.ini: ") + f.Path(QStringLiteral("KVR.ini")));
    }

    // A menu bar too narrow for its menus draws the style's own overflow icon; other icons
    // pass through unchanged.
    void overflowIconComesFromTheStyle() {
        const QString styleName = QApplication::style()->name();
        QApplication::setStyle(new DeferredStyleIcons(QStyleFactory::create(styleName)));
        const std::unique_ptr<QStyle> plain(QStyleFactory::create(styleName));
        const auto image = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
        for (const QStyle::StandardPixmap which :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
              QStyle::SP_MessageBoxWarning}) {
            const QIcon icon = QApplication::style()->standardIcon(which);
            QVERIFY(!image(icon).isNull());
            QCOMPARE(image(icon), image(plain->standardIcon(which)));
        }
        {
            QMainWindow window;
            for (const char* title : {"File", "Edit", "Find", "Options", "Help"}) {
                window.menuBar()->addMenu(QString::fromLatin1(title));
            }
            window.resize(90, 120);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const auto* overflow = window.menuBar()->findChild<QToolButton*>();
            QVERIFY(overflow);
            QTRY_VERIFY(overflow->isVisible());
            QCOMPARE(image(overflow->icon()),
                     image(plain->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)));
            QVERIFY(!window.grab().isNull());
        }
        QApplication::setStyle(QStyleFactory::create(styleName));
    }
};

QTEST_MAIN(MainBrowserTest)
#include "MainBrowserTest.moc"
