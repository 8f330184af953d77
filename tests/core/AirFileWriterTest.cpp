// Saving: bytes written, backup rotation, and that no failure loses the old file or a backup.
#include "AirFileReader.h"
#include "AirFileWriter.h"
#include "ByteIO.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using namespace test;

class Writer : public ::testing::Test {
protected:
    Writer() {
        mDictionary.LoadFromText("[records]\n1204=Engine,record\n1300=Rpm,int16\n[1204]\n1=0x02,int16,B\n");
        mPath = mFolder.File("plane.air");
    }
    void Load(const std::vector<uint8_t>& bytes) {
        WriteFile(mPath, bytes);
        ASSERT_EQ(ReadAirFile(mPath, mDictionary, {}, mTree).code, 0);
    }
    std::vector<uint8_t> Version(int n) {
        return AirFileBuilder().Record(0x1300, Le16(static_cast<int16_t>(n))).Bytes();
    }
    bool Exists(const std::string& name) { return fs::exists(mFolder.File(name)); }

    test::TempFolder mFolder;
    RecordDictionary mDictionary;
    RecordTree mTree;
    std::string mPath;
};

TEST(SaveNames, BackupNamesFromThePath) {
    const SaveNames names = SaveNamesForFile("/planes/trainer.air");
    EXPECT_EQ(names.target, "/planes/trainer.air");
    EXPECT_EQ(names.temporary, "/planes/trainer.kvr.air");
    EXPECT_EQ(names.backups[4], "/planes/trainer.kvr5.air");
    // Searching back, the first "." or folder separator ends the base.
    for (const auto& [path, newest] : std::vector<std::pair<std::string, std::string>>{
             {"/x/PLANE.AIR", "/x/PLANE.kvr1.air"}, {"/x.d/plane", "/x.d/kvr1.air"},
             {"C:\\x\\plane", "C:\\x\\kvr1.air"}, {"plane", "kvr1.air"}}) {
        EXPECT_EQ(SaveNamesForFile(path).backups[0], newest);
    }
    EXPECT_EQ(SaveNamesForFlightModel("/sim/trainer").backups[2], "/sim/trainer.kvr3.air");
    EXPECT_EQ(SaveNamesForFlightModel("/sim/trainer").target, "/sim/trainer.air");
}

TEST_F(Writer, SixSavesRotateFiveBackups) {
    Load(Version(0));
    for (int save = 1; save <= 6; ++save) {
        WriteLE<int16_t>(mTree.Root(0)->record.Bytes(), static_cast<int16_t>(save));
        ASSERT_EQ(WriteAirFile(mTree, SaveNamesForFile(mPath)), 0);
        EXPECT_EQ(ReadFile(mPath), Version(save));
        EXPECT_EQ(ReadFile(mFolder.File("plane.kvr1.air")), Version(save - 1));
        EXPECT_EQ(Exists("plane.kvr2.air"), save >= 2);
        EXPECT_FALSE(Exists("plane.kvr.air"));
    }
    // After the sixth save the first version is gone and the oldest backup holds version 1.
    EXPECT_EQ(ReadFile(mFolder.File("plane.kvr5.air")), Version(1));
    EXPECT_EQ(std::distance(fs::directory_iterator(mFolder.Path()), fs::directory_iterator()), 6);
}

TEST_F(Writer, RecordsWrittenAscendingAndStructuredRecordsOnce) {
    const auto original = AirFileBuilder()
                              .Record(0x1300, Le16(7))
                              .Record(0x1204, {1, 2, 3, 4})
                              .Record(0x0010, {9})
                              .Bytes();
    Load(original);
    RecordNode* field = mTree.FindRecord(0x1204)->Child(0);
    ASSERT_EQ(ApplyNumberEdit(*field, "-2", '.').status, EditStatus::Ok);
    ASSERT_EQ(WriteAirFile(mTree, SaveNamesForFile(mPath)), 0);
    EXPECT_EQ(ReadFile(mPath), AirFileBuilder()
                                   .Record(0x0010, {9})
                                   .Record(0x1204, {1, 2, 0xFE, 0xFF})
                                   .Record(0x1300, Le16(7))
                                   .Bytes());
    EXPECT_EQ(ReadFile(mFolder.File("plane.kvr1.air")), original);
}

TEST_F(Writer, SavingThroughALinkWritesTheLinkedFileAndKeepsItsMode) {
    fs::create_directory(mFolder.File("real"));
    const std::string real = mFolder.File("real/plane.air");
    WriteFile(real, Version(1));
    ::chmod(real.c_str(), 0600);
    fs::create_symlink("real/plane.air", mPath);
    ASSERT_EQ(ReadAirFile(mPath, mDictionary, {}, mTree).code, 0);
    WriteLE<int16_t>(mTree.Root(0)->record.Bytes(), 2);
    ASSERT_EQ(WriteAirFile(mTree, SaveNamesForFile(mPath)), 0);
    EXPECT_TRUE(fs::is_symlink(mPath));
    EXPECT_EQ(ReadFile(mPath), Version(2));
    EXPECT_EQ(ReadFile(mFolder.File("real/plane.kvr1.air")), Version(1));
    EXPECT_FALSE(Exists("plane.kvr1.air"));
    struct stat st;
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

} // namespace
} // namespace kelvara
