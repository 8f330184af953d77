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

  private:
    QWidget* mParent;
};

} // namespace kelvara
