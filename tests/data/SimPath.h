// Test-side stand-ins for the library's path rules: the "sim" value of an aircraft
// configuration turned into a path, and a file lookup that ignores letter case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kelvara::testdata {

// folder + "\" + value, each leading "..\" of a value longer than 3 characters climbing one
// folder up. Both texts use "\" as written in configuration files.
std::string SimPath(const std::string& folder, const std::string& value);

// Finds an existing file or folder whose path matches component by component without regard
// to letter case; "\" and "/" both separate components.
std::optional<std::filesystem::path> FindNoCase(const std::string& path);

// The path with "/" turned into "\".
std::string Backslashed(const std::string& path);

} // namespace kelvara::testdata
