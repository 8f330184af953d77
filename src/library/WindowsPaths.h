// Windows paths from configuration files, mapped into the Wine prefix that holds them.
#pragma once

#include <string>
#include <string_view>

namespace kelvara {

// The nearest folder enclosing folder (its real path) that holds "drive_c"; empty when none does.
[[nodiscard]] std::string FindWinePrefix(const std::string& folder);

// "C:\x" is prefix/drive_c/x; another letter goes through the prefix's dosdevices link; a
// relative path is relative to base. Components are matched without regard to letter case.
// Empty for what the prefix cannot map (UNC names, "\x" without a drive, "C:x").
[[nodiscard]] std::string MapWindowsPath(const std::string& prefix, std::string_view path,
                                         const std::string& base);

// The path with links and "." / ".." resolved, for telling one folder reached twice; the path
// itself when it does not exist.
[[nodiscard]] std::string RealFolder(const std::string& path);

// The subfolder or file of folder named name without regard to letter case; empty when none.
[[nodiscard]] std::string ChildNoCase(const std::string& folder, std::string_view name);

} // namespace kelvara
