// Feedback of the fields that store at every keystroke: a text that stores nothing ("", "-",
// "1e", a letter) is shown on the field itself and in the status bar, never in a message box
// per keystroke; leaving the field then puts back the stored value's text.
#pragma once

#include <QString>

#include <functional>

class QLineEdit;

namespace kelvara {

// A red frame on the field and the reason in the window's status bar.
void ShowRefusedText(QLineEdit* field, const QString& reason);
// The field's text is stored again: the frame and the reason go.
void ClearRefusedText(QLineEdit* field);
[[nodiscard]] bool ShowsRefusedText(const QLineEdit* field);
// restore is called when the field loses the focus while it shows a refused text; it puts
// back the stored value's text (as a programmatic write, not an edit).
void RestoreWhenLeft(QLineEdit* field, std::function<void()> restore);

} // namespace kelvara
