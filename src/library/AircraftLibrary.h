// The aircraft found by the scan: one entry per aircraft folder with its variations (the
// [fltsim.N] sections), the current one, and the code that names a variation in the lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara {

// Variation and entry index in one number. The entry index takes the low 32 bits, so that no
// library is too large for it (the code of three decimal digits would stop at 1000 entries).
using AircraftCode = int64_t;
inline constexpr int64_t kAircraftCodeEntrySpan = int64_t{1} << 32;

struct AircraftIndex {
    int32_t entry = 0;
    int32_t variation = 0;
    bool operator==(const AircraftIndex&) const = default;
};

[[nodiscard]] constexpr AircraftCode MakeAircraftCode(int32_t entry, int32_t variation) {
    return int64_t{variation} * kAircraftCodeEntrySpan + entry;
}
[[nodiscard]] constexpr AircraftIndex DecodeAircraftCode(AircraftCode code) {
    return {static_cast<int32_t>(code % kAircraftCodeEntrySpan),
            static_cast<int32_t>(code / kAircraftCodeEntrySpan)};
}

// One [fltsim.N] section that has a sim value. Texts are UTF-8; sim is the full path of the
// ".air" file without its extension.
struct Variation {
    std::string title;
    std::string sim;
    std::string manufacturer; // ui_manufacturer
    std::string variation;    // ui_variation
    std::string createdBy;    // ui_createdby
    std::string texture;
    std::string thumbnailFile; // ui_thumbnailfile
};

struct AircraftEntry {
    std::string configPath; // the aircraft.cfg or sim.cfg that was read
    std::string folder;     // without a trailing "/"
    std::vector<Variation> variations;
    std::string package;  // the add-on or MSFS package it came from; empty in the simulator folder
    int versionMajor = -1; // [VERSION] major; from 1 on MSFS no longer reads the ".air" file
};

// One line of the all-aircraft list: title + " - " + variation.
struct AircraftLine {
    std::string text;
    AircraftCode code = 0;
};

class AircraftLibrary {
  public:
    // No entries, current 0 and 0.
    void Reset();

    [[nodiscard]] std::vector<AircraftEntry>& Entries() { return mEntries; }
    [[nodiscard]] const std::vector<AircraftEntry>& Entries() const { return mEntries; }
    [[nodiscard]] int Count() const { return static_cast<int>(mEntries.size()); }

    void SetCurrent(AircraftIndex index) { mCurrent = index; }
    [[nodiscard]] AircraftIndex Current() const { return mCurrent; }

    // Null when the indexes name nothing (an empty library's current 0 and 0).
    [[nodiscard]] const AircraftEntry* Entry(int32_t entry) const;
    [[nodiscard]] const Variation* Find(AircraftIndex index) const;
    [[nodiscard]] const Variation* Find(AircraftCode code) const { return Find(DecodeAircraftCode(code)); }
    // The current variation's texts, or empty ones.
    [[nodiscard]] const Variation& CurrentVariation() const;
    [[nodiscard]] const std::string& CurrentFolder() const;
    // sim + ".air"; empty when the current variation names nothing.
    [[nodiscard]] std::string CurrentAirPath() const;

  private:
    std::vector<AircraftEntry> mEntries;
    AircraftIndex mCurrent{};
};

} // namespace kelvara
