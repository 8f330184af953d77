// The debug trace file: off, fresh per run, text as it stands, failures ignored.
#include "DebugLog.h"
#include "AppTestSupport.h"
#include "Settings.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(DebugLog, EachRunStartsANewFileWithTheTextAsItStands) {
    TempFolder folder;
    WriteFile(folder.File("_debug.txt"), "left from before\n");
    DebugLog(false, folder.Path()).WriteDebugPoint("main1");
    EXPECT_EQ(ReadFile(folder.File("_debug.txt")), "left from before\n") << "off touches nothing";

    const std::string texts[] = {"aircraftlist3 /sim/100%s %n %d folder", "", "tab\there",
                                 std::string("nul\0byte", 8)};
    for (int run = 0; run < 2; ++run) {
        DebugLog log(true, folder.Path() + "/");
        std::string expected;
        for (const std::string& text : texts) {
            log.WriteDebugPoint(text);
            expected += text + "\n";
        }
        EXPECT_EQ(ReadFile(folder.File("_debug.txt")), expected);
    }
}

TEST(DebugLog, SwitchAndFolderComeFromSettings) {
    TempFolder folder;
    WriteFile(folder.File("kvr.cfg"), "debug = 1\n");
    Settings settings;
    settings.Load(folder.Path());
    DebugLog log(settings);
    EXPECT_TRUE(log.Enabled());
    log.WriteDebugPoint("main5");
    EXPECT_EQ(ReadFile(folder.File("_debug.txt")), "main5\n");
}

TEST(DebugLog, UnwritableLogIsIgnored) {
    TempFolder folder;
    // A folder in the file's place cannot be deleted or opened, even by root.
    folder.MakeFolder("_debug.txt/inside");
    DebugLog blocked(true, folder.Path());
    blocked.WriteDebugPoint("main1");
    blocked.WriteDebugPoint("main2");
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("_debug.txt/inside")));
}

} // namespace
} // namespace kelvara
