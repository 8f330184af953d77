// The main window's start, language, keyboard, opening, saving and closing roads. Library mode
// on a simulator folder built by the test: the scan at start, the three lists, the information
// strip, the record page and back with the save question, the configuration dialog; a
// Prepar3D folder in a Wine prefix with an add-on package.
#include "AboutDialog.h"
#include "ApplicationSetup.h"
#include "ChangeTracker.h"
#include "ConfigDialog.h"
#include "DeferredStyleIcons.h"
#include "FindDialog.h"
#include "HistoryCommands.h"
#include "QtUserPrompts.h"
#include "RecordCommands.h"
#include "SaveChecksDialog.h"
#include "ScanProgressDialog.h"
#include "SelectionPage.h"
#include "TablePanel.h"
#include "TempFolder.h"
#include "UiFixture.h"
#include "WelcomeDialog.h"

#include <QCheckBox>
#include <QColorDialog>
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
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
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

const QString kTrainerFolder = QStringLiteral("FSX/SimObjects/Airplanes/Trainer/");

// Trainer: two liveries sharing one .air file, the blue one with a thumbnail that is no JPEG.
// Glider: no manufacturer. Broken: its .air file is missing.
void BuildSimulator(UiFixture& f) {
    for (const char* folder : {"Trainer/texture.Red", "Trainer/texture.Blue", "Glider", "Broken"}) {
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("FSX/SimObjects/Airplanes/") + QLatin1String(folder)));
    }
    f.WriteFile(kTrainerFolder + QStringLiteral("aircraft.cfg"),
                "[fltsim.0]\r\ntitle=Trainer\r\nsim=Trainer\r\ntexture=Red\r\nui_manufacturer=Acme\r\n"
                "ui_variation=Red\r\n[fltsim.1]\r\ntitle=Trainer\r\nsim=trainer\r\ntexture=Blue\r\n"
                "ui_manufacturer=Acme\r\nui_variation=Blue\r\n");
    f.WriteFile(kTrainerFolder + QStringLiteral("Trainer.air"), AirBytes(StandardRecords()));
    QImage red(64, 32, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(f.Path(kTrainerFolder + QStringLiteral("texture.Red/thumbnail.jpg")), "JPG"));
    f.WriteFile(kTrainerFolder + QStringLiteral("texture.Blue/Thumbnail.jpg"), "not a picture");
    f.WriteFile(QStringLiteral("FSX/SimObjects/Airplanes/Glider/Aircraft.cfg"),
                "[fltsim.0]\ntitle=Glider\nsim=Glider\n");
    f.WriteFile(QStringLiteral("FSX/SimObjects/Airplanes/Glider/Glider.air"), AirBytes(StandardRecords()));
    f.WriteFile(QStringLiteral("FSX/SimObjects/Airplanes/Broken/aircraft.cfg"),
                "[fltsim.0]\ntitle=Broken\nsim=missing\nui_manufacturer=Zeta\n");
}

void StartLibrary(UiFixture& f, const QByteArray& cfg = {}) {
    BuildSimulator(f);
    f.Start("showaircraft = 1\r\nfspath = " + QFile::encodeName(f.Path(QStringLiteral("FSX"))) +
                "\r\n" + cfg,
            {}, false);
}

QStringList Latin(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromLatin1(text);
    }
    return list;
}

void ClickRow(QListWidget* list, int row, bool twice = false) {
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    }
}

void ClickTab(UiFixture& f, int tab) {
    QTabBar* bar = f.window->TabControl();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

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

    void browseCompareAndConfigure() {
        UiFixture f;
        StartLibrary(f, "delimiter = 7\r\n");
        SelectionPage& page = *f.window->Selection();
        QCOMPARE(ListTexts(page.Alist), Latin({"Broken - ", "Glider - ", "Trainer - Blue", "Trainer - Red"}));
        QCOMPARE(ListTexts(page.lbManufacturer), Latin({" ", "Acme", "Zeta"}));
        QCOMPARE(page.lbManufacturer->currentItem()->text(), QStringLiteral("Zeta"));
        QCOMPARE(ListTexts(page.lbMaircraft), QStringList{QStringLiteral("Broken")});
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Broken - [*] \u2014 Kelvara"));
        QVERIFY(page.isVisible() && !f.window->LoadAircraft1->isVisible() && !f.window->ImageCounter()->isVisible());
        QCOMPARE(f.window->ImageCounter()->windowTitle(), QStringLiteral("Scanning aircraft folders"));
        QVERIFY(f.prompts.shown.empty() && QApplication::overrideCursor() == nullptr);

        // A variation whose .air file is missing keeps the selection page.
        ClickRow(page.Alist, 0, true);
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(f.prompts.shown[0].caption, std::string("Warning"));
        QVERIFY(f.prompts.shown[0].text.starts_with("could not open .air file"));
        QVERIFY(f.window->TabControl()->currentIndex() == 0 && page.isVisible());

        // A click shows the details; both lines of one .air file get the round mark; a thumbnail
        // that is no JPEG is hidden and named in the status bar, and the rest of the click happens.
        ClickRow(page.Alist, 3);
        QCOMPARE(page.valueLabels[0]->text(), QStringLiteral("<FSX>/SimObjects/Airplanes/Trainer"));
        QCOMPARE(page.valueLabels[3]->text(), QStringLiteral("Red"));
        QCOMPARE(page.valueLabels[5]->text(), f.Path(kTrainerFolder + QStringLiteral("Trainer.air")));
        QVERIFY(page.Image1->isVisible());
        QCOMPARE(page.lbManufacturer->currentItem()->text(), QStringLiteral("Acme"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Trainer - Red[*] \u2014 Kelvara"));

        const QImage shot = page.Alist->viewport()->grab().toImage();
        for (int row = 0; row < 4; ++row) {
            const QRect rect = page.Alist->visualItemRect(page.Alist->item(row));
            const QColor mark = shot.pixelColor(rect.left() + 5, rect.top() + rect.height() / 2);
            QCOMPARE(mark == QColor(Qt::black), row >= 2);
        }

        QTest::keyClick(page.Alist, Qt::Key_Up); // the keyboard selects as a click does
        QCOMPARE(page.valueLabels[3]->text(), QStringLiteral("Blue"));
        QVERIFY(!page.Image1->isVisible());
        QVERIFY2(f.window->statusBar()->currentMessage().contains(QStringLiteral("is not a JPEG picture")),
                 qPrintable(f.window->statusBar()->currentMessage()));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Trainer - Blue[*] \u2014 Kelvara"));

        // The empty manufacturer is listed as " " and lists its aircraft.
        ClickRow(page.lbManufacturer, 0);
        QCOMPARE(ListTexts(page.lbMaircraft), QStringList{QStringLiteral("Glider")});
        ClickRow(page.lbMaircraft, 0);
        QCOMPARE(page.Alist->currentRow(), 1);
        QCOMPARE(page.valueLabels[1]->text(), QStringLiteral("Glider"));
        QCOMPARE(f.window->statusBar()->currentMessage(), QString()); // the thumbnail's message went with it

        // A variation opened from the list can be marked and compared with the one shown next.
        ClickRow(page.Alist, 3, true);
        QVERIFY(f.window->MarkforCompare1->isVisible() && f.window->Compare1->isVisible() &&
                !f.window->CompareWithFile1->isVisible());
        f.window->MarkforCompare1->trigger();
        QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Marked for Compare: Trainer - Red"));
        ClickTab(f, 0); // and open a variation again: now it can be compared
        ClickRow(page.Alist, 3, true);
        QVERIFY(f.window->Compare1->isEnabled());
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.window->Compare1->trigger(); // both variations fly the same file, as it is on disk
        QVERIFY(f.Page().CompareMemo->isVisible() &&
                f.Page().CompareMemo->toPlainText().contains(QStringLiteral("0100 Int value: 7 -> 5")));

        // Delimiter 7 shows "comma" and is stored as 1; a deleted row stays deleted after "New
        // Searchpath"; colours offer the panel colours.
        ModalAnswerer enter(Qt::Key_Return, [&](QWidget* modal) {
            auto& d = *qobject_cast<ConfigDialog*>(modal);
            QVERIFY(d.rbDcomma->isChecked());
            QCOMPARE(d.SearchFolders->count(), 1); // SimObjects/Airplanes, found at the scan
            d.SearchFolders->setCurrentRow(0);
            f.prompts.answers = {true};
            QTest::mouseClick(d.Button4, Qt::LeftButton);
            QCOMPARE(f.prompts.shown.back().text, std::string("Delete marked Searchpath?"));
            QCOMPARE(d.SearchFolders->count(), 0);
            d.pickFolder = [&](QWidget*, const QString&) { return f.Path(QStringLiteral("Extra")); };
            QTest::mouseClick(d.bNewsearchfolder, Qt::LeftButton);
            QCOMPARE(ListTexts(d.SearchFolders), QStringList{f.Path(QStringLiteral("Extra"))});
            d.SearchFolders->item(0)->setCheckState(Qt::Unchecked);
            d.pickColor = [](QWidget*, const QColor&) { return std::optional<QColor>(QColor(255, 0, 0)); };
            QTest::mouseClick(d.colourPanels[1], Qt::LeftButton);
            d.pickColor = [](QWidget*, const QColor&) { return std::optional<QColor>(); };
            QTest::mouseClick(d.colourPanels[0], Qt::LeftButton);
            QCOMPARE(QColorDialog::customColor(1), QColor(255, 0, 0)); // changed in this visit
            QCOMPARE(QColorDialog::customColor(2), QColor(255, 255, 0));
        });
        f.window->Config1->trigger();
        QCOMPARE(enter.seen.size(), 1);
        QCOMPARE(f.CfgValue("delimiter"), QStringLiteral("1"));
        QCOMPARE(f.CfgValue("color2"), QStringLiteral("255"));
        QCOMPARE(f.CfgValue("searchpath"), f.Path(QStringLiteral("Extra")));
        QCOMPARE(f.CfgValue("searchpathactive"), QStringLiteral("0"));
        QCOMPARE(f.prompts.shown.back().kind, std::string("ask")); // and no restart notice
    }

    void addOnAircraftNameTheirPackage() {
        UiFixture f;
        const QString p3d = QStringLiteral("pfx/drive_c/Program Files/Lockheed Martin/Prepar3D v5/");
        const QString pack = QStringLiteral("pfx/drive_c/users/steamuser/Documents/Prepar3D v5 Add-ons/Pack/");
        for (const QString& folder : {p3d + QStringLiteral("SimObjects/Airplanes/Own"), pack + QStringLiteral("SimObjects/Airplanes/Addon")}) {
            QVERIFY(QDir(f.dir.path()).mkpath(folder));
        }
        f.WriteFile(p3d + QStringLiteral("SimObjects/Airplanes/Own/aircraft.cfg"), "[fltsim.0]\ntitle=Own\nsim=Own\n");
        f.WriteFile(p3d + QStringLiteral("SimObjects/Airplanes/Own/Own.air"), AirBytes(StandardRecords()));
        f.WriteFile(pack + QStringLiteral("add-on.xml"),
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SimBase.Document Type=\"AddOnXml\" version=\"4,0\" "
                    "id=\"add-on\">\n<AddOn.Name>Caf\xc3\xa9 Pack</AddOn.Name>\n<AddOn.Component>"
                    "<Category>SimObjects</Category><Path>SimObjects\\Airplanes</Path></AddOn.Component>\n"
                    "</SimBase.Document>\n");
        f.WriteFile(pack + QStringLiteral("SimObjects/Airplanes/Addon/aircraft.cfg"),
                    "[fltsim.0]\ntitle=Addon\nsim=Addon\n");
        f.WriteFile(pack + QStringLiteral("SimObjects/Airplanes/Addon/Addon.air"), AirBytes(StandardRecords()));
        f.Start("showaircraft = 1\r\nfspath = " + QFile::encodeName(f.Path(p3d)) + "\r\n", {}, false);
        SelectionPage& page = *f.window->Selection();
        QCOMPARE(ListTexts(page.Alist), Latin({"Addon - ", "Own - "}));
        ClickRow(page.Alist, 1);
        QCOMPARE(page.lPackage->text(), QString());
        QVERIFY(!page.findChild<QLabel*>(QStringLiteral("la7"))->isVisible());
        ClickRow(page.Alist, 0);
        QCOMPARE(page.lPackage->text(), QStringLiteral("Café Pack"));
        QVERIFY(page.findChild<QLabel*>(QStringLiteral("la7"))->isVisible());
        QCOMPARE(page.valueLabels[5]->text(), f.Path(pack + QStringLiteral("SimObjects/Airplanes/Addon/Addon.air")));
        QVERIFY(f.prompts.shown.empty());
    }

    // The configuration dialog edits a copy: Escape, and Cancel after "New Searchpath", keep
    // kvr.cfg and the next dialog as they were; a cancelled folder picker changes no row. OK
    // with a new simulator folder keeps the user's own path and reads the library at once;
    // an empty result says why.
    void configurationEditsACopyAndRescans() {
        UiFixture f;
        StartLibrary(f);
        const QString airplanes = f.Path(QStringLiteral("FSX/SimObjects/Airplanes"));
        for (const char* folder : {"Extra/Own", "Extra/Long", "FSX2/SimObjects/Airplanes/Jet"}) {
            QVERIFY(QDir(f.dir.path()).mkpath(QLatin1String(folder)));
        }
        f.WriteFile(QStringLiteral("Extra/Own/aircraft.cfg"), "[fltsim.0]\ntitle=Own\nsim=Own\n");
        f.WriteFile(QStringLiteral("FSX2/SimObjects/Airplanes/Jet/aircraft.cfg"), "[fltsim.0]\ntitle=Jet\nsim=Jet\n");
        // A 3 MB title is shown cut short.
        f.WriteFile(QStringLiteral("Extra/Long/aircraft.cfg"),
                    "[fltsim.0]\ntitle=" + QByteArray(3 << 20, 'L') + "\nsim=Long\n");
        const QByteArray before = f.ReadFile(QStringLiteral("kvr.cfg"));
        const auto dialog = [&](Qt::Key key, const std::function<void(ConfigDialog&)>& work) {
            ModalAnswerer answer(key, [&](QWidget* modal) { work(*qobject_cast<ConfigDialog*>(modal)); });
            f.window->Config1->trigger();
            QCOMPARE(answer.seen, QStringList{QStringLiteral("kelvara::ConfigDialog")});
        };
        dialog(Qt::Key_Escape, [&](ConfigDialog& d) {
            d.pickFolder = [&](QWidget*, const QString&) { return f.Path(QStringLiteral("Extra")); };
            QTest::mouseClick(d.bNewsearchfolder, Qt::LeftButton);
            QCOMPARE(ListTexts(d.SearchFolders), (QStringList{airplanes, f.Path(QStringLiteral("Extra"))}));
        });
        dialog(Qt::Key_Escape, [&](ConfigDialog& d) {
            QCOMPARE(ListTexts(d.SearchFolders), QStringList{airplanes});
            d.SearchFolders->item(0)->setCheckState(Qt::Unchecked);
            d.pickFolder = [](QWidget*, const QString&) { return QString(); };
            QTest::mouseClick(d.bNewsearchfolder, Qt::LeftButton);
            QCOMPARE(ListTexts(d.SearchFolders), QStringList{airplanes});
            QCOMPARE(d.SearchFolders->item(0)->checkState(), Qt::Unchecked);
            QTest::mouseClick(d.Button2, Qt::LeftButton);
        });
        QCOMPARE(f.ReadFile(QStringLiteral("kvr.cfg")), before);
        QCOMPARE(f.window->Selection()->Alist->count(), 4);

        dialog(Qt::Key_Return, [&](ConfigDialog& d) {
            d.pickFolder = [&](QWidget*, const QString&) { return f.Path(QStringLiteral("Extra")); };
            QTest::mouseClick(d.bNewsearchfolder, Qt::LeftButton);
            d.FSLocation->setText(f.Path(QStringLiteral("FSX2")));
            d.FSLocation->setFocus();
        });
        QVERIFY(f.prompts.shown.empty()); // no restart notice
        QCOMPARE(ListTexts(f.window->Selection()->Alist),
                 (QStringList{QStringLiteral("Jet - "), QString(256, u'L') + QChar(0x2026), QStringLiteral("Own - ")}));
        QCOMPARE(f.CfgValue("searchpath"),
                 f.Path(QStringLiteral("Extra")) + u'|' + f.Path(QStringLiteral("FSX2/SimObjects/Airplanes")));
        QVERIFY(!f.window->Selection()->EmptyNote->isVisible());

        dialog(Qt::Key_Return, [&](ConfigDialog& d) {
            d.SearchFolders->item(0)->setCheckState(Qt::Unchecked);
            d.SearchFolders->item(1)->setCheckState(Qt::Unchecked);
            d.FSLocation->setText(f.Path(QStringLiteral("Missing")));
            d.FSLocation->setFocus();
        });
        QCOMPARE(f.window->Selection()->Alist->count(), 0);
        const QString note = f.window->Selection()->EmptyNote->text();
        QVERIFY(f.window->Selection()->EmptyNote->isVisible());
        QVERIFY2(note.contains(QStringLiteral("The simulator folder ") + f.Path(QStringLiteral("Missing")) +
                               QStringLiteral(" does not exist")) &&
                     note.contains(QStringLiteral("Folders searched: ") + f.Path(QStringLiteral("Missing"))),
                 qPrintable(note));
        dialog(Qt::Key_Escape, [&](ConfigDialog& d) { QCOMPARE(d.ScanNote->text(), note); });
    }

    // A save that fails on the way back to the selection keeps the record page and the edit.
    void failedSaveStays() {
        UiFixture f;
        StartLibrary(f);
        ClickRow(f.window->Selection()->Alist, 3, true);
        f.TypeNumber(0x0100, QStringLiteral("7"));
        const QString air = kTrainerFolder + QStringLiteral("Trainer.air");
        const QByteArray original = f.ReadFile(air);
        QVERIFY(QDir(f.dir.path()).mkpath(kTrainerFolder + QStringLiteral("Trainer.kvr.air")));
        f.prompts.leaveAnswers = {LeaveAnswer::Save};
        ClickTab(f, 0);
        QCOMPARE(f.prompts.shown.front().kind, std::string("leave"));
        QCOMPARE(f.prompts.shown.back().kind, std::string("error"));
        QVERIFY(f.window->TabControl()->currentIndex() == 1 && f.Page().isVisible() && f.window->Changes().IsChanged());
        QCOMPARE(f.Node(0x0100)->record.data, Le16(7));
        QCOMPARE(f.ReadFile(air), original);
        f.window->Changes().SetChanged(false);
    }

    // A scan that finds nothing opens the dialog; a confirmed folder is scanned again.
    void emptyScanAsksForTheFolder() {
        UiFixture f;
        BuildSimulator(f);
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("Empty")));
        ModalAnswerer confirm(Qt::Key_Return, [&](QWidget* modal) {
            qobject_cast<ConfigDialog*>(modal)->FSLocation->setText(f.Path(QStringLiteral("FSX")));
        });
        f.Start("showaircraft = 1\r\nfspath = " + QFile::encodeName(f.Path(QStringLiteral("Empty"))) + "\r\n",
                {}, false);
        QCOMPARE(confirm.seen, QStringList{QStringLiteral("kelvara::ConfigDialog")});
        QCOMPARE(f.window->Selection()->Alist->count(), 4);
        QCOMPARE(f.CfgValue("fspath"), f.Path(QStringLiteral("FSX")));
    }

    // A first start with no simulator anywhere: the welcome names the places searched; the
    // sample aircraft are copied to a writable folder, listed from there, and saved there.
    void firstStartWelcomeUsesTheSamples() {
        UiFixture f;
        BuildSimulator(f);
        QDir root(f.dir.path());
        QVERIFY(root.mkpath(QStringLiteral("share/kelvara/samples")) && root.mkpath(QStringLiteral("bin")));
        QVERIFY(root.rename(QStringLiteral("FSX"), QStringLiteral("share/kelvara/samples/FSX")));
        f.WriteFile(QStringLiteral("bin/KVR.ini"), f.dictionary);
        f.WriteFile(QStringLiteral("bin/kvr.cfg"), "showaircraft = 1\r\n");
        const std::string home = f.Folder() + "/home";
        const test::ScopedEnv homeEnv("HOME", home), wine("WINEPREFIX", std::nullopt),
            data("XDG_DATA_HOME", f.Folder() + "/data");
        QStringList searched;
        ModalAnswerer answer(Qt::Key_Escape, [&](QWidget* modal) {
            if (auto* welcome = qobject_cast<WelcomeDialog*>(modal)) {
                searched = welcome->Searched->toPlainText().split(u'\n');
                QTest::mouseClick(welcome->bSamples, Qt::LeftButton);
            }
        });
        f.settings = std::make_unique<Settings>();
        f.settings->Load(f.Folder() + "/bin");
        f.window = std::make_unique<MainWindow>(*f.settings, f.prompts, QStringList());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(answer.seen, QStringList{QStringLiteral("kelvara::WelcomeDialog")});
        QVERIFY(searched.contains(QString::fromStdString(home) +
                                  QStringLiteral("/.wine/drive_c/Program Files (x86)/Microsoft Games/"
                                                 "Microsoft Flight Simulator X")));
        QVERIFY(searched.contains(QString::fromStdString(home) + QStringLiteral("/.steam/steam/steamapps/common/FSX")));

        const QString copy = f.Path(QStringLiteral("data/kelvara/samples/FSX"));
        QCOMPARE(QString::fromStdString(f.settings->fspath), copy);
        QCOMPARE(f.window->Selection()->Alist->count(), 4);
        ClickRow(f.window->Selection()->Alist, 3, true);
        QCOMPARE(f.window->StandalonePath(),
                 (copy + QStringLiteral("/SimObjects/Airplanes/Trainer/Trainer.air")).toStdString());
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.window->SaveAircraft1->trigger();
        QCOMPARE(f.prompts.shown.back().text, std::string("Save complete"));
        QVERIFY(f.ReadFile(QStringLiteral("data/kelvara/samples/FSX/SimObjects/Airplanes/Trainer/Trainer.air")) !=
                f.ReadFile(QStringLiteral("share/kelvara/samples/FSX/SimObjects/Airplanes/Trainer/Trainer.air")));
        QCOMPARE(f.ReadFile(QStringLiteral("share/kelvara/samples/FSX/SimObjects/Airplanes/Trainer/Trainer.air")),
                 AirBytes(StandardRecords()));
    }

    // Two simulators found at a first start: the welcome lists both, the first marked; Down
    // and Enter take the second, which is saved and listed.
    void firstStartPicksOneOfTwoSimulators() {
        UiFixture f;
        BuildSimulator(f);
        QDir root(f.dir.path());
        const QString fsx = QStringLiteral("home/.wine/drive_c/Programme/Microsoft Games/Microsoft Flight Simulator X");
        const QString p3d = QStringLiteral("pfx/drive_c/Program Files/Lockheed Martin/Prepar3D v5");
        QVERIFY(root.mkpath(QStringLiteral("home/.wine/drive_c/Programme/Microsoft Games")));
        QVERIFY(root.rename(QStringLiteral("FSX"), fsx));
        QVERIFY(root.mkpath(p3d + QStringLiteral("/SimObjects/Airplanes/Racer")));
        f.WriteFile(p3d + QStringLiteral("/SimObjects/Airplanes/Racer/aircraft.cfg"), "[fltsim.0]\ntitle=Racer\nsim=Racer\n");
        f.WriteFile(p3d + QStringLiteral("/SimObjects/Airplanes/Racer/Racer.air"), AirBytes(StandardRecords()));
        f.WriteFile(QStringLiteral("KVR.ini"), f.dictionary);
        f.WriteFile(QStringLiteral("kvr.cfg"), "showaircraft = 1\r\n");
        const test::ScopedEnv homeEnv("HOME", f.Folder() + "/home"), wine("WINEPREFIX", f.Folder() + "/pfx"),
            data("XDG_DATA_HOME", f.Folder() + "/data");
        {
            QStringList listed;
            int marked = -1;
            bool focused = false;
            ModalAnswerer answer(Qt::Key_Return, [&](QWidget* modal) {
                if (auto* welcome = qobject_cast<WelcomeDialog*>(modal)) {
                    QVERIFY(welcome->Found != nullptr && welcome->Searched == nullptr);
                    listed = ListTexts(welcome->Found);
                    marked = welcome->Found->currentRow();
                    focused = welcome->focusWidget() == welcome->Found;
                    QTest::keyClick(welcome->Found, Qt::Key_Down);
                }
            });
            f.settings = std::make_unique<Settings>();
            f.settings->Load(f.Folder());
            f.window = std::make_unique<MainWindow>(*f.settings, f.prompts, QStringList());
            f.window->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
            QCOMPARE(answer.seen, QStringList{QStringLiteral("kelvara::WelcomeDialog")});
            QCOMPARE(listed, (QStringList{QStringLiteral("FSX  \u2014  ") + f.Path(fsx),
                                          QStringLiteral("Prepar3D v5  \u2014  ") + f.Path(p3d)}));
            QCOMPARE(marked, 0);
            QVERIFY(focused);
            QCOMPARE(f.CfgValue("fspath"), f.Path(p3d));
            QCOMPARE(ListTexts(f.window->Selection()->Alist), QStringList{QStringLiteral("Racer - ")});
        }
        f.window->close();

        // Escape quits after saying so, and nothing is written, not even the window's place.
        f.WriteFile(QStringLiteral("kvr.cfg"), "showaircraft = 1\r\n");
        ModalAnswerer quit(Qt::Key_Escape);
        f.settings = std::make_unique<Settings>();
        f.settings->Load(f.Folder());
        f.window = std::make_unique<MainWindow>(*f.settings, f.prompts, QStringList());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(quit.seen, QStringList{QStringLiteral("kelvara::WelcomeDialog")});
        QVERIFY(f.prompts.shown.back().text.starts_with("Kelvara quits now"));
        f.window->close();
        QCOMPARE(f.ReadFile(QStringLiteral("kvr.cfg")), QByteArray("showaircraft = 1\r\n"));
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
