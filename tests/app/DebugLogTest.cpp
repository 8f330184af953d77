// The debug trace file: off, fresh per run, text as it stands, an unwritable one left alone.
#include "DebugLog.h"
#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kelvara {
namespace {

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

// A log that cannot be written is left exactly as it is, even in a writable folder: a folder
// in the file's place (which root cannot open either) or a write-protected file.
TEST(DebugLog, UnwritableLogIsLeftAlone) {
    for (const bool protectedFile : {false, true}) {
        TempFolder folder;
        const std::string path = folder.File("_debug.txt");
        protectedFile ? WriteFile(path, "kept\n") : (void)folder.MakeFolder("_debug.txt/inside");
        ::chmod(path.c_str(), protectedFile ? 0444 : 0755);
        struct stat before;
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        DebugLog log(true, folder.Path());
        log.WriteDebugPoint("main1");
        log.WriteDebugPoint("main2");
        struct stat after;
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << protectedFile;
        EXPECT_TRUE(protectedFile ? ReadFile(path) == "kept\n"
                                  : std::filesystem::is_directory(path + "/inside"));
    }
}

} // namespace
} // namespace kelvara
