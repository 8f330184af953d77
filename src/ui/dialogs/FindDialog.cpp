#include "FindDialog.h"

#include "UiTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvara {

namespace {
constexpr UiText kCaption{"Find Text", "Text suchen"};
constexpr UiText kLabel{"Text to find", "Text"};
constexpr UiText kOptions{"Options", "Optionen"};
constexpr UiText kCaseSensitive{"case sensitive", "Groß/Kleinschreibung beachten"};
constexpr UiText kCancel{"Cancel", "Abbruch"};
} // namespace

FindDialog::FindDialog(bool german, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(Pick(kCaption, german));
    setModal(true);

    eText = new QLineEdit(this);
    eText->setObjectName(QStringLiteral("eText"));
    eText->setMinimumWidth(240);
    auto* label = new QLabel(Pick(kLabel, german), this);
    label->setBuddy(eText);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(eText, 1);

    auto* options = new QGroupBox(Pick(kOptions, german), this);
    cbCasesensitive = new QCheckBox(Pick(kCaseSensitive, german), options);
    cbCasesensitive->setObjectName(QStringLiteral("cbCasesensitive"));
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(cbCasesensitive);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Qt would take these from its own translations or the desktop's, not from our language.
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(Pick(kCancel, german));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(eText, &QLineEdit::returnPressed, this, [this] { eTextKeyPress(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addWidget(options);
    layout->addWidget(buttons);
}

void FindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    eText->setFocus();
    eText->selectAll();
}

void FindDialog::eTextKeyPress() {
    accept();
}

} // namespace kelvara
