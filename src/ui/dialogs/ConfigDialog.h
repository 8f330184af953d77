// The configuration dialog: simulator folder, search paths, renderer, language, options,
// text export delimiter and decimal mark, and the eight graph colours.
#pragma once

#include "StartupDecisions.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kelvara {

class Settings;
class UserPrompts;

class ConfigDialog : public QDialog {
    Q_OBJECT
  public:
    // Captions in the language in force now. The dialog edits its own copy of the values:
    // nothing reaches the settings before the caller takes Values() after OK.
    ConfigDialog(const Settings& settings, UserPrompts& prompts, QWidget* parent = nullptr);

    void SetValues(const ConfigurationValues& values);
    // Why the last scan found no aircraft, above the folder; empty hides it.
    void SetScanNote(const QString& text);
    [[nodiscard]] ConfigurationValues Values() const;

    // The folder picker and the colour chooser; tests replace them. An empty folder or no
    // colour means cancelled.
    std::function<QString(QWidget* parent, const QString& start)> pickFolder;
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> pickColor;

    void Button3Click();
    void bNewsearchfolderClick();
    void Button4Click();
    void PanelClick(int panel);

    QLabel* ScanNote = nullptr;
    QLineEdit* FSLocation = nullptr;
    QPushButton* Button3 = nullptr;
    QListWidget* SearchFolders = nullptr;
    QPushButton* bNewsearchfolder = nullptr;
    QPushButton* Button4 = nullptr;
    QCheckBox* cbAal = nullptr;
    QRadioButton* rbDeutsch = nullptr;
    QRadioButton* rbEnglish = nullptr;
    QCheckBox* cbShowaircraft = nullptr;
    QCheckBox* cbDatatypes = nullptr;
    QRadioButton* rbDcomma = nullptr;
    QRadioButton* rbDsemicolon = nullptr;
    QRadioButton* rbDtabulator = nullptr;
    QRadioButton* rbPperiod = nullptr;
    QRadioButton* rbPcomma = nullptr;
    std::array<QPushButton*, 8> colourPanels{}; // Panel4 .. Panel11
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

  private:
    void FillSearchFolders(const std::vector<SearchPath>& paths);
    void AddSearchFolder(const QString& folder, bool active);
    void ShowColour(int panel);
    [[nodiscard]] QString FolderText(const std::string& folder) const;

    const Settings& mSettings;
    UserPrompts& mPrompts;
    bool mGerman;
    std::array<uint32_t, 8> mColours{};
    QString mLastFolder;
};

// 0x00BBGGRR colour references and QColor.
[[nodiscard]] QColor ColourFromReference(uint32_t reference);
[[nodiscard]] uint32_t ReferenceFromColour(const QColor& colour);

} // namespace kelvara
