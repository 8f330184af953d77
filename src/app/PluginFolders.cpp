#include "PluginFolders.h"

#include <filesystem>

#ifndef KELVARA_PLUGINS_FROM_BIN
#define KELVARA_PLUGINS_FROM_BIN "../lib/kelvara/plugins"
#endif

namespace kelvara {

std::vector<std::string> PluginFolders(std::string_view programFolder) {
    if (programFolder.empty() || programFolder.front() != '/') {
        return {};
    }
    std::filesystem::path program = std::filesystem::path(programFolder).lexically_normal();
    if (!program.has_filename() && program.has_relative_path()) {
        program = program.parent_path(); // "/usr/bin/" is "/usr/bin"
    }
    const std::filesystem::path installed = (program / KELVARA_PLUGINS_FROM_BIN).lexically_normal();
    std::vector<std::string> folders{program.string()};
    if (installed != program) {
        folders.push_back(installed.string());
    }
    return folders;
}

} // namespace kelvara
