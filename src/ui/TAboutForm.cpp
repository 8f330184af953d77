#include "TAboutForm.h"

#include "StartupDecisions.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvara {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutForm"));
    setWindowTitle(QStringLiteral("Version Info"));
    setModal(true);
    // By object name: a type selector would need the namespace spelled "kelvara--TAboutForm".
    setStyleSheet(QStringLiteral("QDialog#TAboutForm { background: black; } "
                                 "QLabel { color: white; }"));

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

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(mVersionLabel);
    layout->addWidget(mail);
    layout->addWidget(ok, 0, Qt::AlignCenter);

    // Centred on the screen, not on the main window; a set position keeps QDialog from moving it.
    adjustSize();
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

QString TAboutForm::VersionLine() const {
    return QString::fromUtf8(AboutVersionLine());
}

} // namespace kelvara
