// UserPrompts that records every message and answers questions from a script.
#pragma once

#include "UserPrompts.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvara::test {

class ScriptedPrompts : public UserPrompts {
public:
    struct Shown {
        std::string kind;
        std::string caption;
        std::string text;
    };

    void Inform(const std::string& caption, const std::string& text) override { shown.push_back({"inform", caption, text}); }
    void Error(const std::string& caption, const std::string& text) override { shown.push_back({"error", caption, text}); }
    bool AskYesNo(const std::string& caption, const std::string& text) override {
        shown.push_back({"ask", caption, text});
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<bool> answers;
};

} // namespace kelvara::test
