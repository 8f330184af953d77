#include "ScanProgressDialog.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvara {

ScanProgressDialog::ScanProgressDialog(int32_t language, QWidget* parent)
    : QWidget(parent, Qt::Tool), mLanguage(language) {
    setObjectName(QStringLiteral("ScanProgressDialog"));
    setFixedSize(kClientWidth, kClientHeight);
    auto* layout = new QVBoxLayout(this);
    mLabel = new QLabel(this);
    mLabel->setObjectName(QStringLiteral("Label1"));
    mLabel->setAlignment(Qt::AlignCenter);
    QFont font = mLabel->font();
    font.setPixelSize(16);
    mLabel->setFont(font);
    layout->addWidget(mLabel);
    SetCaption("Message", "Information");
}

void ScanProgressDialog::SetCaption(const char* english, const char* german) {
    setWindowTitle(QString::fromUtf8(mLanguage == 'E' ? english : german));
}

QString ScanProgressDialog::LabelText() const {
    return mLabel->text();
}

void ScanProgressDialog::ScanStarted() {
    // The desktop adds the program's name.
    SetCaption("Scanning aircraft folders", "Flugzeuge werden gelesen");
    const QScreen* screen = QApplication::primaryScreen();
    const QPoint origin = screen != nullptr ? screen->availableGeometry().topLeft() : QPoint();
    move(origin + QPoint(247, 350));
    mLabel->setText(QStringLiteral("Reading...   please wait...   bitte warten..."));
    show();
    // Let the window appear once; after that only explicit repaints reach the screen.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void ScanProgressDialog::SetLabel(const std::string& text) {
    mLabel->setText(QFile::decodeName(QByteArray::fromStdString(text)));
    mLabel->repaint();
}

void ScanProgressDialog::ScanFinished() {
    hide();
}

} // namespace kelvara
