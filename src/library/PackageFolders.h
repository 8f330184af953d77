// Aircraft containers outside the simulator's own folders: the add-on packages of Prepar3D
// v4-v6 in its Wine prefix, and the package folders of MSFS 2020/2024. Both are looked up
// afresh at every scan, as packages come and go with the simulator's own tools.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct PackageContainer {
    std::string folder;  // holds aircraft folders, like a search path
    std::string package; // the package's name for the information strip
    // MSFS: only variations whose ".air" file exists are listed, and a broken or encrypted
    // aircraft.cfg is no problem to report.
    bool airRequired = false;
};

using ProblemSink = std::function<void(std::string_view)>;

// 4, 5 or 6 when the folder's own name is "Prepar3D vN" (any letter case), else 0.
[[nodiscard]] int Prepar3dVersion(std::string_view folder);

// The containers of the active add-on packages of the Prepar3D folder fspath. Nothing when
// fspath is no Prepar3D v4-v6 folder or lies in no Wine prefix. A package reached twice comes
// once; broken add-on.xml and add-ons.cfg files are reported and skipped.
[[nodiscard]] std::vector<PackageContainer> Prepar3dContainers(const std::string& fspath,
                                                               const ProblemSink& problem);

// A folder holding Community, Official, Community2024, Official2020 or Official2024.
[[nodiscard]] bool IsMsfsPackagesFolder(const std::string& folder);
// SimObjects/Airplanes and SimObjects/Rotorcraft of every package.
[[nodiscard]] std::vector<PackageContainer> MsfsContainers(const std::string& folder);

// The folder named by the line InstalledPackagesPath "X:\..." of an MSFS UserCfg.opt, as
// written; empty when there is none.
[[nodiscard]] std::string InstalledPackagesPath(std::string_view userCfg);

// A simulator folder a Wine prefix may hold, and the simulator's name for the welcome.
struct PrefixSimulator {
    std::string folder;
    std::string simulator;
};
// The Prepar3D v4-v6 default folders (whether they exist or not), then the MSFS package
// folders that the UserCfg.opt files of the prefix's users name, mapped into the prefix.
[[nodiscard]] std::vector<PrefixSimulator> SimulatorsInPrefix(const std::string& prefix);
// The UserCfg.opt files SimulatorsInPrefix reads, as "<prefix>/drive_c/users/*/…" patterns, to
// name the places searched.
[[nodiscard]] std::vector<PrefixSimulator> MsfsSettingsPlaces(const std::string& prefix);

// The simulator a folder belongs to, as its aircraft folders are shown ("<MSFS>/Community/…"):
// "Prepar3D", "MSFS", "FS2004", or "FSX" for every other folder.
[[nodiscard]] std::string SimulatorLabel(const std::string& fspath);

// The Aircraft folder of an FS2004 folder (one without SimObjects); empty otherwise.
[[nodiscard]] std::string Fs2004AircraftFolder(const std::string& fspath);

} // namespace kelvara
