#include "PackageFolders.h"

#include "AddOnXml.h"
#include "AircraftConfig.h"
#include "CfgReader.h"
#include "FileBytes.h"
#include "FolderNames.h"
#include "TextUtil.h"
#include "Windows1252.h"
#include "WindowsPaths.h"

#include <set>

namespace kelvara {

namespace {

// Add-on descriptions and add-ons.cfg files are a few kilobytes.
constexpr uint64_t kMaxAddOnFileBytes = uint64_t{4} << 20;

std::string_view LastComponent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A folder below folder reached through names matched without regard to letter case.
std::string Below(std::string folder, std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        if (folder.empty()) {
            break;
        }
        folder = ChildNoCase(folder, name);
    }
    return IsFolder(folder) ? folder : std::string();
}

struct CfgEntry {
    std::string folder;
    bool active = true;
    bool discovery = false; // [DiscoveryPath.N], else [Package.N]
};

class AddOnSearch {
  public:
    AddOnSearch(std::string prefix, int version, const ProblemSink& problem)
        : mPrefix(std::move(prefix)), mSimName("Prepar3D v" + std::to_string(version)),
          mProblem(problem) {}

    std::vector<PackageContainer> Run();

  private:
    void Report(const std::string& text) const {
        if (mProblem) {
            mProblem(text);
        }
    }
    void ReadAddOnsCfg(const std::string& folder);
    void Discover(const std::string& folder, bool reportMissing);
    void ReadPackage(const std::string& folder);

    std::string mPrefix;
    std::string mSimName;
    const ProblemSink& mProblem;
    std::vector<CfgEntry> mEntries;
    std::set<std::string> mInactive;    // real folders of switched-off packages
    std::set<std::string> mInactivePaths; // and of switched-off discovery paths
    std::vector<std::string> mCandidates;
    std::set<std::string> mSeenPackages;
    std::set<std::string> mSeenContainers;
    std::vector<PackageContainer> mResult;
};

void AddOnSearch::ReadAddOnsCfg(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    const std::string path = FindFileNoCase(folder, "add-ons.cfg");
    if (path.empty()) {
        return;
    }
    FileReadResult file = ReadRegularFile(path, kMaxAddOnFileBytes);
    if (file.status != FileReadStatus::Ok) {
        Report(file.message);
        return;
    }
    CfgReader reader;
    reader.LoadText(DecodeConfigText(file.bytes));
    std::string line;
    LineKind kind = reader.NextLine(line);
    while (kind != LineKind::EndOfData) {
        if (kind != LineKind::Section ||
            !(line.starts_with("package.") || line.starts_with("discoverypath."))) {
            kind = reader.NextLine(line);
            continue;
        }
        const std::string section = line;
        CfgEntry entry;
        entry.discovery = section.starts_with("discoverypath.");
        std::string written;
        for (kind = reader.NextLine(line); kind != LineKind::EndOfData && kind != LineKind::Section;
             kind = reader.NextLine(line)) {
            if (kind != LineKind::KeyValue) {
                continue;
            }
            const std::string key = ToLower(line);
            const std::string_view value = Trim(reader.Value());
            if (key == "path") {
                written = std::string(StripEnclosingQuotes(value));
            } else if (key == "active") {
                entry.active = ToLower(value) != "false";
            }
        }
        if (written.empty()) {
            Report(path + ": [" + section + "] has no PATH");
            continue;
        }
        entry.folder = MapWindowsPath(mPrefix, written, folder);
        if (entry.folder.empty()) {
            Report(path + ": [" + section + "] PATH " + written + " lies outside the Wine prefix");
            continue;
        }
        mEntries.push_back(std::move(entry));
    }
}

void AddOnSearch::Discover(const std::string& folder, bool reportMissing) {
    if (folder.empty() || mInactivePaths.contains(RealFolder(folder))) {
        return;
    }
    const FolderListing listing = ListSubfolders(folder);
    if (!listing.error.empty()) {
        if (reportMissing) {
            Report(folder + ": " + listing.error);
        }
        return;
    }
    for (const UnreadablePath& skipped : listing.skipped) {
        Report(skipped.path + ": " + skipped.reason);
    }
    for (const std::string& name : listing.folders) {
        const std::string package = JoinFolder(folder, name);
        if (!FindFileNoCase(package, "add-on.xml").empty()) {
            mCandidates.push_back(package);
        }
    }
}

void AddOnSearch::ReadPackage(const std::string& folder) {
    const std::string real = RealFolder(folder);
    if (mInactive.contains(real) || !mSeenPackages.insert(real).second) {
        return;
    }
    if (!IsFolder(folder)) {
        Report(folder + ": no such package folder");
        return;
    }
    const std::string xmlPath = FindFileNoCase(folder, "add-on.xml");
    if (xmlPath.empty()) {
        Report(folder + ": no add-on.xml");
        return;
    }
    const FileReadResult file = ReadRegularFile(xmlPath, kMaxAddOnFileBytes);
    if (file.status != FileReadStatus::Ok) {
        Report(file.message);
        return;
    }
    const AddOnDescription description = ParseAddOnXml(file.bytes);
    if (!description.error.empty()) {
        Report(xmlPath + ": " + description.error);
        return;
    }
    const std::string name =
        description.name.empty() ? std::string(LastComponent(folder)) : description.name;
    for (const AddOnComponent& component : description.components) {
        if (ToLower(component.category) != "simobjects") {
            continue;
        }
        const std::string container = MapWindowsPath(mPrefix, component.path, folder);
        if (component.path.empty() || container.empty() || !IsFolder(container)) {
            Report(xmlPath + ": SimObjects folder not found: " + component.path);
            continue;
        }
        if (mSeenContainers.insert(RealFolder(container)).second) {
            mResult.push_back({container, name, false});
        }
    }
}

std::vector<PackageContainer> AddOnSearch::Run() {
    const std::string driveC = Below(mPrefix, {"drive_c"});
    std::vector<std::string> users;
    const std::string usersFolder = Below(driveC, {"users"});
    if (!usersFolder.empty()) {
        for (const std::string& user : ListSubfolders(usersFolder).folders) {
            users.push_back(JoinFolder(usersFolder, user));
        }
    }
    for (const std::string& user : users) {
        for (const char* appData : {"Local", "Roaming"}) {
            ReadAddOnsCfg(Below(user, {"AppData", appData, "Lockheed Martin", mSimName}));
        }
    }
    ReadAddOnsCfg(Below(driveC, {"ProgramData", "Lockheed Martin", mSimName}));
    for (const CfgEntry& entry : mEntries) {
        if (!entry.active) {
            (entry.discovery ? mInactivePaths : mInactive).insert(RealFolder(entry.folder));
        }
    }

    for (const std::string& user : users) {
        Discover(Below(user, {"Documents", mSimName + " Add-ons"}), false);
        Discover(Below(user, {"Documents", mSimName + " Files", "add-ons"}), false);
    }
    for (const CfgEntry& entry : mEntries) {
        if (entry.active && entry.discovery) {
            Discover(entry.folder, true);
        }
    }
    for (const CfgEntry& entry : mEntries) {
        if (entry.active && !entry.discovery) {
            mCandidates.push_back(entry.folder);
        }
    }
    for (const std::string& candidate : mCandidates) {
        ReadPackage(candidate);
    }
    return std::move(mResult);
}

bool IsMsfsTopFolder(std::string_view name, bool* official) {
    const std::string folded = FoldCase(name);
    *official = folded == "official";
    return *official || folded == "community" || folded == "community2024" ||
           folded == "official2020" || folded == "official2024";
}

} // namespace

int Prepar3dVersion(std::string_view folder) {
    const std::string name = FoldCase(LastComponent(folder));
    for (const int version : {4, 5, 6}) {
        if (name == "prepar3d v" + std::to_string(version)) {
            return version;
        }
    }
    return 0;
}

std::vector<PackageContainer> Prepar3dContainers(const std::string& fspath, const ProblemSink& problem) {
    const int version = Prepar3dVersion(RealFolder(fspath));
    if (version == 0) {
        return {};
    }
    std::string prefix = FindWinePrefix(fspath);
    if (prefix.empty()) {
        return {};
    }
    return AddOnSearch(std::move(prefix), version, problem).Run();
}

bool IsMsfsPackagesFolder(const std::string& folder) {
    bool official = false;
    for (const std::string& name : ListSubfolders(folder).folders) {
        if (IsMsfsTopFolder(name, &official)) {
            return true;
        }
    }
    return false;
}

std::vector<PackageContainer> MsfsContainers(const std::string& folder) {
    std::vector<std::string> packages;
    for (const std::string& top : ListSubfolders(folder).folders) {
        bool official = false;
        if (!IsMsfsTopFolder(top, &official)) {
            continue;
        }
        const std::string topFolder = JoinFolder(folder, top);
        for (const std::string& name : ListSubfolders(topFolder).folders) {
            const std::string below = JoinFolder(topFolder, name);
            if (!official) {
                packages.push_back(below);
                continue;
            }
            for (const std::string& package : ListSubfolders(below).folders) {
                packages.push_back(JoinFolder(below, package));
            }
        }
    }
    std::vector<PackageContainer> containers;
    std::set<std::string> seen;
    for (const std::string& package : packages) {
        for (const char* kind : {"Airplanes", "Rotorcraft"}) {
            const std::string container = Below(package, {"SimObjects", kind});
            if (!container.empty() && seen.insert(RealFolder(container)).second) {
                containers.push_back({container, std::string(LastComponent(package)), true});
            }
        }
    }
    return containers;
}

std::string InstalledPackagesPath(std::string_view userCfg) {
    constexpr std::string_view kKey = "installedpackagespath";
    size_t start = 0;
    while (start < userCfg.size()) {
        size_t end = userCfg.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = userCfg.size();
        }
        const std::string_view line = Trim(userCfg.substr(start, end - start));
        start = end + 1;
        if (line.size() > kKey.size() && ToLower(line.substr(0, kKey.size())) == kKey &&
            (line[kKey.size()] == ' ' || line[kKey.size()] == '\t' || line[kKey.size()] == '"')) {
            return std::string(StripEnclosingQuotes(Trim(line.substr(kKey.size()))));
        }
    }
    return {};
}

namespace {

struct UserCfgPlace {
    const char* path; // below the user's folder
    const char* simulator;
};
constexpr UserCfgPlace kUserCfgs[] = {
    {"AppData/Roaming/Microsoft Flight Simulator/UserCfg.opt", "MSFS 2020"},
    {"AppData/Local/Packages/Microsoft.FlightSimulator_8wekyb3d8bbwe/LocalCache/UserCfg.opt", "MSFS 2020"},
    {"AppData/Roaming/Microsoft Flight Simulator 2024/UserCfg.opt", "MSFS 2024"},
    {"AppData/Local/Packages/Microsoft.Limitless_8wekyb3d8bbwe/LocalCache/UserCfg.opt", "MSFS 2024"},
};

} // namespace

std::vector<PrefixSimulator> MsfsSettingsPlaces(const std::string& prefix) {
    std::vector<PrefixSimulator> places;
    for (const UserCfgPlace& place : kUserCfgs) {
        places.push_back({JoinFolder(prefix, std::string("drive_c/users/*/") + place.path), place.simulator});
    }
    return places;
}

std::vector<PrefixSimulator> SimulatorsInPrefix(const std::string& prefix) {
    std::vector<PrefixSimulator> found;
    const std::string driveC = JoinFolder(prefix, "drive_c");
    for (const int version : {4, 5, 6}) {
        const std::string name = "Prepar3D v" + std::to_string(version);
        found.push_back({ResolveNoCase(JoinFolder(driveC, "Program Files/Lockheed Martin/" + name)), name});
    }
    const std::string users = Below(driveC, {"users"});
    const std::vector<std::string> names = users.empty() ? std::vector<std::string>() : ListSubfolders(users).folders;
    for (const UserCfgPlace& place : kUserCfgs) {
        for (const std::string& user : names) {
            const std::string path = ResolveNoCase(JoinFolder(JoinFolder(users, user), place.path));
            const FileReadResult file = ReadRegularFile(path, kMaxAddOnFileBytes);
            const std::string written =
                file.status == FileReadStatus::Ok ? InstalledPackagesPath(DecodeConfigText(file.bytes)) : std::string();
            const std::string folder = written.empty() ? std::string() : MapWindowsPath(prefix, written, driveC);
            if (!folder.empty()) {
                found.push_back({folder, place.simulator});
            }
        }
    }
    return found;
}

std::string SimulatorLabel(const std::string& fspath) {
    if (Prepar3dVersion(RealFolder(fspath)) > 0) { // as the scan decides it
        return "Prepar3D";
    }
    if (IsMsfsPackagesFolder(fspath)) {
        return "MSFS";
    }
    return Fs2004AircraftFolder(fspath).empty() ? "FSX" : "FS2004";
}

std::string Fs2004AircraftFolder(const std::string& fspath) {
    const std::string aircraft = Below(fspath, {"Aircraft"});
    return !aircraft.empty() && Below(fspath, {"SimObjects"}).empty() ? aircraft : std::string();
}

} // namespace kelvara
