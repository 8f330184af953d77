// The small progress window of the aircraft scan: one centred label that repaints as the scan
// goes, while the event loop is blocked.
#pragma once

#include "Scan.h"

#include <QWidget>

#include <cstdint>

class QLabel;

namespace kelvara {

class ScanProgressDialog : public QWidget, public ScanProgress {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 942;
    static constexpr int kClientHeight = 44;

    // language: the letter code; German unless 'E'.
    explicit ScanProgressDialog(int32_t language, QWidget* parent = nullptr);

    void SetCaption(const char* english, const char* german);
    [[nodiscard]] QString LabelText() const;

    void ScanStarted() override;
    void SetLabel(const std::string& text) override;
    void ScanFinished() override;

  private:
    int32_t mLanguage;
    QLabel* mLabel = nullptr;
};

} // namespace kelvara
