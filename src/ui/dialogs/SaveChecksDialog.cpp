#include "SaveChecksDialog.h"

#include "UiTexts.h"

#include <utility>

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvara {

namespace {
constexpr UiText kCaption{"Check before saving", "Prüfung vor dem Speichern"};
constexpr UiText kIntro{"These values look wrong. Click one to see its record.",
                        "Diese Werte sehen falsch aus. Ein Klick zeigt den Datensatz."};
constexpr UiText kSaveAnyway{"Save anyway", "Trotzdem speichern"};
constexpr UiText kGoBack{"Go back", "Zurück"};
} // namespace

SaveChecksDialog::SaveChecksDialog(const std::vector<std::string>& findings,
                                   std::function<void(size_t)> showRecord, bool german,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("SaveChecksDialog"));
    setWindowTitle(Pick(kCaption, german));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Pick(kIntro, german), this));
    Findings = new QListWidget(this);
    for (const std::string& finding : findings) {
        Findings->addItem(QString::fromStdString(finding));
    }
    Findings->setMinimumWidth(560);
    layout->addWidget(Findings);
    auto* buttons = new QDialogButtonBox(this);
    SaveAnyway = buttons->addButton(Pick(kSaveAnyway, german), QDialogButtonBox::AcceptRole);
    GoBack = buttons->addButton(Pick(kGoBack, german), QDialogButtonBox::RejectRole);
    // The user asked for the save: Enter keeps to that, Escape goes back to the findings.
    GoBack->setAutoDefault(false);
    SaveAnyway->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto show = [count = findings.size(), showRecord](int row) {
        if (row >= 0 && static_cast<size_t>(row) < count && showRecord) {
            showRecord(static_cast<size_t>(row));
        }
    };
    connect(Findings, &QListWidget::currentRowChanged, this, show);
    connect(Findings, &QListWidget::itemClicked, this,
            [this, show](QListWidgetItem* item) { show(Findings->row(item)); });
    SaveAnyway->setFocus();
}

} // namespace kelvara
