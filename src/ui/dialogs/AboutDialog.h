// The about box: program name, version, the maker's web and mail addresses, and which record
// dictionary is in use.
#pragma once

#include <QDialog>

class QLabel;

namespace kelvara {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The version line, built each time the box is made.
    [[nodiscard]] QString VersionLine() const;
    void SetDictionaryText(const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void CentreOnScreen();
    QLabel* mVersionLabel = nullptr;
    QLabel* mDictionaryLabel = nullptr;
};

} // namespace kelvara
