// Saving: bytes written and backup rotation. Then under faults: every system call of a save
// fails in turn, or the process is killed before it; nothing may cost a byte of the ".air" file
// or of a backup. Last, the text export of a whole file.
#include "AirFileReader.h"
#include "AirFileWriter.h"
#include "AsciiExport.h"
#include "ByteIO.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"

#include "AirFileBuilder.h"
#include "FaultySystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
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
    EXPECT_EQ(std::tuple(names.target, names.temporary, names.backups[4]),
              std::tuple("/planes/trainer.air", "/planes/trainer.kvr.air", "/planes/trainer.kvr5.air"));
    // Searching back, the first "." or folder separator ends the base.
    for (const auto& [path, newest] : std::vector<std::pair<std::string, std::string>>{
             {"/x/PLANE.AIR", "/x/PLANE.kvr1.air"}, {"/x.d/plane", "/x.d/kvr1.air"},
             {"C:\\x\\plane", "C:\\x\\kvr1.air"}, {"plane", "kvr1.air"}}) {
        EXPECT_EQ(SaveNamesForFile(path).backups[0], newest);
    }
    const SaveNames model = SaveNamesForFlightModel("/sim/trainer");
    EXPECT_EQ(std::tuple(model.backups[2], model.target), std::tuple("/sim/trainer.kvr3.air", "/sim/trainer.air"));
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

// Six versions: the target holds 9, backup n holds 9 - n. Each is several write pieces long.
std::vector<uint8_t> Generation(int n) {
    AirFileBuilder builder;
    for (int i = 0; i < 5; ++i) {
        builder.Record(0x1300 + static_cast<uint32_t>(i), test::Le16(static_cast<int16_t>(n)));
    }
    return builder.Bytes();
}

const std::vector<std::string> kNames = {"plane.air",      "plane.kvr1.air", "plane.kvr2.air",
                                         "plane.kvr3.air", "plane.kvr4.air", "plane.kvr5.air"};

class SaveFaults : public Writer {
protected:
    void SetUp() override {
        for (size_t i = 1; i < kNames.size(); ++i) {
            WriteFile(mFolder.File(kNames[i]), Generation(9 - static_cast<int>(i)));
        }
        Load(Generation(9));
        WriteLE<int16_t>(mTree.Root(0)->record.Bytes(), 10);
        mNew = SerializeAirFile(mTree);
    }
    int Save(std::string* detail = nullptr) { return WriteAirFile(mTree, SaveNamesForFile(mPath), detail); }
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(mFolder.Path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    void ExpectUnchanged() {
        for (size_t i = 0; i < kNames.size(); ++i) {
            EXPECT_EQ(ReadFile(mFolder.File(kNames[i])), Generation(9 - static_cast<int>(i))) << kNames[i];
        }
        EXPECT_EQ(Listing(), std::set<std::string>(kNames.begin(), kNames.end()));
    }
    void ExpectSaved() {
        EXPECT_EQ(ReadFile(mFolder.File("plane.air")), mNew);
        for (size_t i = 1; i < kNames.size(); ++i) {
            EXPECT_EQ(ReadFile(mFolder.File(kNames[i])), Generation(10 - static_cast<int>(i))) << kNames[i];
        }
        EXPECT_FALSE(fs::exists(mFolder.File("plane.kvr.air")));
    }

    std::vector<uint8_t> mNew;
};

TEST_F(SaveFaults, EveryFaultKeepsEveryFileOrCompletesTheSave) {
    const int pieces = static_cast<int>((Generation(0).size() + FaultySystem::kWritePiece - 1) / FaultySystem::kWritePiece);
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
            if (fs::exists(path) && (bytes == Generation(9) || bytes == mNew)) {
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

const char* kDictionary =
    "[records]\n0=Zero,int16\n1001=Title,text\n1101=Wing area,float\n1204=Engine data,record\n"
    "1500=Ratio,double\n"
    "[1204]\n1=Limits\n2=0x00,int16,Max RPM\n"
    "[1101]\n1=0x00,int8,Never used: not a structured record\n";

std::string Export(const std::vector<uint8_t>& bytes, int delimiter, NumberStyle style,
                   const char* dictionaryText) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(dictionaryText);
    RecordTree tree;
    EXPECT_EQ(ReadAirBytes(bytes, dictionary, {true, style}, tree).code, 0);
    std::ostringstream out;
    ExportAscii(tree, dictionary, delimiter, style, out);
    return out.str();
}

// Delimiter 1 comma, 2 semicolon, 3 tab, anything else a comma; decimal 1 turns the locale's
// comma into a period; the first of duplicate records; nothing without a dictionary.
TEST(ExportAscii, Lines) {
    using B = AirFileBuilder;
    const auto example = B().Record(0x1204, test::Le16(2400))
                             .Record(0x1101, test::LeFloat(2.5f))
                             .Record(0x1001, test::TextBytes("Trainer"))
                             .Record(0x7777, {1});
    const auto wing = B().Record(0x1101, test::LeFloat(2.5f));
    const auto half = B().Record(0x1500, test::LeDouble(0.5));
    const auto twice = B().Record(0x0000, test::Le16(5)).Record(0x1500, test::LeDouble(1)).Record(0x1500, test::LeDouble(2));
    const struct {
        B file;
        int delimiter;
        NumberStyle style;
        const char* dictionary;
        std::string expected;
    } rows[] = {
        {example, 1, {'.', 1}, kDictionary,
         "01001,Title, \r\n01101,Wing area,2.5\r\n01204,Engine data,\r\n     ,Limits, \r\n     ,Max RPM,2400\r\n"},
        {wing, 3, {'.', 1}, kDictionary, "01101\tWing area\t2.5\r\n"},
        {wing, 2, {'.', 1}, kDictionary, "01101;Wing area;2.5\r\n"},
        {wing, 7, {'.', 1}, kDictionary, "01101,Wing area,2.5\r\n"},
        {half, 3, {',', 2}, kDictionary, "01500\tRatio\t0,5\r\n"},
        {half, 3, {',', 1}, kDictionary, "01500\tRatio\t0.5\r\n"},
        {twice, 1, {'.', 1}, kDictionary, "00000,Zero,5\r\n01500,Ratio,1\r\n"},
        {twice, 1, {'.', 1}, "", ""},
        {B().Record(0x1204, {1, 2}), 1, {'.', 1}, "[records]\n1204=Engine data,record\n", "01204,Engine data,\r\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Export(row.file.Bytes(), row.delimiter, row.style, row.dictionary), row.expected);
    }
}

} // namespace
} // namespace kelvara
