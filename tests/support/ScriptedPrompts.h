// UserPrompts for tests: records every message and answers questions from a script.
#pragma once

#include "UserPrompts.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvara::test {

struct ShownMessage {
    std::string kind; // "inform", "error" or "ask"
    std::string caption;
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

class ScriptedPrompts : public UserPrompts {
  public:
    using Shown = ShownMessage;

    void Inform(const std::string& caption, const std::string& text) override {
        shown.push_back({"inform", caption, text});
    }
    void Error(const std::string& caption, const std::string& text) override {
        shown.push_back({"error", caption, text});
    }
    bool AskYesNo(const std::string& caption, const std::string& text, Answer) override {
        shown.push_back({"ask", caption, text});
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownMessage> shown;
    std::deque<bool> answers; // true for Yes; No once the script runs out
};

} // namespace kelvara::test
