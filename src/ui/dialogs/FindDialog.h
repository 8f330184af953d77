// The find dialog: the text to search for and whether case matters. Created once, so both
// keep their contents from one search to the next.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kelvara {

class FindDialog : public QDialog {
    Q_OBJECT
  public:
    FindDialog(bool german, QWidget* parent = nullptr);

    QLineEdit* eText = nullptr;
    QCheckBox* cbCasesensitive = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void eTextKeyPress();
};

} // namespace kelvara
