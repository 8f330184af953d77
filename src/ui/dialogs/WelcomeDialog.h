// The first start's page when no simulator or several were found: the simulators found to pick
// from, or what Kelvara needs and where it looked; and the three other ways on (the sample
// aircraft, a simulator folder, one ".air" file).
#pragma once

#include "StartupDecisions.h"

#include <QDialog>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kelvara {

class WelcomeDialog : public QDialog {
    Q_OBJECT
  public:
    enum Choice { Quit, UseFound, UseSamples, ChooseFolder, OpenFile };

    // Nothing found: the page names the places searched.
    WelcomeDialog(const SimulatorLookup& lookup, bool german, QWidget* parent = nullptr);

    // Quit when the dialog was closed any other way than by one of its buttons.
    [[nodiscard]] Choice Chosen() const { return mChoice; }
    // UseFound: the index in lookup.found of the simulator picked.
    [[nodiscard]] size_t FoundIndex() const { return mFoundIndex; }

    QListWidget* Found = nullptr; // only when simulators were found
    QPushButton* bUse = nullptr;
    QPushButton* bSamples = nullptr;
    QPushButton* bFolder = nullptr;
    QPushButton* bFile = nullptr;
    QPushButton* bQuit = nullptr;
    QPlainTextEdit* Searched = nullptr; // only when nothing was found

  private:
    void UseCurrent();

    Choice mChoice = Quit;
    size_t mFoundIndex = 0;
};

} // namespace kelvara
