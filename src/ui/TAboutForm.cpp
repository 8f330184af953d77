#include "TAboutForm.h"

#include "StartupDecisions.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvara {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutForm"));
    setWindowTitle(QStringLiteral("Version Info"));
    setModal(true);
    setStyleSheet(QStringLiteral("TAboutForm { background: black; } QLabel { color: white; }"));

    auto* title = new QLabel(QStringLiteral("KELVARA"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    mVersionLabel = new QLabel(this);
    mVersionLabel->setText(VersionLine());
    mVersionLabel->setAlignment(Qt::AlignCenter);
    auto* mail = new QLabel(QString::fromLatin1(kSupportAddress), this);
    mail->setAlignment(Qt::AlignCenter);
    mDictionaryLabel = new QLabel(this);
    mDictionaryLabel->setObjectName(QStringLiteral("DictionaryLabel"));
    mDictionaryLabel->setAlignment(Qt::AlignCenter);
    mDictionaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mDictionaryLabel->setVisible(false);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(mVersionLabel);
    layout->addWidget(mail);
    layout->addWidget(mDictionaryLabel);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}

void TAboutForm::SetDictionaryText(const QString& text) {
    mDictionaryLabel->setText(text);
    mDictionaryLabel->setVisible(!text.isEmpty());
}

QString TAboutForm::VersionLine() const {
    return QString::fromUtf8(AboutVersionLine());
}

} // namespace kelvara
