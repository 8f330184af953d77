// Where the editor looks for "*.kvr" plug-ins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// programFolder: the folder of the program file. In order: that folder (the build folder, a
// Windows-like folder), then <prefix>/lib/kelvara/plugins of an installed program. The folders
// need not exist. Never the current folder, nor any relative one: a plug-in is code that runs,
// and starting the editor inside a downloaded folder must not run what lies there.
[[nodiscard]] std::vector<std::string> PluginFolders(std::string_view programFolder);

} // namespace kelvara
