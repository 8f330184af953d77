#include "TypedNumberField.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QVariant>

namespace kelvara {

namespace {

const char* const kRefused = "refusedText";

class LeaveWatcher : public QObject {
  public:
    LeaveWatcher(QLineEdit* field, std::function<void()> restore)
        : QObject(field), mField(field), mRestore(std::move(restore)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A message box or another window taking the focus is no leaving of the field.
        if (watched == mField && event->type() == QEvent::FocusOut && ShowsRefusedText(mField) &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            mRestore();
            ClearRefusedText(mField);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QLineEdit* mField;
    std::function<void()> mRestore;
};

QStatusBar* StatusBarOf(QLineEdit* field) {
    auto* main = qobject_cast<QMainWindow*>(field->window());
    return main ? main->statusBar() : nullptr;
}

} // namespace

void ShowRefusedText(QLineEdit* field, const QString& reason) {
    if (!ShowsRefusedText(field)) {
        field->setProperty(kRefused, true);
        field->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #d01010; }"));
    }
    if (QStatusBar* bar = StatusBarOf(field)) {
        bar->showMessage(reason);
    }
    field->setToolTip(reason);
}

void ClearRefusedText(QLineEdit* field) {
    if (!ShowsRefusedText(field)) {
        return;
    }
    field->setProperty(kRefused, false);
    field->setStyleSheet(QString());
    if (QStatusBar* bar = StatusBarOf(field); bar && bar->currentMessage() == field->toolTip()) {
        bar->clearMessage();
    }
    field->setToolTip(QString());
}

bool ShowsRefusedText(const QLineEdit* field) {
    return field->property(kRefused).toBool();
}

void RestoreWhenLeft(QLineEdit* field, std::function<void()> restore) {
    field->installEventFilter(new LeaveWatcher(field, std::move(restore)));
}

} // namespace kelvara
