// UserPrompts as modal message boxes. Texts arrive as UTF-8.
#pragma once

#include "UserPrompts.h"

class QWidget;

namespace kelvara {

class QtUserPrompts : public UserPrompts {
  public:
    explicit QtUserPrompts(QWidget* parent = nullptr) : mParent(parent) {}
    void SetParent(QWidget* parent) { mParent = parent; }

    void Inform(const std::string& caption, const std::string& text) override;
    void InformWithoutWaiting(const std::string& caption, const std::string& text) override;
    void Error(const std::string& caption, const std::string& text) override;
    [[nodiscard]] bool AskYesNo(const std::string& caption, const std::string& text,
                                Answer safe) override;
    [[nodiscard]] LeaveAnswer AskSaveDiscardCancel(const std::string& caption,
                                                   const std::string& text) override;
    [[nodiscard]] bool SaveDespiteFindings(const std::vector<std::string>& findings,
                                           const std::function<void(size_t)>& showRecord,
                                           bool german) override;

  private:
    QWidget* mParent;
};

} // namespace kelvara
