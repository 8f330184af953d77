// The aircraft scan: finds the container folders below the simulator folder (or takes the
// search paths) and those of its packages, reads every aircraft folder in them, and hands one
// line per titled variation to the all-aircraft list.
#pragma once

#include "AircraftLibrary.h"
#include "SearchPath.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// What the scan reads from and writes back to the settings.
struct ScanFolders {
    std::string fspath;
    // Discovery fills it when it is empty at scan time.
    std::vector<SearchPath> searchPaths;
    // Set: the simulator folder's containers are discovered and added to the list where it
    // lacks them; the listed ones keep their flags. Then the flag is reset.
    uint8_t newsearch = 0;
};

// The progress window, as far as the scan needs it.
class ScanProgress {
  public:
    virtual ~ScanProgress() = default;
    virtual void ScanStarted() = 0;
    // Shown at once; the window repaints before the scan goes on.
    virtual void SetLabel(const std::string& text) = 0;
    virtual void ScanFinished() = 0;
};

// What the scan looked at, so that an empty list can be explained.
struct ScanSummary {
    // Containers were looked for below the simulator folder.
    bool discovered = false;
    // The simulator folder could not be listed, so discovery found nothing.
    bool simulatorFolderMissing = false;
    // The containers whose aircraft folders were read.
    std::vector<std::string> searchedFolders;
    size_t inactiveSearchPaths = 0;
    size_t configFilesRead = 0;
    // Files read that hold no [fltsim.N] section with a sim entry, and the first of them.
    size_t configFilesWithoutSim = 0;
    std::string firstWithoutSim;
    // Paths that could not be read, each counted once.
    size_t problems = 0;
    // MSFS aircraft folders left out: no variation names an existing ".air" file.
    size_t withoutAir = 0;
};

struct ScanHooks {
    ScanProgress* progress = nullptr;
    // Filled (reset first) when set.
    ScanSummary* summary = nullptr;
    // The all-aircraft list.
    std::function<void(std::string text, AircraftCode code)> addLine;
    // Debug points; the texts are only built when this is set.
    std::function<void(std::string_view)> debug;
    // A folder or file that could not be read, with the reason.
    std::function<void(std::string_view)> problem;
};

namespace ScanResultCode {
inline constexpr int Ok = 0;
inline constexpr int NoCandidate = -1;
} // namespace ScanResultCode

// Fills the library (reset first) and adds the lines in scan order. -1 when no candidate
// aircraft folder exists; the library is then empty.
int Scan(ScanFolders& folders, AircraftLibrary& library, const ScanHooks& hooks);

// A sink that keeps the lines, for callers that sort them afterwards.
[[nodiscard]] std::function<void(std::string, AircraftCode)> CollectLines(
    std::vector<AircraftLine>& lines);

} // namespace kelvara
