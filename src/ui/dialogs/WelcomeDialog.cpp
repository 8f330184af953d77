#include "WelcomeDialog.h"

#include "UiTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvara {

namespace {

constexpr UiText kTitle{"Welcome to Kelvara", "Willkommen bei Kelvara"};
constexpr UiText kIntro{
    "Kelvara edits the flight-model files (\".air\") of Microsoft Flight Simulator X aircraft. "
    "To list the installed aircraft it needs the simulator's folder, the one that holds "
    "SimObjects. No simulator was found in these places:",
    "Kelvara bearbeitet die Flugmodelldateien (\".air\") der Flugzeuge des Microsoft Flight "
    "Simulator X. Um die installierten Flugzeuge aufzulisten, braucht es den Ordner des "
    "Simulators, den mit SimObjects. An diesen Orten wurde kein Simulator gefunden:"};
constexpr UiText kHow{"How would you like to go on?", "Wie möchten Sie weitermachen?"};
constexpr UiText kSamples{"Use the sample aircraft", "Die Beispielflugzeuge verwenden"};
constexpr UiText kSamplesHint{
    "Copies Kelvara's sample aircraft into your own data folder, where you can edit and save "
    "them, and lists them.",
    "Kopiert Kelvaras Beispielflugzeuge in Ihren eigenen Datenordner, wo Sie sie bearbeiten und "
    "speichern können, und listet sie auf."};
constexpr UiText kFolder{"Choose the simulator folder…", "Den Simulatorordner wählen…"};
constexpr UiText kFolderHint{
    "Opens the configuration, where you name the folder that holds SimObjects.",
    "Öffnet die Einstellungen, in denen Sie den Ordner mit SimObjects angeben."};
constexpr UiText kFile{"Open one .air file…", "Eine .air-Datei öffnen…"};
constexpr UiText kFileHint{"Edits a single file without the aircraft list, for this run.",
                           "Bearbeitet eine einzelne Datei ohne Flugzeugliste, für diesen Start."};
constexpr UiText kQuit{"Quit", "Beenden"};

} // namespace

WelcomeDialog::WelcomeDialog(const std::vector<std::string>& searched, bool german,
                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("WelcomeDialog"));
    setWindowTitle(Pick(kTitle, german));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(Pick(kIntro, german), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    Searched = new QPlainTextEdit(this);
    Searched->setReadOnly(true);
    Searched->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const std::string& place : searched) {
        lines << DisplayPath(place);
    }
    Searched->setPlainText(lines.join(u'\n'));
    layout->addWidget(Searched, 1);
    layout->addWidget(new QLabel(Pick(kHow, german), this));

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
    bSamples->setDefault(true);
    bSamples->setFocus();
    resize(640, 520);
}

} // namespace kelvara
