// Library mode on a simulator folder built by the test: the scan at start, the three lists,
// the information strip, the record page and back, the configuration dialog, a Prepar3D folder
// in a Wine prefix with an add-on package, and the first start's welcome.
#include "ConfigDialog.h"
#include "LibraryFixture.h"
#include "ScanProgressDialog.h"
#include "SelectionPage.h"
#include "UiFixture.h"
#include "WelcomeDialog.h"

#include <QColorDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <memory>

using namespace kelvara;
using namespace kelvara::test;

class LibraryModeTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

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
};

QTEST_MAIN(LibraryModeTest)
#include "LibraryModeTest.moc"
