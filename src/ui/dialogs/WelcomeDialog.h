// The first start's page when no simulator was found: what Kelvara needs, where it looked, and
// the three ways on (the sample aircraft, a simulator folder, one ".air" file).
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace kelvara {

class WelcomeDialog : public QDialog {
    Q_OBJECT
  public:
    enum Choice { Quit, UseSamples, ChooseFolder, OpenFile };

    WelcomeDialog(const std::vector<std::string>& searched, bool german, QWidget* parent = nullptr);

    // Quit when the dialog was closed any other way than by one of the three buttons.
    [[nodiscard]] Choice Chosen() const { return mChoice; }

    QPushButton* bSamples = nullptr;
    QPushButton* bFolder = nullptr;
    QPushButton* bFile = nullptr;
    QPushButton* bQuit = nullptr;
    QPlainTextEdit* Searched = nullptr;

  private:
    Choice mChoice = Quit;
};

} // namespace kelvara
