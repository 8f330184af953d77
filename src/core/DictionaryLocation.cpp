#include "DictionaryLocation.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef KELVARA_DATA_FROM_BIN
#define KELVARA_DATA_FROM_BIN "../share/kelvara"
#endif

namespace kelvara {

namespace {

bool IsAbsolute(std::string_view folder) { return !folder.empty() && folder.front() == '/'; }

std::string InFolder(std::string_view folder, std::string_view relative) {
    std::filesystem::path path(folder);
    path /= relative;
    path /= kDictionaryFileName;
    return path.lexically_normal().string();
}

bool IsReadableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

} // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

std::vector<std::string> DictionaryCandidates(std::string_view programFolder,
                                              std::string_view xdgDataHome,
                                              std::string_view home) {
    std::vector<std::string> candidates;
    // A relative $XDG_DATA_HOME is invalid by the XDG rules; the default applies then.
    if (IsAbsolute(xdgDataHome)) {
        candidates.push_back(InFolder(xdgDataHome, "kelvara"));
    } else if (IsAbsolute(home)) {
        candidates.push_back(InFolder(home, ".local/share/kelvara"));
    }
    if (IsAbsolute(programFolder)) {
        candidates.push_back(InFolder(programFolder, "."));
        candidates.push_back(InFolder(programFolder, KELVARA_DATA_FROM_BIN));
    }
    return candidates;
}

DictionaryLookup FindDictionary(std::string_view programFolder) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    DictionaryLookup lookup;
    lookup.searched = DictionaryCandidates(programFolder, xdg ? xdg : "", HomeFolder());
    for (const std::string& candidate : lookup.searched) {
        if (IsReadableFile(candidate)) {
            lookup.path = candidate;
            break;
        }
    }
    return lookup;
}

bool IsInstalledProgram(std::string_view programFolder) {
    return IsAbsolute(programFolder) && !IsReadableFile(InFolder(programFolder, ".")) &&
           IsReadableFile(InFolder(programFolder, KELVARA_DATA_FROM_BIN));
}

std::string DictionaryLookupText(const DictionaryLookup& lookup) {
    if (lookup.Found()) {
        return std::string(kDictionaryFileName) + ": " + lookup.path;
    }
    std::string text = std::string(kDictionaryFileName) + " not found in:";
    for (const std::string& place : lookup.searched) {
        text += " " + place;
    }
    return text;
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !program.is_absolute()) {
        return {};
    }
    return program.parent_path().string();
}

} // namespace kelvara
