// Loading, introducing, listing and exiting the "*.kvr" plug-ins of a folder; files that are no
// plug-ins; a plug-in that crashes at start, run in a child process, and disabled after it.
#include "PluginList.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::vector<std::string> gCalls;
}

// Found by the test plug-ins in the running program.
extern "C" __attribute__((visibility("default"))) void KelvaraTestPluginCall(const char* plugin, const char* call,
                                                                       int32_t language) {
    gCalls.push_back(std::string(call) + " " + plugin + (language ? std::string(" ") + char(language) : ""));
}

namespace kelvara {
namespace {

using test::TempFolder;

class Plugins : public ::testing::Test {
protected:
    Plugins() { gCalls.clear(); }
    TempFolder mFolder;
    TempFolder mSettings; // where kvr.cfg and the start markers live
};

// True when a start in a child process did not end normally.
bool ChildStartCrashes(const std::string& folder, const std::string& markers) {
    const pid_t child = ::fork();
    if (child == 0) {
        PluginList list;
        list.ScanPlugins({folder}, {'E', markers});
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(Plugins, InitialisedAndExitedInListOrderWithTheLanguageLetter) {
    std::filesystem::copy_file(NO_VENDOR_PLUGIN, mFolder.File("a-quiet.kvr"));
    std::filesystem::copy_file(FULL_PLUGIN, mFolder.File("b-full.kvr"));
    std::filesystem::copy_file(BAD_TEXT_PLUGIN, mFolder.File("c-bad-text.kvr"));
    test::WriteFile(mFolder.File("d-text.kvr"), std::string("not a library"));
    std::filesystem::copy_file(NO_FUNCTIONS_PLUGIN, mFolder.File("e-none.kvr"));
    test::WriteFile(mFolder.File("full.so"), std::string("other extension"));
    {
        PluginList list;
        list.ScanPlugins({mFolder.Path()}, {'D', mSettings.Path()});
        ASSERT_EQ(list.Entries().size(), 5u);
        EXPECT_EQ(gCalls, (std::vector<std::string>{"init Quiet plug-in D", "init Full plug-in D",
                                                    "init Bad text plug-in D"}));
        std::vector<std::string> lines = list.ListPlugins();
        ASSERT_EQ(lines.size(), 17u);
        EXPECT_TRUE(lines[14].starts_with("    not a plug-in: ") && lines[14].size() > 19) << lines[14];
        lines.erase(lines.begin() + 14);
        // A text pointer into nowhere is not followed; the plug-in stays, and says so.
        EXPECT_EQ(lines, (std::vector<std::string>{
                             "Quiet plug-in", "    Version = 1.0", "    Vendor  = ", "    Comment = Testmodul",
                             "Full plug-in", "    Version = 1.0", "    Vendor  = Kelvara tests",
                             "    Comment = Testmodul", "Bad text plug-in", "    Version = ",
                             "    Vendor  = Kelvara tests", "    Comment = Testmodul",
                             "    its SP_Init handed back a text that cannot be read", "d-text.kvr", "e-none.kvr",
                             "    not a plug-in: it has none of the functions SP_Init, SP_Exit, "
                             "SP_GetFirstMenu, SP_GetNextMenu"}));
        // Only the full plug-in has a menu; no marker is left once the starts returned.
        EXPECT_TRUE(!list.Entries()[0].firstMenu && list.Entries()[1].firstMenu && !list.Entries()[3].module);
        EXPECT_TRUE(std::filesystem::is_empty(mSettings.Path()));
        gCalls.clear();
    } // the list ends with the program
    EXPECT_EQ(gCalls, (std::vector<std::string>{"exit Quiet plug-in", "exit Full plug-in", "exit Bad text plug-in"}));
}

TEST_F(Plugins, CrashAtStartDisablesThePluginUntilItIsReplaced) {
    std::filesystem::copy_file(FULL_PLUGIN, mFolder.File("a-full.kvr"));
    std::filesystem::copy_file(CRASH_PLUGIN, mFolder.File("b-crash.kvr"));
    // A portable program keeps kvr.cfg, and so the markers, beside its plug-ins.
    const std::string marker = PluginMarkerPath(mFolder.Path(), "b-crash.kvr");
    ASSERT_TRUE(ChildStartCrashes(mFolder.Path(), mFolder.Path()));
    EXPECT_EQ(test::ReadText(marker), mFolder.File("b-crash.kvr") + "\n");
    EXPECT_FALSE(std::filesystem::exists(PluginMarkerPath(mFolder.Path(), "a-full.kvr")));

    // The next starts skip it; only the first one after the crash has news to tell.
    for (const bool newly : {true, false}) {
        gCalls.clear();
        PluginList list;
        list.ScanPlugins({mFolder.Path()}, {'E', mFolder.Path()});
        EXPECT_EQ(gCalls, std::vector<std::string>{"init Full plug-in E"});
        ASSERT_EQ(list.Entries().size(), 2u);
        const PluginEntry& crashed = list.Entries()[1];
        EXPECT_EQ(std::tuple(crashed.state, crashed.newlyDisabled, crashed.marker, crashed.module),
                  std::tuple(PluginState::Disabled, newly, marker, nullptr));
        EXPECT_EQ(list.ListPlugins().back(),
                  "    disabled: did not finish starting at an earlier start; delete " + marker + " to try it again");
    }

    // Without plug-ins nothing runs, and every file is still listed.
    gCalls.clear();
    PluginList off;
    off.ScanPlugins({mFolder.Path()}, {'E', mFolder.Path(), false});
    EXPECT_TRUE(gCalls.empty());
    EXPECT_EQ(std::pair(off.Entries()[0].state, off.Entries()[1].state), std::pair(PluginState::Off, PluginState::Disabled));

    // A newer file in its place is tried again.
    struct stat info {};
    ASSERT_EQ(::stat(marker.c_str(), &info), 0);
    const timespec later[2] = {{info.st_mtim.tv_sec + 10, 0}, {info.st_mtim.tv_sec + 10, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, mFolder.File("b-crash.kvr").c_str(), later, 0), 0);
    EXPECT_TRUE(ChildStartCrashes(mFolder.Path(), mFolder.Path()));
}

TEST_F(Plugins, OnlyTheGivenFolderAndAtMostAHundred) {
    for (int i = 0; i < 60; ++i) {
        test::WriteFile(mFolder.File("junk" + std::to_string(1000 + i) + ".kvr"), std::string("x"));
    }
    PluginList list;
    list.ScanPlugins({mFolder.File("missing"), mFolder.Path(),
                      mFolder.Path()}, {}); // the cap is over all folders
    EXPECT_EQ(std::pair(list.Entries().size(), list.Entries().back().file), std::pair(kMaxPlugins, std::string("junk1039.kvr")));
    EXPECT_EQ(std::pair(list.BeyondLimit().size(), list.BeyondLimit().front()),
              std::pair(size_t{20}, mFolder.File("junk1040.kvr")));
    list.FreePluginList();
    EXPECT_TRUE(list.Entries().empty() && gCalls.empty());
}

} // namespace
} // namespace kelvara
