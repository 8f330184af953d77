// The folders searched for plug-ins: the program's own and the installed prefix's, never the
// current folder.
#include "PluginFolders.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

TEST(PluginFolders, ProgramFolderThenInstalledFolder) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"/usr/bin", {"/usr/bin", "/usr/lib/kelvara/plugins"}},
        {"/home/u/k/./bin/", {"/home/u/k/bin", "/home/u/k/lib/kelvara/plugins"}},
        {"", {}},
        {".", {}},
        {"bin", {}},
    };
    for (const auto& [programFolder, expected] : cases) {
        EXPECT_EQ(PluginFolders(programFolder), expected) << programFolder;
    }
}

} // namespace
} // namespace kelvara
