// A write-protected trace file is left exactly as it is, even in a writable folder.
#include "DebugLog.h"
#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kelvara {
namespace {

TEST(DebugLog, ReadOnlyFileIsLeftAlone) {
    test::TempFolder folder;
    const std::string path = folder.File("_debug.txt");
    test::WriteFile(path, "kept\n");
    ::chmod(path.c_str(), 0444);
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    DebugLog log(true, folder.Path());
    log.WriteDebugPoint("main1");
    log.WriteDebugPoint("main2");
    struct stat after;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(test::ReadFile(path), "kept\n");
}

} // namespace
} // namespace kelvara
