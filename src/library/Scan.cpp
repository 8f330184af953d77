#include "Scan.h"

#include "AircraftConfig.h"
#include "FolderNames.h"

namespace kelvara {

namespace {

class ScanRun {
  public:
    ScanRun(ScanFolders& folders, AircraftLibrary& library, const ScanHooks& hooks)
        : mFolders(folders), mLibrary(library), mHooks(hooks) {}

    int Run();

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
    FolderListing List(const std::string& folder) const {
        FolderListing listing = ListSubfolders(folder);
        if (mHooks.problem) {
            if (!listing.error.empty()) {
                mHooks.problem(folder + ": " + listing.error);
            }
            for (const std::string& skipped : listing.skipped) {
                mHooks.problem(skipped);
            }
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

    ScanFolders& mFolders;
    AircraftLibrary& mLibrary;
    const ScanHooks& mHooks;
};

// Containers are found exactly two levels below the simulator folder, aircraft three.
size_t ScanRun::Discover() {
    size_t candidates = 0;
    const std::string& root = mFolders.fspath;
    Debug("aircraftlist3 ", JoinFolder(root, "*.*"));
    for (const std::string& level1 : List(root).folders) {
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
            for (const std::string& folder : ListSubfolders(path.folder).folders) {
                Debug("aircraftlist17 ", folder);
                ++candidates;
            }
        }
    }
    return candidates;
}

void ScanRun::ReadAll() {
    std::vector<AircraftEntry>& entries = mLibrary.Entries();
    AircraftEntry fresh;
    for (const SearchPath& path : mFolders.searchPaths) {
        Debug("aircraftlist18 ");
        if (path.active == 0) {
            continue;
        }
        Label(path.folder);
        if (mHooks.counts != nullptr) {
            mHooks.counts->foldersSearched.push_back(path.folder);
        }
        Debug("aircraftlist19 ", JoinFolder(path.folder, "*.*"));
        for (const std::string& name : List(path.folder).folders) {
            Debug("aircraftlist20 ", name);
            const std::string folder = JoinFolder(path.folder, name);
            Debug("aircraftlist21 ", folder);
            std::string problem;
            const int count = ReadAircraftConfig(fresh, folder, &problem);
            if (!problem.empty() && mHooks.problem) {
                mHooks.problem(problem);
            }
            if (mHooks.counts != nullptr && !fresh.configPath.empty()) {
                ++mHooks.counts->configFilesRead;
                mHooks.counts->configFilesWithoutSim += count == 0 ? 1 : 0;
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
                entries.push_back(std::move(fresh));
            }
            fresh = AircraftEntry{};
        }
    }
}

int ScanRun::Run() {
    Debug("aircraftlist1");
    mLibrary.Reset();
    if (mHooks.counts != nullptr) {
        *mHooks.counts = ScanCounts{};
    }
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
    if (candidates == 0) {
        if (mHooks.counts != nullptr) {
            for (const SearchPath& path : mFolders.searchPaths) {
                if (path.active != 0) {
                    mHooks.counts->foldersSearched.push_back(path.folder);
                }
            }
            if (mHooks.counts->foldersSearched.empty()) {
                mHooks.counts->foldersSearched.push_back(mFolders.fspath);
            }
        }
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
    return ScanRun(folders, library, hooks).Run();
}

std::function<void(std::string, AircraftCode)> CollectLines(std::vector<AircraftLine>& lines) {
    return [&lines](std::string text, AircraftCode code) {
        lines.push_back({std::move(text), code});
    };
}

} // namespace kelvara
