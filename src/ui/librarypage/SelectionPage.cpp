#include "SelectionPage.h"

#include "FolderNames.h"
#include "LanguageTable.h"
#include "PackageFolders.h"
#include "SelectionLists.h"
#include "Settings.h"
#include "Thumbnail.h"
#include "UiTexts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace kelvara {

namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kBytesRole = Qt::UserRole + 1;

// No real configuration value comes near this; a longer one (a 3 MB title= line) would cost
// seconds of text layout in every list, label and caption that shows it.
constexpr size_t kMaxShownBytes = 256;

QString FromUtf8(std::string_view text) {
    if (text.size() <= kMaxShownBytes) {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    QString shown = QString::fromUtf8(text.data(), qsizetype(kMaxShownBytes));
    if (shown.endsWith(QChar(QChar::ReplacementCharacter))) {
        shown.chop(1); // a character cut in two
    }
    return shown + QChar(0x2026);
}

constexpr UiText kPackageCaption{"Package:", "Paket:"};
constexpr UiText kAirIgnored{"MSFS no longer reads this .air file ([VERSION] major = %1)",
                             "MSFS liest diese .air-Datei nicht mehr ([VERSION] major = %1)"};

QString CaptionOf(const char* control, bool german) {
    return FromUtf8(CaptionFor(control, german).value_or(std::string_view()));
}

// The rows of the all-aircraft list: background, the round mark, the text.
class AlistDelegate : public QStyledItemDelegate {
  public:
    explicit AlistDelegate(const SelectionPage& page) : QStyledItemDelegate(nullptr), mPage(page) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        AlistDrawItem(painter, option, index);
    }
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), SelectionPage::kRowHeight};
    }

  private:
    void AlistDrawItem(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QRect rect = option.rect;
        painter->save();
        painter->fillRect(rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        if (mPage.RowShowsMark(index.row())) {
            const int x = rect.left();
            const int m = rect.top() + (rect.bottom() + 1 - rect.top()) / 2;
            painter->setPen(QPen(Qt::black, 1));
            painter->setBrush(Qt::NoBrush);
            for (int i = 0; i < 4; ++i) {
                painter->drawEllipse(QRect(QPoint(x + 2 + i, m - 4 + i), QPoint(x + 8 - i, m + 3 - i)));
            }
        }
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        painter->setFont(font);
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : QColor(Qt::black));
        painter->drawText(QRect(rect.left() + 12, rect.top(), rect.width() - 12, rect.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    const SelectionPage& mPage;
};

QWidget* ListPanel(QWidget* parent, const char* panelName, const char* headerName, bool german,
                   QListWidget*& list, const char* listName) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(panelName));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* header = new QLabel(CaptionOf(headerName, german), panel);
    header->setObjectName(QString::fromLatin1(headerName));
    header->setFixedHeight(26);
    header->setIndent(4);
    list = new QListWidget(panel);
    list->setObjectName(QString::fromLatin1(listName));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Dragging would make later clicks start drags instead of selecting; nothing accepts a drop.
    list->setDragEnabled(false);
    list->setAcceptDrops(false);
    header->setBuddy(list);
    layout->addWidget(header);
    layout->addWidget(list, 1);
    return panel;
}

} // namespace

SelectionPage::SelectionPage(AircraftLibrary& library, const Settings& settings, QWidget* parent)
    : QWidget(parent), mLibrary(library), mSettings(settings) {
    setObjectName(QStringLiteral("ManufacturerPanel"));
    const bool german = settings.German();
    mSplitter = new QSplitter(Qt::Horizontal, this);
    mSplitter->setObjectName(QStringLiteral("SelectionSplitter"));
    mSplitter->setChildrenCollapsible(false);
    mSplitter->addWidget(ListPanel(mSplitter, "Panel7", "Label23", german, lbManufacturer, "lbManufacturer"));
    mSplitter->addWidget(ListPanel(mSplitter, "Panel2", "Label18", german, lbMaircraft, "lbMaircraft"));
    mSplitter->addWidget(ListPanel(mSplitter, "Panel1", "Label14", german, Alist, "Alist"));
    mSplitter->setStretchFactor(2, 1);
    Alist->setItemDelegate(new AlistDelegate(*this));
    Alist->setUniformItemSizes(true);

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("InfoPanel"));
    strip->setFixedHeight(kThumbnailHeight + 2);
    Image1 = new QLabel(strip);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(1, 1, kThumbnailWidth, kThumbnailHeight);
    Image1->setScaledContents(true);
    Image1->hide();
    auto* texts = new QWidget(strip);
    texts->setGeometry(kThumbnailWidth + 4, 0, 4000, kThumbnailHeight + 2);
    const char* valueNames[6] = {"lAirplanePath", "lTitle", "lManufacturer", "lVariation", "lCreator", "lAirPath"};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "la" + QByteArray::number(i + 1);
        auto* caption = new QLabel(CaptionOf(name.constData(), german), texts);
        caption->setObjectName(QString::fromLatin1(name));
        caption->setGeometry(8, 8 + 16 * i, 100, 16);
        auto* value = new QLabel(texts);
        value->setObjectName(QString::fromLatin1(valueNames[i]));
        value->setGeometry(110, 8 + 16 * i, 3800, 16);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        valueLabels[size_t(i)] = value;
    }
    mPackageCaption = new QLabel(Pick(kPackageCaption, german), texts);
    mPackageCaption->setObjectName(QStringLiteral("la7"));
    mPackageCaption->setGeometry(8, 8 + 16 * 6, 100, 16);
    lPackage = new QLabel(texts);
    lPackage->setObjectName(QStringLiteral("lPackage"));
    lPackage->setGeometry(110, 8 + 16 * 6, 3800, 16);
    lPackage->setTextInteractionFlags(Qt::TextSelectableByMouse);

    EmptyNote = new QLabel(this);
    EmptyNote->setObjectName(QStringLiteral("EmptyNote"));
    EmptyNote->setWordWrap(true);
    EmptyNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    EmptyNote->setMargin(8);
    EmptyNote->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(EmptyNote);
    layout->addWidget(mSplitter, 1);
    layout->addWidget(strip);

    // A list box reports keyboard moves as clicks too.
    connect(Alist, &QListWidget::currentRowChanged, this, [this] { AlistClick(); });
    connect(Alist, &QListWidget::itemDoubleClicked, this, [this] { AlistDblClick(); });
    connect(lbManufacturer, &QListWidget::currentRowChanged, this, [this] { lbManufacturerClick(); });
    connect(lbMaircraft, &QListWidget::currentRowChanged, this, [this] { lbMaircraftClick(); });
    connect(lbMaircraft, &QListWidget::itemDoubleClicked, this, [this] { lbMaircraftDblClick(); });
    Alist->installEventFilter(this);
    lbMaircraft->installEventFilter(this);
}

bool SelectionPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Alist) {
                AlistDblClick();
                return true;
            }
            if (watched == lbMaircraft) {
                lbMaircraftDblClick();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SelectionPage::SetLines(std::vector<AircraftLine> lines) {
    QScopedValueRollback<bool> guard(mFilling, true);
    mLines = std::move(lines);
    Alist->clear();
    for (const AircraftLine& line : mLines) {
        auto* item = new QListWidgetItem(FromUtf8(line.text), Alist);
        item->setData(kCodeRole, qlonglong(line.code));
    }
    mLastSelected = -1;
}

void SelectionPage::SetEmptyText(const QString& text) {
    EmptyNote->setText(text);
    EmptyNote->setVisible(!text.isEmpty());
}

void SelectionPage::SelectFirst() {
    if (mLines.empty()) {
        return;
    }
    {
        QScopedValueRollback<bool> guard(mFilling, true);
        Alist->setCurrentRow(0);
    }
    mLibrary.SetCurrent(DecodeAircraftCode(mLines.front().code));
    mLastSelected = 0;
    if (currentChanged) {
        currentChanged(Alist->item(0)->text());
    }
}

int SelectionPage::AlistRowOf(AircraftCode code) const {
    for (int row = 0; row < Alist->count(); ++row) {
        if (Alist->item(row)->data(kCodeRole).toLongLong() == code) {
            return row;
        }
    }
    return -1;
}

bool SelectionPage::RowShowsMark(int row) const {
    if (row < 0 || size_t(row) >= mLines.size()) {
        return false;
    }
    const AircraftIndex current = mLibrary.Current();
    return SharesFlightModel(mLibrary, mLines[size_t(row)].code,
                             MakeAircraftCode(current.entry, current.variation));
}

void SelectionPage::AlistClick() {
    const int row = Alist->currentRow();
    if (mFilling || row < 0 || row == mLastSelected) {
        return;
    }
    mLibrary.SetCurrent(DecodeAircraftCode(Alist->item(row)->data(kCodeRole).toLongLong()));
    if (currentChanged) {
        currentChanged(Alist->item(row)->text());
    }
    ShowAircraftInfo();
    if (!mSelectingFromManufacturer) {
        RebuildManufacturerLists();
    }
    Alist->viewport()->update(); // the marks follow the current variation
    mLastSelected = row;
}

void SelectionPage::AlistDblClick() {
    if (Alist->currentRow() >= 0 && openRequested) {
        openRequested();
    }
}

void SelectionPage::RebuildManufacturerLists() {
    {
        QScopedValueRollback<bool> guard(mFilling, true);
        lbManufacturer->clear();
        lbMaircraft->clear();
        const std::vector<std::string> manufacturers = ManufacturerList(mLibrary, mLines);
        for (const std::string& manufacturer : manufacturers) {
            auto* item = new QListWidgetItem(FromUtf8(manufacturer), lbManufacturer);
            item->setData(kBytesRole, QByteArray::fromStdString(manufacturer));
        }
        const int select = ManufacturerToSelect(manufacturers, mLibrary.CurrentVariation().manufacturer);
        if (select >= 0) {
            lbManufacturer->setCurrentRow(select);
        }
    }
    lbManufacturerClick();
}

void SelectionPage::lbManufacturerClick() {
    if (mFilling || lbManufacturer->currentItem() == nullptr) {
        return;
    }
    QScopedValueRollback<bool> guard(mFilling, true);
    lbMaircraft->clear();
    const std::string manufacturer =
        lbManufacturer->currentItem()->data(kBytesRole).toByteArray().toStdString();
    const AircraftIndex current = mLibrary.Current();
    const AircraftCode currentCode = MakeAircraftCode(current.entry, current.variation);
    for (const AircraftLine& line : AircraftOfManufacturer(mLibrary, mLines, manufacturer)) {
        auto* item = new QListWidgetItem(FromUtf8(line.text), lbMaircraft);
        item->setData(kCodeRole, qlonglong(line.code));
        // The current variation is shown selected in its manufacturer's list.
        if (line.code == currentCode) {
            lbMaircraft->setCurrentItem(item);
        }
    }
}

void SelectionPage::lbMaircraftClick() {
    if (mFilling || lbMaircraft->currentItem() == nullptr) {
        return;
    }
    QScopedValueRollback<bool> guard(mSelectingFromManufacturer, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int row = AlistRowOf(lbMaircraft->currentItem()->data(kCodeRole).toLongLong());
    if (row >= 0) {
        Alist->setCurrentRow(row);
        Alist->scrollToItem(Alist->item(row));
    }
    QApplication::restoreOverrideCursor();
}

void SelectionPage::lbMaircraftDblClick() {
    if (lbMaircraft->currentItem() == nullptr) {
        return;
    }
    lbMaircraftClick();
    if (openRequested) {
        openRequested();
    }
}

void SelectionPage::ShowAircraftInfo() {
    const Variation& variation = mLibrary.CurrentVariation();
    const std::string& folder = mLibrary.CurrentFolder();
    ShowThumbnail();
    const std::string airPath = variation.sim.empty() ? std::string() : ResolveNoCase(variation.sim + ".air");
    const std::string shownFolder =
        ShownAircraftFolder(folder, mSettings.fspath, SimulatorLabel(mSettings.fspath));
    valueLabels[0]->setText(DisplayPath(shownFolder));
    valueLabels[1]->setText(FromUtf8(variation.title));
    valueLabels[2]->setText(FromUtf8(variation.manufacturer));
    valueLabels[3]->setText(FromUtf8(variation.variation));
    valueLabels[4]->setText(FromUtf8(variation.createdBy));
    valueLabels[5]->setText(DisplayPath(airPath));
    const AircraftEntry* entry = mLibrary.Entry(mLibrary.Current().entry);
    QString package = entry != nullptr ? FromUtf8(entry->package) : QString();
    if (entry != nullptr && entry->versionMajor >= 1) {
        const QString ignored = Pick(kAirIgnored, mSettings.German()).arg(entry->versionMajor);
        package = package.isEmpty() ? ignored : package + QStringLiteral(" - ") + ignored;
    }
    lPackage->setText(package);
    mPackageCaption->setVisible(!package.isEmpty());
}

// The message belongs to the aircraft shown; a later selection takes it away, but not the
// scan's report that may stand in the status line.
void SelectionPage::ThumbnailStatus(const QString& text) {
    if (statusMessage && (!text.isEmpty() || mThumbnailStatusShown)) {
        statusMessage(text);
    }
    mThumbnailStatusShown = !text.isEmpty();
}

void SelectionPage::ShowThumbnail() {
    const Variation* variation = mLibrary.Find(mLibrary.Current());
    const std::string path = variation != nullptr ? ThumbnailPath(mLibrary.CurrentFolder(), *variation) : std::string();
    if (path.empty() || !IsRegularFile(path)) {
        Image1->hide();
        ThumbnailStatus({});
        return;
    }
    const JpegResult picture = DecodeJpegFile(path, kThumbnailWidth, kThumbnailHeight);
    const bool german = mSettings.German();
    const QString shown = DisplayPath(path);
    switch (picture.fault) {
    case JpegFault::None:
        ThumbnailStatus({});
        break;
    case JpegFault::NotJpeg:
        ThumbnailStatus(Pick(Texts::ThumbnailNotJpeg, german).arg(shown));
        break;
    case JpegFault::TooLarge:
        ThumbnailStatus(Pick(Texts::ThumbnailTooLarge, german).arg(shown, DisplayPath(picture.error)));
        break;
    case JpegFault::Damaged:
        ThumbnailStatus(Pick(Texts::ThumbnailDamaged, german).arg(shown));
        break;
    case JpegFault::Unreadable:
        ThumbnailStatus(Pick(Texts::ThumbnailUnreadable, german).arg(shown));
        break;
    }
    if (!picture.ok) {
        Image1->hide();
        return;
    }
    const RgbImage& image = picture.image;
    const QImage decoded(image.pixels.data(), image.width, image.height, image.width * 3,
                         QImage::Format_RGB888);
    Image1->setPixmap(QPixmap::fromImage(decoded.scaled(kThumbnailWidth, kThumbnailHeight,
                                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Image1->show();
}

void SelectionPage::ApplyPanelSizes(int manufacturerWidth, int perManufacturerWidth) {
    const int rest = std::max(width() - manufacturerWidth - perManufacturerWidth, 100);
    mSplitter->setSizes({manufacturerWidth, perManufacturerWidth, rest});
}

std::array<int, 2> SelectionPage::PanelSizes() const {
    const QList<int> sizes = mSplitter->sizes();
    return {sizes.value(0), sizes.value(1)};
}

} // namespace kelvara
