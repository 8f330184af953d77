// File and folder names as the simulator's configuration files write them, on a file system
// that tells letter case apart: "\" separators, "Aircraft.cfg" found as "aircraft.cfg".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// A path from a configuration value: "\" becomes "/".
[[nodiscard]] std::string FromConfigPath(std::string_view value);

// Folder + "/" + name, without doubling a trailing "/".
[[nodiscard]] std::string JoinFolder(std::string_view folder, std::string_view name);

// Each component matched without regard to letter case where such an entry exists, otherwise
// kept as written. A component with trailing dots or blanks ("texture.") also matches the name
// without them, as Windows does.
[[nodiscard]] std::string ResolveNoCase(const std::string& path);

// The regular file named name (letter case ignored) in folder; empty when there is none.
// A folder, FIFO or dangling link of that name does not count.
[[nodiscard]] std::string FindFileNoCase(const std::string& folder, std::string_view name);

// Both configuration files of an aircraft folder, found with one listing; error gets the
// reason when the folder cannot be listed.
struct ConfigFiles {
    std::string aircraftCfg;
    std::string simCfg;
    std::string error;
};
[[nodiscard]] ConfigFiles FindConfigFiles(const std::string& folder);

// Names of the subfolders of folder (links to folders included), sorted by name. error gets
// the reason when the folder cannot be listed; entries whose type cannot be told (a link loop)
// are left out and reported in skipped.
struct UnreadablePath {
    std::string path;
    std::string reason;
};
struct FolderListing {
    std::vector<std::string> folders;
    std::string error;
    std::vector<UnreadablePath> skipped;
};
[[nodiscard]] FolderListing ListSubfolders(const std::string& folder);

[[nodiscard]] bool IsFolder(const std::string& path);
[[nodiscard]] bool IsRegularFile(const std::string& path);

// Letter case folded for comparisons and sorting: ASCII and the Latin-1 letters of UTF-8 texts.
[[nodiscard]] std::string FoldCase(std::string_view utf8);

} // namespace kelvara
