#include "QtUserPrompts.h"

#include "SaveChecksDialog.h"

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

LeaveAnswer QtUserPrompts::AskSaveDiscardCancel(const std::string& caption,
                                                const std::string& text) {
    NormalCursorWhileShown cursor;
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, mParent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked != nullptr && clicked == box.button(QMessageBox::Save)) {
        return LeaveAnswer::Save;
    }
    if (clicked != nullptr && clicked == box.button(QMessageBox::Discard)) {
        return LeaveAnswer::Discard;
    }
    return LeaveAnswer::Cancel;
}

bool QtUserPrompts::SaveDespiteFindings(const std::vector<std::string>& findings,
                                        const std::function<void(size_t)>& showRecord,
                                        bool german) {
    NormalCursorWhileShown cursor;
    SaveChecksDialog dialog(findings, showRecord, german, mParent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kelvara
