// The about box: program name, version, the maker's web and mail addresses.
#pragma once

#include <QDialog>

class QLabel;

namespace kelvara {

class TAboutForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutForm(QWidget* parent = nullptr);

    // The version line, built each time the box is made.
    [[nodiscard]] QString VersionLine() const;

  private:
    QLabel* mVersionLabel = nullptr;
};

} // namespace kelvara
