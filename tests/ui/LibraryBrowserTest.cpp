// Library mode on a simulator folder built by the test: the scan at start, the three lists,
// the information strip, the record page and back with the save question, the configuration
// dialog.
#include "ChangeTracker.h"
#include "QtUserPrompts.h"
#include "SaveChecksDialog.h"
#include "SelectionPage.h"
#include "THosts_File.h"
#include "TImageCounter.h"
#include "UiFixture.h"

#include <QColorDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>

using namespace kelvara;
using namespace kelvara::test;

namespace {

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

class LibraryBrowserTest : public QObject {
    Q_OBJECT
  private slots:
    void browseCompareAndConfigure() {
        UiFixture f;
        StartLibrary(f, "delimiter = 7\r\n");
        SelectionPage& page = *f.window->Selection();
        QCOMPARE(ListTexts(page.Alist), Latin({"Broken - ", "Glider - ", "Trainer - Blue", "Trainer - Red"}));
        QCOMPARE(ListTexts(page.lbManufacturer), Latin({" ", "Acme", "Zeta"}));
        QCOMPARE(page.lbManufacturer->currentItem()->text(), QStringLiteral("Zeta"));
        QCOMPARE(ListTexts(page.lbMaircraft), QStringList{QStringLiteral("Broken")});
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvara V2.2   -   Broken - "));
        QVERIFY(page.isVisible() && !f.window->LoadAircraft1->isVisible());
        QVERIFY(!f.window->ImageCounter()->isVisible());
        QCOMPARE(f.window->ImageCounter()->windowTitle(), QStringLiteral("KVR - Scanning Aircraft Directory"));
        QVERIFY(f.prompts.shown.empty());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // A variation whose .air file is missing keeps the selection page.
        ClickRow(page.Alist, 0, true);
        QCOMPARE(f.prompts.shown.size(), size_t{1});
        QCOMPARE(f.prompts.shown[0].caption, std::string("Warning"));
        QVERIFY(f.prompts.shown[0].text.starts_with("could not open .air file"));
        QCOMPARE(f.window->TabControl()->currentIndex(), 0);
        QVERIFY(page.isVisible());

        // A click shows the details; both lines of one .air file get the round mark; a thumbnail
        // that is no JPEG is hidden and named in the status bar, and the rest of the click happens.
        ClickRow(page.Alist, 3);
        QCOMPARE(page.valueLabels[0]->text(), QStringLiteral("<FSX>/SimObjects/Airplanes/Trainer"));
        QCOMPARE(page.valueLabels[3]->text(), QStringLiteral("Red"));
        QCOMPARE(page.valueLabels[5]->text(), f.Path(kTrainerFolder + QStringLiteral("Trainer.air")));
        QVERIFY(page.Image1->isVisible());
        QCOMPARE(page.lbManufacturer->currentItem()->text(), QStringLiteral("Acme"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvara V2.2   -   Trainer - Red"));

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
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvara V2.2   -   Trainer - Blue"));

        // The empty manufacturer is listed as " " and lists its aircraft.
        ClickRow(page.lbManufacturer, 0);
        QCOMPARE(ListTexts(page.lbMaircraft), QStringList{QStringLiteral("Glider")});
        ClickRow(page.lbMaircraft, 0);
        QCOMPARE(page.Alist->currentRow(), 1);
        QCOMPARE(page.valueLabels[1]->text(), QStringLiteral("Glider"));

        // A variation opened from the list can be marked and compared with the one shown next.
        ClickRow(page.Alist, 3, true);
        QVERIFY(f.window->MarkforCompare1->isVisible() && f.window->Compare1->isVisible());
        QVERIFY(!f.window->CompareWithFile1->isVisible());
        f.window->MarkforCompare1->trigger();
        ClickTab(f, 0); // and open a variation again: now it can be compared
        ClickRow(page.Alist, 3, true);
        QVERIFY(f.window->Compare1->isEnabled());
        f.TypeNumber(0x0100, QStringLiteral("7"));
        f.window->Compare1->trigger(); // both variations fly the same file, as it is on disk
        QVERIFY(f.Page().CompareMemo->isVisible());
        QVERIFY(f.Page().CompareMemo->toPlainText().contains(QStringLiteral("0100 Int value: 7 -> 5")));

        // Delimiter 7 shows "comma" and is stored as 1; a deleted row comes back with "New
        // Searchpath"; colours offer the panel colours; Escape leaves kvr.cfg alone.
        const QByteArray before = f.ReadFile(QStringLiteral("kvr.cfg"));
        {
            ModalAnswerer escape(Qt::Key_Escape);
            f.window->Config1->trigger();
            QCOMPARE(escape.seen, QStringList{QStringLiteral("kelvara::THosts_File")});
        }
        QCOMPARE(f.ReadFile(QStringLiteral("kvr.cfg")), before);

        ModalAnswerer enter(Qt::Key_Return, [&](QWidget* modal) {
            auto& d = *qobject_cast<THosts_File*>(modal);
            QVERIFY(d.rbDcomma->isChecked());
            QCOMPARE(d.SearchFolders->count(), 1); // SimObjects/Airplanes, found at the scan
            d.SearchFolders->setCurrentRow(0);
            f.prompts.answers = {true};
            QTest::mouseClick(d.Button4, Qt::LeftButton);
            QCOMPARE(f.prompts.shown.back().text, std::string("Delete marked Searchpath?"));
            QCOMPARE(d.SearchFolders->count(), 0);
            d.pickFolder = [&](QWidget*, const QString&) { return f.Path(QStringLiteral("Extra")); };
            QTest::mouseClick(d.bNewsearchfolder, Qt::LeftButton);
            QCOMPARE(ListTexts(d.SearchFolders), (QStringList{f.Path(QStringLiteral("FSX/SimObjects/Airplanes")),
                                                          f.Path(QStringLiteral("Extra"))}));
            d.SearchFolders->item(1)->setCheckState(Qt::Unchecked);
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
        QCOMPARE(f.CfgValue("searchpath"),
                 f.Path(QStringLiteral("FSX/SimObjects/Airplanes")) + u'|' + f.Path(QStringLiteral("Extra")));
        QCOMPARE(f.CfgValue("searchpathactive"), QStringLiteral("1|0"));
        QVERIFY(f.prompts.shown.back().text != "you must restart KVR");
    }

    void backToSelection_data() {
        QTest::addColumn<int>("answer"); // 1 Yes, 0 No, -1 Yes with a save that fails
        QTest::newRow("yes saves with a backup") << 1;
        QTest::newRow("no drops the change") << 0;
        QTest::newRow("failed save keeps the change") << -1;
    }
    void backToSelection() {
        QFETCH(int, answer);
        UiFixture f;
        StartLibrary(f);
        SelectionPage& page = *f.window->Selection();
        ClickRow(page.Alist, 3, true);
        QCOMPARE(f.window->TabControl()->currentIndex(), 1);
        QVERIFY(f.Page().isVisible());
        QCOMPARE(f.window->Tree().RootCount(), size_t{9});
        f.TypeNumber(0x0100, QStringLiteral("7"));
        QVERIFY(f.window->Changes().IsChanged());
        const QString air = kTrainerFolder + QStringLiteral("Trainer.air");
        const QByteArray original = f.ReadFile(air);
        if (answer < 0) {
            QVERIFY(QDir(f.dir.path()).mkpath(kTrainerFolder + QStringLiteral("Trainer.kvr.air")));
        }

        f.prompts.answers = {answer != 0};
        ClickTab(f, 0);
        QCOMPARE(f.prompts.shown.front(), (ShownMessage{"ask", "", "Changes made: Save airfile?"}));
        if (answer < 0) {
            QCOMPARE(f.prompts.shown.back().kind, std::string("error"));
            QCOMPARE(f.window->TabControl()->currentIndex(), 1);
            QVERIFY(f.Page().isVisible());
            QCOMPARE(f.Node(0x0100)->record.data, Le16(7));
            QVERIFY(f.window->Changes().IsChanged());
            QCOMPARE(f.ReadFile(air), original);
            f.window->Changes().SetChanged(false);
            return;
        }
        QVERIFY(page.isVisible());
        QVERIFY(!f.window->Changes().IsChanged());
        QVERIFY(!f.window->ASCIIExport1->isEnabled());
        QCOMPARE(QFile::exists(f.Path(kTrainerFolder + QStringLiteral("Trainer.kvr1.air"))), answer == 1);
        QCOMPARE(f.ReadFile(air) == original, answer == 0);

        // The record page reads the file afresh.
        QTest::keyClick(page.Alist, Qt::Key_Return);
        QCOMPARE(f.window->TabControl()->currentIndex(), 1);
        QCOMPARE(f.Node(0x0100)->record.data, Le16(answer == 1 ? 7 : 5));
    }

    // Enter and Escape on the save question save: the answer that loses nothing.
    void saveQuestionKeysSave_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void saveQuestionKeysSave() {
        QFETCH(int, key);
        UiFixture f;
        QtUserPrompts boxes;
        f.usePrompts = &boxes;
        StartLibrary(f);
        boxes.SetParent(f.window.get());
        ClickRow(f.window->Selection()->Alist, 3, true);
        f.TypeNumber(0x0100, QStringLiteral("7"));
        {
            // The test file's short table is a finding of the checks before saving.
            ModalAnswerer answer{Qt::Key(key), [](QWidget* modal) {
                                     if (auto* checks = qobject_cast<SaveChecksDialog*>(modal)) {
                                         checks->SaveAnyway->click();
                                     }
                                 }};
            ClickTab(f, 0);
            QCOMPARE(answer.seen, Latin({"Changes made: Save airfile?", "kelvara::SaveChecksDialog",
                                         "Save complete"}));
        }
        QVERIFY(f.window->Selection()->isVisible());
        QVERIFY(QFile::exists(f.Path(kTrainerFolder + QStringLiteral("Trainer.kvr1.air"))));
    }

    // A scan that finds nothing opens the dialog; a confirmed folder is scanned again.
    void emptyScanAsksForTheFolder() {
        UiFixture f;
        BuildSimulator(f);
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("Empty")));
        ModalAnswerer confirm(Qt::Key_Return, [&](QWidget* modal) {
            qobject_cast<THosts_File*>(modal)->FSLocation->setText(f.Path(QStringLiteral("FSX")));
        });
        f.Start("showaircraft = 1\r\nfspath = " + QFile::encodeName(f.Path(QStringLiteral("Empty"))) + "\r\n",
                {}, false);
        QCOMPARE(confirm.seen, QStringList{QStringLiteral("kelvara::THosts_File")});
        QCOMPARE(f.window->Selection()->Alist->count(), 4);
        QCOMPARE(f.CfgValue("fspath"), f.Path(QStringLiteral("FSX")));
    }
};

QTEST_MAIN(LibraryBrowserTest)
#include "LibraryBrowserTest.moc"
