#include "ConfigDialog.h"

#include "LanguageTable.h"
#include "Settings.h"
#include "UserPrompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kelvara {

namespace {

struct Caption {
    const char* english;
    const char* german;
};

constexpr Caption kColourLabels[8] = {
    {"background", "Hintergrund"},       {"lines", "Linien"},
    {"marked lines", "Markierte Linien"}, {"marked points", "Markierte Punkte"},
    {"vertical lines", "vertikales Raster"}, {"zero lines", "Null Linien"},
    {"1503/1504", "1503/1504"},           {"1503/1504 marked", "1503/1504 markiert"},
};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

QColor ColourFromReference(uint32_t reference) {
    return QColor(int(reference & 0xFF), int((reference >> 8) & 0xFF), int((reference >> 16) & 0xFF));
}

uint32_t ReferenceFromColour(const QColor& colour) {
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

ConfigDialog::ConfigDialog(const Settings& settings, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), mSettings(settings), mPrompts(prompts), mGerman(settings.German()) {
    setObjectName(QStringLiteral("ConfigDialog"));
    const auto text = [this](const char* english, const char* german) {
        return QString::fromUtf8(mGerman ? german : english);
    };
    setWindowTitle(text("Configuration", "Allgemeine Einstellungen"));
    pickFolder = [text](QWidget* owner, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, text("Dir Select", "Verzeichnis Auswahl"), start);
    };
    pickColor = [](QWidget* owner, const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, owner);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };

    ScanNote = Named(new QLabel(this), "ScanNote");
    ScanNote->setWordWrap(true);
    ScanNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ScanNote->hide();

    auto* group1 = Named(new QGroupBox(text("FS X Location", "Verzeichnis des FS X"), this), "GroupBox1");
    auto* column1 = new QVBoxLayout(group1);
    // A first start arrives here from the welcome; the bare field did not say what it wants.
    auto* explained = Named(
        new QLabel(text("The simulator's own folder, the one that holds SimObjects (for example "
                        "…/drive_c/Program Files (x86)/Microsoft Games/Microsoft Flight Simulator X "
                        "or …/steamapps/common/FSX). Kelvara lists the aircraft found below it.",
                        "Der Ordner des Simulators, der SimObjects enthält (zum Beispiel "
                        "…/drive_c/Programme/Microsoft Games/Microsoft Flight Simulator X oder "
                        "…/steamapps/common/FSX). Kelvara listet die Flugzeuge darunter auf."),
                   group1),
        "FSLocationHint");
    explained->setWordWrap(true);
    column1->addWidget(explained);
    auto* row1 = new QHBoxLayout;
    column1->addLayout(row1);
    FSLocation = Named(new QLineEdit(group1), "FSLocation");
    // Room for a usual simulator or aircraft folder path.
    const int pathWidth = fontMetrics().averageCharWidth() * 60;
    FSLocation->setMinimumWidth(pathWidth);
    Button3 = Named(new QPushButton(text("Browse", "Suchen"), group1), "Button3");
    row1->addWidget(FSLocation, 1);
    row1->addWidget(Button3);

    auto* group8 = Named(new QGroupBox(text("Search Paths", "Suchpfade"), this), "GroupBox8");
    auto* paths = new QGridLayout(group8);
    SearchFolders = Named(new QListWidget(group8), "SearchFolders");
    bNewsearchfolder = Named(new QPushButton(text("New Searchpath", "Neuer Suchpfad"), group8), "bNewsearchfolder");
    Button4 = Named(new QPushButton(text("Delete Searchpath", "Suchpfad löschen"), group8), "Button4");
    SearchFolders->setMinimumWidth(pathWidth);
    auto* note = Named(new QLabel(text("OK reads the aircraft folders again",
                                       "OK liest die Flugzeugordner neu ein"), group8), "Label9");
    paths->addWidget(SearchFolders, 0, 0, 1, 2);
    paths->addWidget(bNewsearchfolder, 1, 0);
    paths->addWidget(Button4, 1, 1);
    paths->addWidget(note, 2, 0, 1, 2);

    auto* group4 = Named(new QGroupBox(text("Renderer", "Renderer"), this), "GroupBox4");
    cbAal = Named(new QCheckBox(text("antialiased lines", "weiche Linien"), group4), "cbAal");
    (new QVBoxLayout(group4))->addWidget(cbAal);

    auto* group5 = Named(new QGroupBox(text("Language", "Sprache"), this), "GroupBox5");
    rbDeutsch = Named(new QRadioButton(text("german", "deutsch"), group5), "rbDeutsch");
    rbEnglish = Named(new QRadioButton(text("english", "englisch"), group5), "rbEnglish");
    auto* languages = new QHBoxLayout(group5);
    languages->addWidget(rbDeutsch);
    languages->addWidget(rbEnglish);

    auto* group2 = Named(new QGroupBox(text("Options", "Optionen"), this), "GroupBox2");
    cbShowaircraft = Named(new QCheckBox(text("show aircraft selection window",
                                              "Fenster Flugzeugauswahl anzeigen"), group2), "cbShowaircraft");
    cbDatatypes = Named(new QCheckBox(text("show datatypes", "Datentypen anzeigen"), group2), "cbDatatypes");
    auto* options = new QVBoxLayout(group2);
    options->addWidget(cbShowaircraft);
    options->addWidget(cbDatatypes);

    auto* group3 = Named(new QGroupBox(text("ASCII Export Delimiter", "ASCII Export Trennzeichen"), this), "GroupBox3");
    rbDcomma = Named(new QRadioButton(text("comma", "Beistrich"), group3), "rbDcomma");
    rbDsemicolon = Named(new QRadioButton(text("semicolon", "Strichpunkt"), group3), "rbDsemicolon");
    rbDtabulator = Named(new QRadioButton(text("tabulator", "Tabulator"), group3), "rbDtabulator");
    auto* delimiters = new QHBoxLayout(group3);
    for (QRadioButton* button : {rbDcomma, rbDsemicolon, rbDtabulator}) {
        delimiters->addWidget(button);
    }

    auto* group7 = Named(new QGroupBox(text("ASCII Export Decimal Point", "ASCII Export Decimal Point"), this), "GroupBox7");
    rbPperiod = Named(new QRadioButton(text("period", "Punkt"), group7), "rbPperiod");
    rbPcomma = Named(new QRadioButton(text("comma", "Beistrich"), group7), "rbPcomma");
    auto* decimals = new QHBoxLayout(group7);
    decimals->addWidget(rbPperiod);
    decimals->addWidget(rbPcomma);

    auto* group6 = Named(new QGroupBox(text("Colors in Renderer", "Farbeinstellungen im Renderer"), this), "GroupBox6");
    auto* colours = new QGridLayout(group6);
    for (int i = 0; i < 8; ++i) {
        // Buttons, so that the colours can be chosen with the keyboard as well.
        auto* panel = new QPushButton(group6);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 4));
        panel->setFixedSize(40, 20);
        colourPanels[size_t(i)] = panel;
        colours->addWidget(panel, i, 0);
        colours->addWidget(new QLabel(text(kColourLabels[i].english, kColourLabels[i].german), group6), i, 1);
        connect(panel, &QPushButton::clicked, this, [this, i] { PanelClick(i); });
    }

    auto* buttons = new QDialogButtonBox(this);
    Button1 = Named(buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole), "Button1");
    Button2 = Named(buttons->addButton(text("Cancel", "Abbruch"), QDialogButtonBox::RejectRole), "Button2");
    Button1->setDefault(true);
    // Enter confirms the dialog wherever the focus is, also after a button was clicked.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(button == Button1);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(group1);
    left->addWidget(group8, 1);
    left->addWidget(group4);
    left->addWidget(group5);
    left->addWidget(group2);
    auto* right = new QVBoxLayout;
    right->addWidget(group3);
    right->addWidget(group7);
    right->addWidget(group6);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ScanNote);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);

    connect(Button3, &QPushButton::clicked, this, &ConfigDialog::Button3Click);
    connect(bNewsearchfolder, &QPushButton::clicked, this, &ConfigDialog::bNewsearchfolderClick);
    connect(Button4, &QPushButton::clicked, this, &ConfigDialog::Button4Click);
}

QString ConfigDialog::FolderText(const std::string& folder) const {
    return QFile::decodeName(QByteArray::fromStdString(folder));
}

void ConfigDialog::SetValues(const ConfigurationValues& values) {
    FSLocation->setText(FolderText(values.fspath));
    cbAal->setChecked(values.aalines != 0);
    cbDatatypes->setChecked(values.datatypes != 0);
    cbShowaircraft->setChecked(values.showaircraft != 0);
    (values.language == 'E' ? rbEnglish : rbDeutsch)->setChecked(true);
    rbDcomma->setChecked(true);
    if (values.delimiter == 2) {
        rbDsemicolon->setChecked(true);
    } else if (values.delimiter == 3) {
        rbDtabulator->setChecked(true);
    }
    (values.decimal == 2 ? rbPcomma : rbPperiod)->setChecked(true);
    mColours = values.colors;
    for (int i = 0; i < 8; ++i) {
        ShowColour(i);
    }
    FillSearchFolders(values.searchPaths);
}

ConfigurationValues ConfigDialog::Values() const {
    ConfigurationValues values;
    values.fspath = QFile::encodeName(FSLocation->text()).toStdString();
    values.aalines = cbAal->isChecked() ? 1 : 0;
    values.datatypes = cbDatatypes->isChecked() ? 1 : 0;
    values.showaircraft = cbShowaircraft->isChecked() ? 1 : 0;
    values.language = rbEnglish->isChecked() ? 'E' : 'D';
    values.delimiter = rbDcomma->isChecked()       ? 1
                       : rbDsemicolon->isChecked() ? 2
                       : rbDtabulator->isChecked() ? 3
                                                   : 1;
    values.decimal = !rbPperiod->isChecked() && rbPcomma->isChecked() ? 2 : 1;
    values.colors = mColours;
    for (int row = 0; row < SearchFolders->count(); ++row) {
        const QListWidgetItem* item = SearchFolders->item(row);
        values.searchPaths.push_back({QFile::encodeName(item->text()).toStdString(),
                                      item->checkState() == Qt::Checked ? 1 : 0});
    }
    return values;
}

void ConfigDialog::SetScanNote(const QString& text) {
    ScanNote->setText(text);
    ScanNote->setVisible(!text.isEmpty());
}

void ConfigDialog::FillSearchFolders(const std::vector<SearchPath>& paths) {
    SearchFolders->clear();
    for (const SearchPath& path : paths) {
        AddSearchFolder(FolderText(path.folder), path.active != 0);
    }
}

void ConfigDialog::AddSearchFolder(const QString& folder, bool active) {
    auto* item = new QListWidgetItem(folder, SearchFolders);
    item->setToolTip(folder);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(active ? Qt::Checked : Qt::Unchecked);
}

void ConfigDialog::Button3Click() {
    const QString folder = pickFolder(this, FSLocation->text().isEmpty() ? mLastFolder : FSLocation->text());
    if (!folder.isEmpty()) {
        mLastFolder = folder;
        FSLocation->setText(folder);
    }
}

void ConfigDialog::bNewsearchfolderClick() {
    const QString start = mLastFolder.isEmpty() ? FolderText(mSettings.ProgramFolder()) : mLastFolder;
    const QString folder = pickFolder(this, start);
    if (folder.isEmpty()) {
        return; // cancelled: the list stays as the user left it
    }
    mLastFolder = folder;
    AddSearchFolder(folder, true);
    SearchFolders->setCurrentRow(SearchFolders->count() - 1);
}

void ConfigDialog::Button4Click() {
    QListWidgetItem* item = SearchFolders->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return;
    }
    const char* question = mSettings.German() ? "Wollen Sie den markierten Suchpfad löschen?"
                                              : "Delete marked Searchpath?";
    if (mPrompts.AskYesNo("", question, Answer::No)) {
        delete SearchFolders->takeItem(SearchFolders->row(item));
    }
}

void ConfigDialog::PanelClick(int panel) {
    // The chooser offers the eight colours as they stand in the dialog now.
    for (int i = 0; i < 8; ++i) {
        QColorDialog::setCustomColor(i, ColourFromReference(mColours[size_t(i)]));
    }
    if (const std::optional<QColor> chosen = pickColor(this, ColourFromReference(mColours[size_t(panel)]))) {
        mColours[size_t(panel)] = ReferenceFromColour(*chosen);
        ShowColour(panel);
    }
}

void ConfigDialog::ShowColour(int panel) {
    colourPanels[size_t(panel)]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 2px inset gray; }")
            .arg(ColourFromReference(mColours[size_t(panel)]).name()));
}

} // namespace kelvara
