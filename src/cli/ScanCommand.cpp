#include "ScanCommand.h"

#include "BrowserLists.h"
#include "FolderNames.h"
#include "Scan.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvara {

namespace {

constexpr const char* kScanUsage =
    "usage: kelvara-cli scan FSPATH [--searchpath DIR]...\n"
    "  without --searchpath the aircraft containers are found two levels below FSPATH\n";

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
    ScanHooks hooks;
    hooks.addLine = CollectLines(lines);
    hooks.problem = [](std::string_view text) {
        std::cerr << "kelvara-cli: skipped " << text << "\n";
    };
    ScanCounts counts;
    hooks.counts = &counts;
    const auto searched = [&counts] {
        std::string text;
        for (const std::string& folder : counts.foldersSearched) {
            text += (text.empty() ? "" : ", ") + folder;
        }
        return text;
    };
    if (Scan(folders, library, hooks) != ScanResultCode::Ok) {
        std::cerr << "kelvara-cli: no aircraft folder found in " << searched() << "\n";
        return 2;
    }
    if (lines.empty()) {
        std::cerr << "kelvara-cli: no aircraft listed from " << searched() << ": "
                  << counts.configFilesRead << " configuration files read, "
                  << counts.configFilesWithoutSim
                  << " of them without a [fltsim.N] section with a sim entry\n";
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
