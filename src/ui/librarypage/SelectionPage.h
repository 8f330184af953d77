// The selection page: all manufacturers, the aircraft of the selected manufacturer, all
// aircraft (owner-drawn, with the round mark of a shared ".air" file), and the information
// strip with the thumbnail of the current variation.
#pragma once

#include "AircraftLibrary.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QSplitter;

namespace kelvara {

class Settings;

class SelectionPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kThumbnailWidth = 256;
    static constexpr int kThumbnailHeight = 128;
    static constexpr int kRowHeight = 14;

    SelectionPage(AircraftLibrary& library, const Settings& settings, QWidget* parent = nullptr);

    // The all-aircraft list, already sorted.
    void SetLines(std::vector<AircraftLine> lines);
    [[nodiscard]] const std::vector<AircraftLine>& Lines() const { return mLines; }
    // Why the list is empty, above the lists; empty hides it.
    void SetEmptyText(const QString& text);
    // Selects the first line and makes it current, without the click's list rebuild.
    void SelectFirst();

    // What the page asks of the main window.
    std::function<void(const QString& lineText)> currentChanged; // caption and change flags
    std::function<void()> openRequested;                         // to the record page
    std::function<void(const QString& text)> statusMessage; // an empty text clears it

    void ShowAircraftInfo();
    // Manufacturer list, its selection and the aircraft of that manufacturer.
    void RebuildManufacturerLists();
    [[nodiscard]] bool SelectingFromManufacturer() const { return mSelectingFromManufacturer; }

    void AlistClick();
    void AlistDblClick();
    void lbManufacturerClick();
    void lbMaircraftClick();
    void lbMaircraftDblClick();

    // splitter5, splitter6.
    void ApplyPanelSizes(int manufacturerWidth, int perManufacturerWidth);
    [[nodiscard]] std::array<int, 2> PanelSizes() const;
    // The round mark rule for a row of Alist.
    [[nodiscard]] bool RowShowsMark(int row) const;

    QListWidget* lbManufacturer = nullptr;
    QListWidget* lbMaircraft = nullptr;
    QListWidget* Alist = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* EmptyNote = nullptr;
    std::array<QLabel*, 6> valueLabels{}; // path, title, manufacturer, variation, creator, .air
    // The package an add-on or MSFS aircraft came from, and whether MSFS still reads its .air.
    QLabel* lPackage = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowThumbnail();
    void ThumbnailStatus(const QString& text);
    [[nodiscard]] int AlistRowOf(AircraftCode code) const;

    AircraftLibrary& mLibrary;
    const Settings& mSettings;
    QLabel* mPackageCaption = nullptr;
    bool mThumbnailStatusShown = false;
    std::vector<AircraftLine> mLines;
    QSplitter* mSplitter = nullptr;
    int mLastSelected = -1;
    bool mSelectingFromManufacturer = false;
    bool mFilling = false;
};

} // namespace kelvara
