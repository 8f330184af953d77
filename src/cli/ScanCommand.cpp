#include "ScanCommand.h"

#include "FolderNames.h"
#include "Scan.h"
#include "SelectionLists.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvara {

namespace {

constexpr const char* kScanUsage =
    "usage: kelvara-cli scan FSPATH [--searchpath DIR]...\n"
    "  without --searchpath the aircraft containers are found two levels below FSPATH\n"
    "  (Aircraft in FS2004); the add-on packages of a Prepar3D v4-v6 folder in a Wine prefix\n"
    "  and the packages of an MSFS packages folder are always read\n";

// An empty list says where it looked and what it found there.
void ExplainEmpty(const ScanFolders& folders, const ScanSummary& summary, bool noCandidate) {
    std::string text;
    if (summary.simulatorFolderMissing) {
        text = "kelvara-cli: the simulator folder " + folders.fspath + " cannot be read\n";
    } else if (noCandidate && summary.discovered) {
        text = "kelvara-cli: no aircraft folder found below " + folders.fspath + "\n";
    } else {
        text = noCandidate ? "kelvara-cli: no aircraft folder found in the search paths\n"
                           : "kelvara-cli: no aircraft found\n";
    }
    for (const std::string& folder : summary.searchedFolders) {
        text += "  searched " + folder + "\n";
    }
    if (!noCandidate) {
        text += "  " + std::to_string(summary.configFilesRead) + " configuration files read, " +
                std::to_string(summary.configFilesWithoutSim) +
                " without a [fltsim.N] section that has a sim entry";
        text += summary.firstWithoutSim.empty() ? "\n" : " (" + summary.firstWithoutSim + ")\n";
    }
    if (summary.discovered) {
        text += "  aircraft folders are expected in the folders two levels below the simulator folder, as " +
                JoinFolder(folders.fspath, "SimObjects/Airplanes/NAME/aircraft.cfg") + "\n";
    } else {
        text += "  aircraft folders are expected in the search paths, as SEARCHPATH/NAME/aircraft.cfg\n";
    }
    std::cerr << text;
}

} // namespace

int RunScanCommand(int argc, char** argv) {
    ScanFolders folders;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--searchpath" && i + 1 < argc) {
            folders.searchPaths.push_back({argv[++i], 1});
        } else if (folders.fspath.empty() && !arg.empty() && arg.rfind("--", 0) != 0) {
            folders.fspath = arg;
        } else {
            std::cerr << "kelvara-cli: unexpected argument " << arg << "\n" << kScanUsage;
            return 1;
        }
    }
    if (folders.fspath.empty()) {
        std::cerr << "kelvara-cli: scan needs FSPATH\n" << kScanUsage;
        return 1;
    }

    AircraftLibrary library;
    std::vector<AircraftLine> lines;
    ScanSummary summary;
    ScanHooks hooks;
    hooks.summary = &summary;
    hooks.addLine = CollectLines(lines);
    hooks.problem = [](std::string_view text) {
        std::cerr << "kelvara-cli: skipped " << text << "\n";
    };
    if (Scan(folders, library, hooks) != ScanResultCode::Ok) {
        ExplainEmpty(folders, summary, true);
        return 2;
    }
    if (summary.withoutAir > 0) {
        std::cerr << "kelvara-cli: " << summary.withoutAir << " aircraft without an .air file\n";
    }
    if (lines.empty()) {
        ExplainEmpty(folders, summary, false);
    }
    SortAircraftLines(lines);

    // Variations share .air files; each is looked up once.
    std::unordered_map<std::string, std::string> resolved;
    std::string out;
    for (const AircraftLine& line : lines) {
        const std::string& sim = library.Find(line.code)->sim;
        auto found = resolved.find(sim);
        if (found == resolved.end()) {
            found = resolved.emplace(sim, ResolveNoCase(sim + ".air")).first;
        }
        out += line.text;
        out += '\t';
        out += found->second;
        out += '\n';
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::cerr << "kelvara-cli: could not write the output\n";
        return 2;
    }
    return 0;
}

} // namespace kelvara
