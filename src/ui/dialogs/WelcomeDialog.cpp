#include "WelcomeDialog.h"

#include "UiTexts.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvara {

namespace {

constexpr UiText kTitle{"Welcome to Kelvara", "Willkommen bei Kelvara"};
constexpr UiText kIntro{
    "Kelvara edits the flight-model files (\".air\") of Microsoft Flight Simulator X aircraft and "
    "of aircraft in FS2004, Prepar3D and MSFS that keep one. To list the installed aircraft it "
    "needs the simulator's folder, the one that holds SimObjects (Aircraft for FS2004), or the "
    "MSFS packages folder, the one that holds Community. No simulator was found in these places:",
    "Kelvara bearbeitet die Flugmodelldateien (\".air\") der Flugzeuge des Microsoft Flight "
    "Simulator X und der Flugzeuge in FS2004, Prepar3D und MSFS, die eine haben. Um die "
    "installierten Flugzeuge aufzulisten, braucht es den Ordner des Simulators, den mit SimObjects "
    "(Aircraft bei FS2004), oder den MSFS-Paketordner, den mit Community. An diesen Orten wurde "
    "kein Simulator gefunden:"};
constexpr UiText kFoundIntro{
    "Kelvara edits the flight-model files (\".air\") of Microsoft Flight Simulator X aircraft and "
    "of aircraft in Prepar3D and MSFS that keep one. It found these simulators; pick the one "
    "whose aircraft it should list. You can change it later under Options › Config.",
    "Kelvara bearbeitet die Flugmodelldateien (\".air\") der Flugzeuge des Microsoft Flight "
    "Simulator X und der Flugzeuge in Prepar3D und MSFS, die eine haben. Es hat diese Simulatoren "
    "gefunden; wählen Sie den, dessen Flugzeuge es auflisten soll. Sie können ihn später unter "
    "Optionen › Konfiguration ändern."};
constexpr UiText kUse{"Use this simulator", "Diesen Simulator verwenden"};
constexpr UiText kOtherWays{"Or go on another way:", "Oder anders weitermachen:"};
constexpr UiText kHow{"How would you like to go on?", "Wie möchten Sie weitermachen?"};
constexpr UiText kSamples{"Use the sample aircraft", "Die Beispielflugzeuge verwenden"};
constexpr UiText kSamplesHint{
    "Copies Kelvara's sample aircraft into your own data folder, where you can edit and save "
    "them, and lists them.",
    "Kopiert Kelvaras Beispielflugzeuge in Ihren eigenen Datenordner, wo Sie sie bearbeiten und "
    "speichern können, und listet sie auf."};
constexpr UiText kFolder{"Choose the simulator folder…", "Den Simulatorordner wählen…"};
constexpr UiText kFolderHint{
    "Opens the configuration, where you name the simulator folder or the MSFS packages folder.",
    "Öffnet die Einstellungen, in denen Sie den Simulatorordner oder den MSFS-Paketordner angeben."};
constexpr UiText kFile{"Open one .air file…", "Eine .air-Datei öffnen…"};
constexpr UiText kFileHint{"Edits a single file without the aircraft list, for this run.",
                           "Bearbeitet eine einzelne Datei ohne Flugzeugliste, für diesen Start."};
constexpr UiText kQuit{"Quit", "Beenden"};

} // namespace

WelcomeDialog::WelcomeDialog(const SimulatorLookup& lookup, bool german, QWidget* parent)
    : QDialog(parent) {
    const std::vector<SimulatorPlace>& found = lookup.found;
    setObjectName(QStringLiteral("WelcomeDialog"));
    setWindowTitle(Pick(kTitle, german));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(Pick(found.empty() ? kIntro : kFoundIntro, german), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    if (found.empty()) {
        Searched = new QPlainTextEdit(this);
        Searched->setReadOnly(true);
        Searched->setLineWrapMode(QPlainTextEdit::NoWrap);
        QStringList lines;
        for (const SimulatorPlace& place : lookup.searched) {
            lines << DisplayPath(place.folder);
        }
        Searched->setPlainText(lines.join(u'\n'));
        layout->addWidget(Searched, 1);
        layout->addWidget(new QLabel(Pick(kHow, german), this));
    } else {
        Found = new QListWidget(this);
        for (const SimulatorPlace& simulator : found) {
            auto* item = new QListWidgetItem(QString::fromStdString(simulator.simulator) +
                                                 QStringLiteral("  \u2014  ") + DisplayPath(simulator.folder),
                                             Found);
            item->setToolTip(DisplayPath(simulator.folder));
        }
        Found->setCurrentRow(0);
        intro->setBuddy(Found);
        layout->addWidget(Found, 1);
        bUse = new QPushButton(Pick(kUse, german), this);
        layout->addWidget(bUse);
        connect(bUse, &QPushButton::clicked, this, &WelcomeDialog::UseCurrent);
        connect(Found, &QListWidget::itemDoubleClicked, this, &WelcomeDialog::UseCurrent);
        layout->addWidget(new QLabel(Pick(kOtherWays, german), this));
    }

    const auto way = [&](QPushButton*& button, const UiText& caption, const UiText& hint,
                         Choice choice) {
        button = new QPushButton(Pick(caption, german), this);
        button->setToolTip(Pick(hint, german));
        auto* explained = new QLabel(Pick(hint, german), this);
        explained->setWordWrap(true);
        explained->setIndent(16);
        layout->addWidget(button);
        layout->addWidget(explained);
        connect(button, &QPushButton::clicked, this, [this, choice] {
            mChoice = choice;
            accept();
        });
    };
    way(bSamples, kSamples, kSamplesHint, UseSamples);
    way(bFolder, kFolder, kFolderHint, ChooseFolder);
    way(bFile, kFile, kFileHint, OpenFile);
    auto* buttons = new QDialogButtonBox(this);
    bQuit = buttons->addButton(Pick(kQuit, german), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    if (Found != nullptr) {
        // Enter in the list, which leaves the key to the dialog, takes the simulator marked.
        bUse->setDefault(true);
        Found->setFocus();
    } else {
        bSamples->setDefault(true);
        bSamples->setFocus();
    }
    resize(640, 520);
    // The main window is not on screen yet: centring on it would put the page in a corner.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void WelcomeDialog::UseCurrent() {
    const int row = Found->currentRow();
    if (row < 0) {
        return;
    }
    mFoundIndex = static_cast<size_t>(row);
    mChoice = UseFound;
    accept();
}

} // namespace kelvara
