// Loading, introducing, listing and exiting the "*.kvr" plug-ins of a folder.
#include "PluginList.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

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
};

TEST_F(Plugins, InitialisedAndExitedInListOrderWithTheLanguageLetter) {
    std::filesystem::copy_file(NO_VENDOR_PLUGIN, mFolder.File("a-quiet.kvr"));
    std::filesystem::copy_file(FULL_PLUGIN, mFolder.File("b-full.kvr"));
    test::WriteFile(mFolder.File("c-broken.kvr"), std::string("not a library"));
    test::WriteFile(mFolder.File("full.so"), std::string("other extension"));
    {
        PluginList list;
        list.ScanPlugins({mFolder.Path()}, 'D');
        ASSERT_EQ(list.Entries().size(), 3u);
        EXPECT_EQ(gCalls, (std::vector<std::string>{"init Quiet plug-in D", "init Full plug-in D"}));
        EXPECT_EQ(list.ListPlugins(), (std::vector<std::string>{
                                          "Quiet plug-in", "    Version = 1.0", "    Vendor  = ",
                                          "    Comment = Testmodul", "Full plug-in", "    Version = 1.0",
                                          "    Vendor  = Kelvara tests", "    Comment = Testmodul", "",
                                          "    Version = ", "    Vendor  = ", "    Comment = "}));
        // Only the full plug-in has a menu; the broken file is listed without a module.
        EXPECT_TRUE(!list.Entries()[0].firstMenu && list.Entries()[1].firstMenu && !list.Entries()[2].module);
        gCalls.clear();
    } // the list ends with the program
    EXPECT_EQ(gCalls, (std::vector<std::string>{"exit Quiet plug-in", "exit Full plug-in"}));
}

TEST_F(Plugins, OnlyTheGivenFolderAndAtMostAHundred) {
    for (int i = 0; i < 60; ++i) {
        test::WriteFile(mFolder.File("junk" + std::to_string(1000 + i) + ".kvr"), std::string("x"));
    }
    PluginList list;
    list.ScanPlugins({mFolder.File("missing"), mFolder.Path(),
                      mFolder.Path()}, 'E'); // the cap is over all folders
    EXPECT_EQ(std::pair(list.Entries().size(), list.Entries().back().file), std::pair(kMaxPlugins, std::string("junk1039.kvr")));
    list.FreePluginList();
    EXPECT_TRUE(list.Entries().empty() && gCalls.empty());
}

} // namespace
} // namespace kelvara
