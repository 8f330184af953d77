// Reading one aircraft folder's aircraft.cfg (or sim.cfg): its [fltsim.N] sections become the
// entry's variations.
#pragma once

#include "AircraftLibrary.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvara {

// Real configuration files are tens of kilobytes; a larger file is not read.
inline constexpr size_t kMaxConfigFileBytes = size_t{16} << 20;

// Reads folder's aircraft.cfg, or its sim.cfg when there is no readable aircraft.cfg (names
// matched without regard to letter case). Returns the entry's variation count; 0 without
// touching the entry when neither file (nor the folder) can be read, with the reason in
// problem. A file read that holds NUL bytes and no variation is named in problem too.
int ReadAircraftConfig(AircraftEntry& entry, const std::string& folder,
                       std::string* problem = nullptr);

// The section rules on a text already decoded to UTF-8. Returns the variation count.
int ReadAircraftConfigText(AircraftEntry& entry, const std::string& folder, std::string text);

// The ".air" path without extension that a sim value names: folder + "/" + value, each
// leading "..\" climbing one folder up ("..\C172\C172" in ...\Airplanes\Mine gives
// ...\Airplanes\C172\C172). Empty for an empty value.
[[nodiscard]] std::string SimPathFromValue(std::string_view folder, std::string_view value);

// Removes enclosing double quotes, pair after pair.
[[nodiscard]] std::string_view StripEnclosingQuotes(std::string_view value);

} // namespace kelvara
