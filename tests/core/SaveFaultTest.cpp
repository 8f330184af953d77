// Saving under faults: every system call of a save fails in turn, or the process is killed
// before it. Nothing may cost a byte of the ".air" file or of a backup.
#include "AirFileReader.h"
#include "AirFileWriter.h"
#include "ByteIO.h"
#include "RecordDictionary.h"

#include "AirFileBuilder.h"
#include "FaultySystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using namespace test;

// Six versions: the target holds 9, backup n holds 9 - n. Each is several write pieces long.
std::vector<uint8_t> Version(int n) {
    AirFileBuilder builder;
    for (int i = 0; i < 5; ++i) {
        builder.Record(0x1300 + static_cast<uint32_t>(i), test::Le16(static_cast<int16_t>(n)));
    }
    return builder.Bytes();
}

const std::vector<std::string> kNames = {"plane.air",      "plane.kvr1.air", "plane.kvr2.air",
                                         "plane.kvr3.air", "plane.kvr4.air", "plane.kvr5.air"};

class SaveFaults : public ::testing::Test {
protected:
    void SetUp() override {
        mDictionary.LoadFromText("[records]\n1300=Rpm,int16\n");
        for (size_t i = 0; i < kNames.size(); ++i) {
            WriteFile(mFolder.File(kNames[i]), Version(9 - static_cast<int>(i)));
        }
        ASSERT_EQ(ReadAirFile(mFolder.File("plane.air"), mDictionary, {}, mTree).code, 0);
        WriteLE<int16_t>(mTree.Root(0)->record.Bytes(), 10);
        mNew = SerializeAirFile(mTree);
    }
    int Save(std::string* detail = nullptr) {
        return WriteAirFile(mTree, SaveNamesForFile(mFolder.File("plane.air")), detail);
    }
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(mFolder.Path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    void ExpectUnchanged() {
        for (size_t i = 0; i < kNames.size(); ++i) {
            EXPECT_EQ(ReadFile(mFolder.File(kNames[i])), Version(9 - static_cast<int>(i))) << kNames[i];
        }
        EXPECT_EQ(Listing(), std::set<std::string>(kNames.begin(), kNames.end()));
    }
    void ExpectSaved() {
        EXPECT_EQ(ReadFile(mFolder.File("plane.air")), mNew);
        for (size_t i = 1; i < kNames.size(); ++i) {
            EXPECT_EQ(ReadFile(mFolder.File(kNames[i])), Version(10 - static_cast<int>(i))) << kNames[i];
        }
        EXPECT_FALSE(fs::exists(mFolder.File("plane.kvr.air")));
    }

    test::TempFolder mFolder;
    RecordDictionary mDictionary;
    RecordTree mTree;
    std::vector<uint8_t> mNew;
};

TEST_F(SaveFaults, EveryFaultKeepsEveryFileOrCompletesTheSave) {
    const int pieces = static_cast<int>((Version(0).size() + FaultySystem::kWritePiece - 1) / FaultySystem::kWritePiece);
    struct Case {
        std::string name;
        Call call;
        int occurrence;
        int error;
        int result;
        bool saved;
    };
    std::vector<Case> cases = {
        {"read-only folder", Call::Open, 1, EROFS, WriteResultCode::CannotWriteTemporary, false},
        {"no permission in the folder", Call::Open, 1, EACCES, WriteResultCode::CannotWriteTemporary, false},
        {"fsync fails", Call::Fsync, 1, EIO, WriteResultCode::CannotWriteTemporary, false},
        {"close fails", Call::Close, 1, EIO, WriteResultCode::CannotWriteTemporary, false},
        {"deleting backup 5 fails", Call::Unlink, 1, EACCES, WriteResultCode::Ok, true},
        {"folder sync fails", Call::SyncFolder, 1, EIO, WriteResultCode::Ok, true},
    };
    for (int write = 1; write <= pieces; ++write) {
        cases.push_back({"disk full at write " + std::to_string(write), Call::Write, write, ENOSPC,
                         WriteResultCode::CannotWriteTemporary, false});
    }
    // Backup 5 is set aside, backups 4..1 and the target move up, the new file moves in.
    for (int rename = 1; rename <= 7; ++rename) {
        cases.push_back({"rename " + std::to_string(rename) + " of the rotation fails", Call::Rename, rename, EACCES,
                         WriteResultCode::BackupFailed, false});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        FaultySystem system(c.call, c.occurrence, c.error);
        std::string detail;
        int result;
        {
            test::ScopedSaveSystem scoped(system);
            result = Save(&detail);
        }
        EXPECT_EQ(result, c.result);
        EXPECT_NE(detail.find(std::strerror(c.error)), std::string::npos) << detail;
        if (!c.saved) {
            ExpectUnchanged();
            continue;
        }
        ExpectSaved();
        if (c.call == Call::Unlink) {
            // The set-aside oldest copy stays until the next save clears it away.
            EXPECT_TRUE(fs::exists(mFolder.File("plane.kvr5.air.old0")));
            ASSERT_EQ(Save(), 0);
            EXPECT_EQ(Listing(), std::set<std::string>(kNames.begin(), kNames.end()));
        }
    }
}

TEST_F(SaveFaults, WriteProtectedTargetIsRefusedBeforeAFileIsCreated) {
    ::chmod(mFolder.File("plane.air").c_str(), 0444);
    EXPECT_EQ(CountSteps([&] { EXPECT_EQ(Save(), WriteResultCode::WriteProtected); }), 0);
    ExpectUnchanged();
}

// A child process saves and is killed before each system call of the save in turn. Afterwards
// the target or backup 1 holds a complete old or new version that the command-line check accepts.
TEST_F(SaveFaults, KilledAtEveryStepLeavesACompleteVersion) {
    const int steps = CountSteps([&] { ASSERT_EQ(Save(), 0); });
    ASSERT_GT(steps, 10);
    for (int step = 1; step <= steps; ++step) {
        SCOPED_TRACE("killed before step " + std::to_string(step));
        SetUp();
        ASSERT_TRUE(KilledBefore(step, [&] { (void)Save(); }));

        bool complete = false;
        for (const char* name : {"plane.air", "plane.kvr1.air"}) {
            const std::string path = mFolder.File(name);
            const auto bytes = ReadFile(path);
            if (fs::exists(path) && (bytes == Version(9) || bytes == mNew)) {
                const std::string check = std::string(KELVARA_CLI) + " --ini /dev/null check '" + path + "' >/dev/null 2>&1";
                EXPECT_EQ(std::system(check.c_str()), 0) << path;
                complete = true;
            }
        }
        EXPECT_TRUE(complete);
        // Whatever the kill left, the next save succeeds and puts the new version in place.
        ASSERT_EQ(Save(), 0);
        EXPECT_EQ(ReadFile(mFolder.File("plane.air")), mNew);
        EXPECT_FALSE(fs::exists(mFolder.File("plane.kvr.air")));
    }
}

} // namespace
} // namespace kelvara
