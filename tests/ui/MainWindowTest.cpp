// The main window's start, language, keyboard, opening, saving and closing roads in file mode,
// and the save question on leaving a file of the library.
#include "AboutDialog.h"
#include "ApplicationSetup.h"
#include "ChangeTracker.h"
#include "DeferredStyleIcons.h"
#include "FindDialog.h"
#include "HistoryCommands.h"
#include "LibraryFixture.h"
#include "QtUserPrompts.h"
#include "RecordCommands.h"
#include "SelectionPage.h"
#include "TablePanel.h"
#include "UiFixture.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTabBar>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>

#include <memory>

using namespace kelvara;
using namespace kelvara::test;

namespace {

// Notes whether the main window was on screen when a message about the start file came.
struct ExposureNotingPrompts : ScriptedPrompts {
    void Error(const std::string& caption, const std::string& text) override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<MainWindow*>(w)) {
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
    const char *cfg, *file, *load, *xlock, *find, *cancel, *length, *range, *openCaption, *openText, *yes, *save;
};

} // namespace

Q_DECLARE_METATYPE(LanguageCase)

class MainWindowTest : public QObject {
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
        MainWindow& w = *f.window;
        QVERIFY(!w.LibraryMode() && !w.TabControl()->isVisible());
        const bool missing = argument == QStringLiteral("missing.air");
        QCOMPARE(w.Tree().RootCount(), size_t(missing ? 0 : 9));
        QVERIFY(w.LoadAircraft1->isVisible() && f.Page().isVisible() && !w.Changes().IsChanged());
        // A start file that cannot be opened is reported over the shown window.
        QCOMPARE(prompts.exposed, missing ? std::vector<bool>{true} : std::vector<bool>{});
        // Absolute even when given relative, so that they outlive a change of folder.
        QCOMPARE(w.windowTitle(), missing ? QStringLiteral("Kelvara[*]")
                                          : f.Path(QStringLiteral("plane.air")) + QStringLiteral("[*] \u2014 Kelvara"));
        if (!missing) {
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
                                           "&Ja", "Änderungen vorhanden: Wollen Sie speichern?"};
        QTest::newRow("E") << LanguageCase{"language = E\r\n", "File", "Load Aircraft", "lock X",
                                           "Find Text", "Cancel", "Length = 2", "values between -32768 and 32767 only",
                                           "Warning", "could not open .air file", "&Yes",
                                           "Changes made: Save airfile?"};
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
        FindDialog& find = f.window->Commands().SearchDialog();
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
        QVERIFY(!f.window->close()); // the script cancels
        QCOMPARE(Last(f), QString::fromUtf8(c.save) + u'\n' + f.Path(QStringLiteral("plane.air")));
    }

    // Every road that leaves unsaved edits asks Save, Discard or Cancel, naming the file. Escape
    // and the question's close button cancel: nothing is written and the edits stay.
    void leaveQuestion_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("answer");
        for (const char* road : {"close", "Exit", "Load Aircraft", "Selection tab"}) {
            for (const char* answer : {"Escape", "close button", "Enter", "Discard"}) {
                QTest::addRow("%s on %s", answer, road) << QString::fromLatin1(road) << QString::fromLatin1(answer);
            }
        }
    }
    void leaveQuestion() {
        QFETCH(QString, road);
        QFETCH(QString, answer);
        UiFixture f;
        QtUserPrompts boxes;
        f.usePrompts = &boxes;
        const bool library = road == QStringLiteral("Selection tab");
        if (library) {
            StartLibrary(f);
            ClickRow(f.window->Selection()->Alist, 3, true);
        } else {
            f.Start();
        }
        boxes.SetParent(f.window.get());
        const QString air = library ? kTrainerFolder + QStringLiteral("Trainer.air") : QStringLiteral("plane.air");
        const QString backup = QString(air).replace(QStringLiteral(".air"), QStringLiteral(".kvr1.air"));
        const QByteArray original = f.ReadFile(air);
        f.WriteFile(QStringLiteral("other.air"), AirBytes({{0x0100, Le16(9)}}));
        f.TypeNumber(0x0100, QStringLiteral("7"));
        QVERIFY(f.window->isWindowModified());

        const bool cancel = answer == QStringLiteral("Escape") || answer == QStringLiteral("close button");
        {
            ModalAnswerer respond(answer == QStringLiteral("Escape") ? Qt::Key_Escape : Qt::Key_Return,
                                  [&](QWidget* modal) {
                if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                    files->selectFile(f.Path(QStringLiteral("other.air")));
                    static_cast<QDialog*>(files)->accept();
                }
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (box && box->icon() == QMessageBox::Question) {
                    QCOMPARE(box->defaultButton(), box->button(QMessageBox::Save));
                    if (answer == QStringLiteral("close button")) {
                        box->close();
                    } else if (answer == QStringLiteral("Discard")) {
                        QTest::mouseClick(box->button(QMessageBox::Discard), Qt::LeftButton);
                    }
                }
            });
            if (road == QStringLiteral("close")) {
                f.window->close();
            } else if (road == QStringLiteral("Exit")) {
                f.window->Exit1->trigger();
            } else if (road == QStringLiteral("Load Aircraft")) {
                f.window->LoadAircraft1->trigger();
            } else {
                ClickTab(f, 0);
            }
            const QString question = QStringLiteral("Changes made: Save airfile?\n") + f.Path(air);
            QStringList expected{question};
            if (road == QStringLiteral("Load Aircraft")) {
                expected.prepend(QStringLiteral("QFileDialog"));
            }
            if (answer == QStringLiteral("Enter")) {
                expected << QStringLiteral("Save complete");
            }
            QCOMPARE(respond.seen, expected);
        }
        const bool leaves = road == QStringLiteral("close") || road == QStringLiteral("Exit");
        QCOMPARE(f.window->isVisible(), cancel || !leaves);
        QCOMPARE(QFile::exists(f.Path(backup)), answer == QStringLiteral("Enter"));
        QCOMPARE(f.ReadFile(air) == original, answer != QStringLiteral("Enter"));
        if (cancel) {
            QCOMPARE(f.Node(0x0100)->record.data, Le16(7));
            QVERIFY(f.window->Changes().IsChanged() && f.window->isWindowModified());
            if (library) {
                QVERIFY(f.window->TabControl()->currentIndex() == 1 && f.Page().isVisible());
            }
            return;
        }
        if (leaves) {
            return; // the window is gone, and with it the edits
        }
        QVERIFY(!f.window->Changes().IsChanged() && !f.window->isWindowModified());
        if (road == QStringLiteral("Load Aircraft")) {
            QCOMPARE(f.Node(0x0100)->record.data, Le16(9));
        }
        if (library) {
            QVERIFY(f.window->Selection()->isVisible() && !f.window->ASCIIExport1->isEnabled());
            // The record page reads the file afresh.
            QTest::keyClick(f.window->Selection()->Alist, Qt::Key_Return);
            QCOMPARE(f.window->TabControl()->currentIndex(), 1);
            QCOMPARE(f.Node(0x0100)->record.data, Le16(answer == QStringLiteral("Enter") ? 7 : 5));
        }
    }

    void closeStoresTheLayoutAndDropsTheChangesOnDiscard() {
        UiFixture f;
        f.Start("windowleft = 30\r\nwindowtop = 40\r\nwindowwidth = 900\r\nwindowheight = "
                "650\r\nsplitter1 = 300\r\n");
        QCOMPARE(f.window->geometry(), QRect(30, 40, 900, 650));
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.prompts.leaveAnswers = {LeaveAnswer::Discard};
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
        f.Select(0x0100); // Tab from the tree reaches the value before the help text
        f.Page().TV->setFocus();
        QTest::keyClick(f.Page().TV, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.Page().eNumber);

        const QByteArray original = f.ReadFile(QStringLiteral("plane.air"));
        // The unsaved mark comes with an edit and goes when undo brings the saved state back.
        const QString caption = f.Path(QStringLiteral("plane.air")) + QStringLiteral("[*] \u2014 Kelvara");
        QCOMPARE(f.window->windowTitle(), caption);
        f.TypeNumber(0x0100, QStringLiteral("12"));
        QVERIFY(f.window->isWindowModified());
        f.window->History().Undo1->trigger();
        QCOMPARE(f.Node(0x0100)->record.data, Le16(5));
        QVERIFY(!f.window->isWindowModified());
        f.TypeNumber(0x0100, QStringLiteral("258"));
        QVERIFY(f.window->isWindowModified());
        {
            ModalAnswerer noFile(Qt::Key_Escape); // the question waits for a chosen file
            QTest::keyClick(f.Page().eNumber, Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(noFile.seen, QStringList{QStringLiteral("QFileDialog")});
        }
        QTest::keyClick(f.Page().eNumber, Qt::Key_Q, Qt::ControlModifier); // cancelled
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QVERIFY(f.window->isVisible());
        QTest::keyClick(f.Page().eNumber, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.prompts.shown.back(), (ShownMessage{"inform", "Info", "Save complete"}));
        QVERIFY(!f.window->Changes().IsChanged() && !f.window->isWindowModified());
        QCOMPARE(f.window->windowTitle(), caption);
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
            version = static_cast<AboutDialog*>(about)->VersionLine();
            dictionaryLine = about->findChild<QLabel*>(QStringLiteral("DictionaryLabel"))->text();
        });
        f.window->About1->trigger();
        QCOMPARE(answer.seen, QStringList{QStringLiteral("kelvara::AboutDialog")});
        QCOMPARE(shot.pixelColor(3, 3), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(shot.width() - 3, shot.height() / 2), QColor(Qt::black));
        int white = 0;
        for (int i = 0; i < shot.width() * shot.height(); ++i) {
            white += shot.pixelColor(i % shot.width(), i / shot.width()) == QColor(Qt::white) ? 1 : 0;
        }
        QVERIFY(white > 50);
        const QPoint offset = frame.center() - f.window->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.manhattanLength())));
        QCOMPARE(version, QStringLiteral("Kelvara V2.2")); // no web address: none is real
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

    // Save on a read-only file says so and offers Save As, which writes the new file with the
    // edit and leaves the original as it was; the new name is the file from then on.
    void saveAsFromAReadOnlyFile() {
        UiFixture f;
        f.Start();
        QFile::setPermissions(f.Path(QStringLiteral("plane.air")), QFile::ReadOwner);
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.window->pickSaveAsPath = [&](QWidget*, const QString& start) {
            return start == f.Path(QStringLiteral("plane.air")) ? f.Path(QStringLiteral("copy.air")) : QString();
        };
        f.prompts.answers = {true};
        f.window->SaveAircraft1->trigger();
        QCOMPARE(f.prompts.shown.front().kind, std::string("ask"));
        QVERIFY(f.prompts.shown.front().text.starts_with("The file was not saved: it is read-only.\n"));
        QCOMPARE(f.ReadFile(QStringLiteral("plane.air")), AirBytes(StandardRecords()));
        std::vector<TestRecord> edited = StandardRecords();
        edited[2].data = Le16(7);
        QCOMPARE(f.ReadFile(QStringLiteral("copy.air")), AirBytes(edited));
        QVERIFY(!f.window->Changes().IsChanged());
        QCOMPARE(f.window->StandalonePath(), f.Folder() + "/copy.air");
        QCOMPARE(f.window->windowTitle(), f.Path(QStringLiteral("copy.air")) + QStringLiteral("[*] \u2014 Kelvara"));
        // Ctrl+Shift+S is Save As; saving under an existing name keeps its old bytes as a backup.
        f.window->pickSaveAsPath = [&](QWidget*, const QString&) { return f.Path(QStringLiteral("other.air")); };
        f.WriteFile(QStringLiteral("other.air"), "old");
        f.Activate();
        QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.ReadFile(QStringLiteral("other.air")), AirBytes(edited));
        QCOMPARE(f.ReadFile(QStringLiteral("other.kvr1.air")), QByteArray("old"));
        QFile::setPermissions(f.Path(QStringLiteral("plane.air")), QFile::ReadOwner | QFile::WriteOwner);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
