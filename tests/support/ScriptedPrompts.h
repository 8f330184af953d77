// UserPrompts for tests: records every message and answers questions from a script.
#pragma once

#include "UserPrompts.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvara::test {

struct ShownMessage {
    std::string kind; // "inform", "error", "ask" or "leave"
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

    LeaveAnswer AskSaveDiscardCancel(const std::string& caption, const std::string& text) override {
        shown.push_back({"leave", caption, text});
        if (leaveAnswers.empty()) {
            return LeaveAnswer::Cancel;
        }
        const LeaveAnswer answer = leaveAnswers.front();
        leaveAnswers.pop_front();
        return answer;
    }

    bool SaveDespiteFindings(const std::vector<std::string>& findings,
                             const std::function<void(size_t)>&, bool) override {
        findingsShown.push_back(findings);
        return saveDespiteFindings;
    }

    std::vector<ShownMessage> shown;
    std::vector<std::vector<std::string>> findingsShown;
    bool saveDespiteFindings = true;
    std::deque<bool> answers; // true for Yes; No once the script runs out
    std::deque<LeaveAnswer> leaveAnswers; // Cancel once the script runs out
};

} // namespace kelvara::test
