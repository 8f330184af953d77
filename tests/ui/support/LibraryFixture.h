// Library mode on a simulator folder built by the test, and the clicks that drive its lists.
#pragma once

#include "UiFixture.h"

#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QStringList>
#include <QTabBar>
#include <QTest>

#include <initializer_list>

namespace kelvara::test {

// The text of the last message shown, or another part of it.
inline QString Last(const UiFixture& f, std::string ShownMessage::*part = &ShownMessage::text) {
    return f.prompts.shown.empty() ? QString() : QString::fromStdString(f.prompts.shown.back().*part);
}

inline const QString kTrainerFolder = QStringLiteral("FSX/SimObjects/Airplanes/Trainer/");

// Trainer: two liveries sharing one .air file, the blue one with a thumbnail that is no JPEG.
// Glider: no manufacturer. Broken: its .air file is missing.
inline void BuildSimulator(UiFixture& f) {
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

inline void StartLibrary(UiFixture& f, const QByteArray& cfg = {}) {
    BuildSimulator(f);
    f.Start("showaircraft = 1\r\nfspath = " + QFile::encodeName(f.Path(QStringLiteral("FSX"))) +
                "\r\n" + cfg,
            {}, false);
}

inline QStringList Latin(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromLatin1(text);
    }
    return list;
}

inline void ClickRow(QListWidget* list, int row, bool twice = false) {
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    }
}

inline void ClickTab(UiFixture& f, int tab) {
    QTabBar* bar = f.window->TabControl();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

} // namespace kelvara::test
