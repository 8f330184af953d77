// The seam through which the program tells and asks the user: message boxes in the editor,
// scripted answers in tests, stderr in the command-line tool.
#pragma once

#include <string>

namespace kelvara {

enum class Answer { Yes, No };

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
};

} // namespace kelvara
