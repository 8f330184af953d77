// The seam through which the program tells and asks the user: message boxes in the editor,
// scripted answers in tests, stderr in the command-line tool.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelvara {

enum class Answer { Yes, No };

// Before unsaved edits would be left behind.
enum class LeaveAnswer { Save, Discard, Cancel };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    virtual void Inform(const std::string& caption, const std::string& text) = 0;
    // A notice whose answer nothing waits for: the program goes on while it is shown.
    virtual void InformWithoutWaiting(const std::string& caption, const std::string& text) {
        Inform(caption, text);
    }
    virtual void Error(const std::string& caption, const std::string& text) = 0;
    // true for Yes. safe: the answer that loses nothing; Enter and Escape give it.
    [[nodiscard]] virtual bool AskYesNo(const std::string& caption, const std::string& text,
                                        Answer safe) = 0;
    // Save, Discard or Cancel. Enter saves; Escape and the close button cancel, because
    // neither may write nor throw edits away.
    [[nodiscard]] virtual LeaveAnswer AskSaveDiscardCancel(const std::string& caption,
                                                           const std::string& text) = 0;
    // The findings of the checks before saving; true to save anyway. Going back is the safe
    // answer of Escape. showRecord(i) shows the record of finding i while the findings are up.
    [[nodiscard]] virtual bool SaveDespiteFindings(
        const std::vector<std::string>& findings,
        const std::function<void(size_t)>& showRecord, bool german) = 0;
};

} // namespace kelvara
