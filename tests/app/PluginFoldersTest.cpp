// The folders searched for plug-ins: the program's own and the installed prefix's, never the
// current folder.
#include "PluginFolders.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

TEST(PluginFolders, ProgramFolderThenInstalledFolder) {
    const struct {
        const char* programFolder;
        std::vector<std::string> expected;
    } cases[] = {
        {"/usr/bin", {"/usr/bin", "/usr/lib/kelvara/plugins"}},
        {"/usr/bin/", {"/usr/bin", "/usr/lib/kelvara/plugins"}},
        {"/home/u/kelvara/build/./bin", {"/home/u/kelvara/build/bin", "/home/u/kelvara/build/lib/kelvara/plugins"}},
        {"", {}},
        {".", {}},
        {"bin", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PluginFolders(c.programFolder), c.expected) << c.programFolder;
    }
}

} // namespace
} // namespace kelvara
