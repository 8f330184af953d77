// The findings of the checks before saving, with "Save anyway" and "Go back". Saving is the
// default, going back the Escape answer; clicking a finding shows its record behind the dialog.
#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace kelvara {

class SaveChecksDialog : public QDialog {
    Q_OBJECT
  public:
    // findings are UTF-8 texts; showRecord(i) shows the record of finding i.
    SaveChecksDialog(const std::vector<std::string>& findings,
                     std::function<void(size_t)> showRecord, bool german,
                     QWidget* parent = nullptr);

    QListWidget* Findings = nullptr;
    QPushButton* SaveAnyway = nullptr;
    QPushButton* GoBack = nullptr;
};

} // namespace kelvara
