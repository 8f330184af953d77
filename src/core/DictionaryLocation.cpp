#include "DictionaryLocation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
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

// The whole file, or nothing when it cannot be read; dictionaries are small.
std::optional<std::string> WholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) {
        return std::nullopt;
    }
    return bytes;
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

DictionaryPlaces DictionaryCandidates(std::string_view programFolder,
                                      std::string_view xdgConfigHome, std::string_view xdgDataHome,
                                      std::string_view home) {
    DictionaryPlaces places;
    // A relative XDG folder is invalid by the XDG rules; the default applies then.
    const auto xdg = [&](std::string_view folder, std::string_view fallback) {
        if (IsAbsolute(folder)) {
            return InFolder(folder, "kelvara");
        }
        return IsAbsolute(home) ? InFolder(home, fallback) : std::string();
    };
    places.user = xdg(xdgConfigHome, ".config/kelvara");
    places.oldUser = xdg(xdgDataHome, ".local/share/kelvara");
    if (IsAbsolute(programFolder)) {
        places.bundled.push_back(InFolder(programFolder, "."));
        places.bundled.push_back(InFolder(programFolder, KELVARA_DATA_FROM_BIN));
    }
    return places;
}

DictionaryLookup FindDictionary(std::string_view programFolder) {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value ? value : "");
    };
    const DictionaryPlaces places = DictionaryCandidates(
        programFolder, variable("XDG_CONFIG_HOME"), variable("XDG_DATA_HOME"), HomeFolder());
    DictionaryLookup lookup;
    lookup.userPlace = places.user;
    for (const std::string* place : {&places.user, &places.oldUser}) {
        if (!place->empty()) {
            lookup.searched.push_back(*place);
        }
    }
    lookup.searched.insert(lookup.searched.end(), places.bundled.begin(), places.bundled.end());
    std::string bundled;
    for (const std::string& candidate : places.bundled) {
        if (IsReadableFile(candidate)) {
            bundled = candidate;
            break;
        }
    }
    if (!places.user.empty() && IsReadableFile(places.user)) {
        lookup.path = places.user;
    } else if (!places.oldUser.empty() && IsReadableFile(places.oldUser) &&
               (bundled.empty() || WholeFile(places.oldUser) != WholeFile(bundled))) {
        lookup.path = places.oldUser;
        lookup.oldPlace = true;
    } else {
        lookup.path = bundled;
    }
    return lookup;
}

std::string DataFolder(std::string_view programFolder) {
    if (!IsAbsolute(programFolder)) {
        return {};
    }
    return (std::filesystem::path(programFolder) / KELVARA_DATA_FROM_BIN).lexically_normal().string();
}

bool IsInstalledProgram(std::string_view programFolder) {
    return IsAbsolute(programFolder) && !IsReadableFile(InFolder(programFolder, ".")) &&
           IsReadableFile(InFolder(programFolder, KELVARA_DATA_FROM_BIN));
}

std::string DictionaryLookupText(const DictionaryLookup& lookup) {
    if (lookup.oldPlace) {
        return std::string(kDictionaryFileName) + ": " + lookup.path + " (the old place; move it to " +
               lookup.userPlace + ")";
    }
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
