#include "QtUserPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kelvara {

namespace {
// A busy cursor must not hide the box the user has to answer.
class NormalCursorWhileShown {
  public:
    NormalCursorWhileShown() : mOverridden(QApplication::overrideCursor() != nullptr) {
        if (mOverridden) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~NormalCursorWhileShown() {
        if (mOverridden) {
            QApplication::restoreOverrideCursor();
        }
    }

  private:
    bool mOverridden;
};
} // namespace

void QtUserPrompts::Inform(const std::string& caption, const std::string& text) {
    NormalCursorWhileShown cursor;
    QMessageBox::information(mParent, QString::fromUtf8(caption), QString::fromUtf8(text));
}

void QtUserPrompts::InformWithoutWaiting(const std::string& caption, const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromUtf8(caption),
                                QString::fromUtf8(text), QMessageBox::Ok, mParent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

void QtUserPrompts::Error(const std::string& caption, const std::string& text) {
    NormalCursorWhileShown cursor;
    QMessageBox::critical(mParent, QString::fromUtf8(caption), QString::fromUtf8(text));
}

bool QtUserPrompts::AskYesNo(const std::string& caption, const std::string& text,
                             Answer safe) {
    NormalCursorWhileShown cursor;
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, mParent);
    // A reflex Enter or Escape must never be the answer that loses the user's work.
    QAbstractButton* safeButton =
        box.button(safe == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setDefaultButton(static_cast<QPushButton*>(safeButton));
    box.setEscapeButton(safeButton);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

} // namespace kelvara
