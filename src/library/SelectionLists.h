// The selection page's lists built from the all-aircraft list: sorting, manufacturers, the aircraft
// of one manufacturer, the round mark, the shown folder texts.
#pragma once

#include "AircraftLibrary.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// Alphabetical with letter case ignored, as a sorted list box orders; equal texts keep their
// scan order.
void SortAircraftLines(std::vector<AircraftLine>& lines);

// The manufacturer of a line's variation as the lists show it: " " for an empty one.
[[nodiscard]] std::string ListedManufacturer(const AircraftLibrary& library, AircraftCode code);

// Every distinct manufacturer of the lines (exact comparison, so "CESSNA" and "Cessna" are
// two), sorted with letter case ignored.
[[nodiscard]] std::vector<std::string> ManufacturerList(const AircraftLibrary& library,
                                                        const std::vector<AircraftLine>& lines);

// The line to select: the last one equal to the current variation's manufacturer as stored
// (an empty one matches nothing), else 0; -1 for an empty list.
[[nodiscard]] int ManufacturerToSelect(const std::vector<std::string>& manufacturers,
                                       const std::string& currentManufacturer);

// The titles of the lines whose manufacturer is the given list text, sorted like the list.
[[nodiscard]] std::vector<AircraftLine> AircraftOfManufacturer(
    const AircraftLibrary& library, const std::vector<AircraftLine>& lines,
    const std::string& manufacturer);

// The round mark: both variations use one ".air" file (sim compared without letter case).
[[nodiscard]] bool SharesFlightModel(const AircraftLibrary& library, AircraftCode a, AircraftCode b);

// The aircraft folder with a leading fspath (letter case ignored) shown as "<FSX>", or as the
// label given ("<MSFS>").
[[nodiscard]] std::string ShownAircraftFolder(std::string_view folder, std::string_view fspath,
                                              std::string_view label = "FSX");

} // namespace kelvara
