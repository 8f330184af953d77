// The aircraft scan: finds the container folders below the simulator folder (or takes the
// search paths), reads every aircraft folder in them, and hands one line per titled variation
// to the all-aircraft list.
#pragma once

#include "AircraftLibrary.h"
#include "SearchPath.h"

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

// What a scan looked at, so that an empty list can say why it is empty.
struct ScanCounts {
    // The active search paths read, or the simulator folder when discovery found none.
    std::vector<std::string> foldersSearched;
    size_t configFilesRead = 0;
    // Read, but without a [fltsim.N] section that has a sim entry.
    size_t configFilesWithoutSim = 0;
};

struct ScanHooks {
    ScanProgress* progress = nullptr;
    // The all-aircraft list.
    std::function<void(std::string text, AircraftCode code)> addLine;
    // Debug points; the texts are only built when this is set.
    std::function<void(std::string_view)> debug;
    // A folder or file that could not be read, with the reason.
    std::function<void(std::string_view)> problem;
    // Filled afresh by every scan when set.
    ScanCounts* counts = nullptr;
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
