#include "AboutDialog.h"

#include "StartupDecisions.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvara {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Kelvara"));
    setModal(true);
    // By object name: a type selector would need the namespace spelled "kelvara--AboutDialog".
    setStyleSheet(QStringLiteral("QDialog#AboutDialog { background: black; } "
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
    auto* licence = new QLabel(QStringLiteral("© The Kelvara developers · MIT licence"), this);
    licence->setAlignment(Qt::AlignCenter);
    mDictionaryLabel = new QLabel(this);
    mDictionaryLabel->setObjectName(QStringLiteral("DictionaryLabel"));
    mDictionaryLabel->setAlignment(Qt::AlignCenter);
    mDictionaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mDictionaryLabel->setVisible(false);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // A narrow box had its caption cut by the window frame's buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 2 + 160);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(mVersionLabel);
    layout->addWidget(licence);
    layout->addWidget(mDictionaryLabel);
    layout->addWidget(ok, 0, Qt::AlignCenter);

    CentreOnScreen();
}

void AboutDialog::CentreOnScreen() {
    // On the screen, not on the main window; a set position keeps QDialog from moving it.
    adjustSize();
    const QScreen* shown = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (shown) {
        move(shown->availableGeometry().center() - rect().center());
    }
}

void AboutDialog::showEvent(QShowEvent* event) {
    CentreOnScreen(); // its lines may have changed since it was made
    QDialog::showEvent(event);
}

void AboutDialog::SetDictionaryText(const QString& text) {
    mDictionaryLabel->setText(text);
    mDictionaryLabel->setVisible(!text.isEmpty());
}

QString AboutDialog::VersionLine() const {
    return QString::fromUtf8(AboutVersionLine());
}

} // namespace kelvara
