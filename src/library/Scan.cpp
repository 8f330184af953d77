#include "Scan.h"

#include "AircraftConfig.h"
#include "FolderNames.h"
#include "PackageFolders.h"
#include "WindowsPaths.h"

#include <unordered_set>

namespace kelvara {

namespace {

class ScanRun {
  public:
    ScanRun(ScanFolders& folders, AircraftLibrary& library, const ScanHooks& hooks)
        : mFolders(folders), mLibrary(library), mHooks(hooks) {}

    int Run();
    ScanSummary TakeSummary() { return std::move(mSummary); }

  private:
    void Debug(std::string_view point, std::string_view text = {}) const {
        if (mHooks.debug) {
            mHooks.debug(std::string(point) + std::string(text));
        }
    }
    void Label(const std::string& text) const {
        if (mHooks.progress != nullptr) {
            mHooks.progress->SetLabel(text);
        }
    }
    // Discovery and reading list the same folders: each path is reported once.
    void Problem(const std::string& path, const std::string& text) {
        if (!mReported.insert(path).second) {
            return;
        }
        ++mSummary.problems;
        if (mHooks.problem) {
            mHooks.problem(text);
        }
    }
    FolderListing List(const std::string& folder) {
        FolderListing listing = ListSubfolders(folder);
        if (!listing.error.empty()) {
            Problem(folder, folder + ": " + listing.error);
        }
        for (const UnreadablePath& skipped : listing.skipped) {
            Problem(skipped.path, skipped.path + ": " + skipped.reason);
        }
        return listing;
    }
    size_t Discover();
    size_t CountActive();
    [[nodiscard]] bool Listed(const std::string& folder) const {
        for (const SearchPath& path : mFolders.searchPaths) {
            if (path.folder == folder) {
                return true;
            }
        }
        return false;
    }
    void ReadAll();
    void ReadContainer(const std::string& container, const PackageContainer* package);

    std::vector<PackageContainer> mPackages;
    std::unordered_set<std::string> mContainersRead;

    ScanFolders& mFolders;
    AircraftLibrary& mLibrary;
    const ScanHooks& mHooks;
    ScanSummary mSummary;
    std::unordered_set<std::string> mReported;
};

// Containers are found exactly two levels below the simulator folder, aircraft three.
size_t ScanRun::Discover() {
    size_t candidates = 0;
    const std::string& root = mFolders.fspath;
    if (IsMsfsPackagesFolder(root)) {
        return 0; // its packages are looked up at every scan
    }
    if (std::string aircraft = Fs2004AircraftFolder(root); !aircraft.empty()) {
        candidates = List(aircraft).folders.size();
        if (candidates > 0) {
            mFolders.searchPaths.push_back({std::move(aircraft), 1});
        }
        return candidates;
    }
    Debug("aircraftlist3 ", JoinFolder(root, "*.*"));
    mSummary.discovered = true;
    const FolderListing top = List(root);
    mSummary.simulatorFolderMissing = !top.error.empty();
    for (const std::string& level1 : top.folders) {
        Debug("aircraftlist5 ", level1);
        const std::string path1 = JoinFolder(root, level1);
        Debug("aircraftlist6 ", JoinFolder(path1, "*.*"));
        for (const std::string& level2 : List(path1).folders) {
            const std::string path2 = JoinFolder(path1, level2);
            Label(level1 + "/" + level2);
            Debug("aircraftlist8 ", JoinFolder(path2, "*.*"));
            bool holdsAircraft = false;
            for (const std::string& level3 : List(path2).folders) {
                Debug("aircraftlist9 ", level3);
                const std::string folder = JoinFolder(path2, level3);
                // The usual spelling is found with one stat; only other folders are listed.
                // (The count only sizes the entry table.)
                if (const std::string usual = JoinFolder(folder, "aircraft.cfg"); IsRegularFile(usual)) {
                    Debug("aircraftlist13 ", usual);
                    ++candidates;
                    holdsAircraft = true;
                    continue;
                }
                const ConfigFiles files = FindConfigFiles(folder);
                if (!files.error.empty()) {
                    Problem(folder, folder + ": " + files.error);
                }
                if (!files.simCfg.empty()) {
                    Debug("aircraftlist11 ", files.simCfg);
                    ++candidates;
                    holdsAircraft = true;
                }
                if (!files.aircraftCfg.empty()) {
                    Debug("aircraftlist13 ", files.aircraftCfg);
                    ++candidates;
                    holdsAircraft = true;
                }
            }
            if (holdsAircraft && !Listed(path2)) {
                Debug("aircraftlist14 ", path2);
                mFolders.searchPaths.push_back({path2, 1});
            }
        }
    }
    return candidates;
}

size_t ScanRun::CountActive() {
    size_t candidates = 0;
    for (const SearchPath& path : mFolders.searchPaths) {
        if (path.active > 0) {
            Debug("aircraftlist15 ", JoinFolder(path.folder, "*.*"));
            for (const std::string& folder : List(path.folder).folders) {
                Debug("aircraftlist17 ", folder);
                ++candidates;
            }
        }
    }
    return candidates;
}

void ScanRun::ReadAll() {
    for (const SearchPath& path : mFolders.searchPaths) {
        Debug("aircraftlist18 ");
        if (path.active == 0) {
            continue;
        }
        ReadContainer(path.folder, nullptr);
    }
    for (const PackageContainer& package : mPackages) {
        ReadContainer(package.folder, &package);
    }
}

void ScanRun::ReadContainer(const std::string& container, const PackageContainer* package) {
    // A package inside a search path, or reached twice, is read once.
    if (!mContainersRead.insert(RealFolder(container)).second && package != nullptr) {
        return;
    }
    // MSFS aircraft without an ".air" file, or encrypted, are no fault of the package.
    const bool airRequired = package != nullptr && package->airRequired;
    std::vector<AircraftEntry>& entries = mLibrary.Entries();
    AircraftEntry fresh;
    Label(container);
    Debug("aircraftlist19 ", JoinFolder(container, "*.*"));
    for (const std::string& name : List(container).folders) {
        Debug("aircraftlist20 ", name);
        const std::string folder = JoinFolder(container, name);
        Debug("aircraftlist21 ", folder);
        std::string problem;
        int count = ReadAircraftConfig(fresh, folder, &problem);
        if (!problem.empty() && !airRequired) {
            Problem(folder, problem);
        }
        if (airRequired) {
            std::erase_if(fresh.variations, [](const Variation& variation) {
                return !IsRegularFile(ResolveNoCase(variation.sim + ".air"));
            });
            count = static_cast<int>(fresh.variations.size());
            mSummary.withoutAir += count == 0 && !fresh.configPath.empty() ? 1 : 0;
        }
        if (!fresh.configPath.empty()) {
            ++mSummary.configFilesRead;
            if (count == 0 && !airRequired && mSummary.configFilesWithoutSim++ == 0) {
                mSummary.firstWithoutSim = fresh.configPath;
            }
        }
        const auto entryIndex = static_cast<int32_t>(entries.size());
        bool listed = false;
        for (int v = 0; v < count; ++v) {
            const Variation& variation = fresh.variations[static_cast<size_t>(v)];
            Debug("aircraftlist23 ", folder + " - " + variation.title);
            if (!variation.title.empty()) {
                if (mHooks.addLine) {
                    mHooks.addLine(variation.title + " - " + variation.variation,
                                   MakeAircraftCode(entryIndex, v));
                }
                listed = true;
            }
        }
        if (listed) {
            Debug("aircraftlist22 ", folder);
            if (package != nullptr) {
                fresh.package = package->package;
            }
            entries.push_back(std::move(fresh));
        }
        fresh = AircraftEntry{};
    }
}

int ScanRun::Run() {
    Debug("aircraftlist1");
    mLibrary.Reset();
    if (mHooks.progress != nullptr) {
        mHooks.progress->ScanStarted();
    }
    size_t candidates = 0;
    if (mFolders.newsearch == 1) {
        Debug("aircraftlist2");
        mFolders.newsearch = 0;
        // The paths listed stay with their flags: most were added by the user.
        const bool kept = !mFolders.searchPaths.empty();
        candidates = Discover();
        if (kept) {
            candidates = CountActive();
        }
    } else {
        candidates = mFolders.searchPaths.empty() ? Discover() : CountActive();
    }
    mPackages = IsMsfsPackagesFolder(mFolders.fspath)
                    ? MsfsContainers(mFolders.fspath)
                    : Prepar3dContainers(mFolders.fspath, [this](std::string_view text) {
                          Problem(std::string(text), std::string(text));
                      });
    candidates += mPackages.size();
    for (const SearchPath& path : mFolders.searchPaths) {
        if (path.active > 0) {
            mSummary.searchedFolders.push_back(path.folder);
        } else {
            ++mSummary.inactiveSearchPaths;
        }
    }
    for (const PackageContainer& package : mPackages) {
        mSummary.searchedFolders.push_back(package.folder);
    }
    if (candidates == 0) {
        if (mHooks.progress != nullptr) {
            mHooks.progress->ScanFinished();
        }
        return ScanResultCode::NoCandidate;
    }
    mLibrary.Entries().reserve(candidates);
    ReadAll();
    if (mHooks.progress != nullptr) {
        mHooks.progress->ScanFinished();
    }
    return ScanResultCode::Ok;
}

} // namespace

int Scan(ScanFolders& folders, AircraftLibrary& library, const ScanHooks& hooks) {
    ScanRun run(folders, library, hooks);
    const int result = run.Run();
    if (hooks.summary != nullptr) {
        *hooks.summary = run.TakeSummary();
    }
    return result;
}

std::function<void(std::string, AircraftCode)> CollectLines(std::vector<AircraftLine>& lines) {
    return [&lines](std::string text, AircraftCode code) {
        lines.push_back({std::move(text), code});
    };
}

} // namespace kelvara
