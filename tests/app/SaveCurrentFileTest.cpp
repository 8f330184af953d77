// "Save aircraft": what is written, what the user is told, and when the changed flag clears.
#include "AirFileReader.h"
#include "ChangeTracker.h"
#include "RecordDictionary.h"
#include "SaveCurrentFile.h"

#include "AirFileBuilder.h"
#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvara {
namespace {

class Save : public ::testing::Test {
protected:
    Save() {
        mPath = mFolder.File("plane.air");
        test::WriteFile(mPath, test::AirFileBuilder().Record(0x1300, test::Le16(5)).Bytes());
        EXPECT_EQ(ReadAirFile(mPath, mDictionary, {}, mTree).code, 0);
    }
    test::TempFolder mFolder;
    RecordDictionary mDictionary;
    RecordTree mTree;
    std::string mPath;
    ChangeTracker mChanges;
    test::ScriptedPrompts mPrompts;
};

TEST_F(Save, WithoutChangesNothingIsWrittenOrShown) {
    EXPECT_EQ(SaveCurrentFile(mTree, SaveNamesForFile(mPath), mChanges, mPrompts, false), 0);
    EXPECT_TRUE(mPrompts.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(mFolder.File("plane.kvr1.air")));
}

TEST_F(Save, SuccessClearsTheFlagAndSaysSo) {
    mChanges.SetChanged(true);
    EXPECT_EQ(SaveCurrentFile(mTree, SaveNamesForFile(mPath), mChanges, mPrompts, false), 0);
    EXPECT_FALSE(mChanges.IsChanged());
    ASSERT_EQ(mPrompts.shown.size(), 1u);
    EXPECT_EQ(mPrompts.shown[0].caption, "Info");
    EXPECT_EQ(mPrompts.shown[0].text, "Save complete");
    EXPECT_TRUE(std::filesystem::exists(mFolder.File("plane.kvr1.air")));

    mChanges.SetChanged(true);
    EXPECT_EQ(SaveCurrentFile(mTree, SaveNamesForFile(mPath), mChanges, mPrompts, true), 0);
    EXPECT_EQ(mPrompts.shown[1].text, "Speichern beendet");
}

TEST_F(Save, FailuresKeepTheFlagAndNameTheCause) {
    struct Case {
        std::function<SaveNames()> names;
        bool german;
        std::string caption;
        std::string text;
    };
    const std::vector<Case> cases = {
        {[&] {
             SaveNames n = SaveNamesForFile(mPath);
             n.temporary = mFolder.File("missing/plane.kvr.air");
             return n;
         },
         false, "Error", "Could not open outputfile, .air is unchanged"},
        {[&] {
             SaveNames n = SaveNamesForFile(mPath);
             n.backups[0] = mFolder.File("missing/plane.kvr1.air");
             return n;
         },
         true, "Fehler", "Sicherungsdatei konnte nicht geschrieben werden, .air bleibt unverändert"},
    };
    for (const Case& c : cases) {
        mChanges.SetChanged(true);
        mPrompts.shown.clear();
        EXPECT_NE(SaveCurrentFile(mTree, c.names(), mChanges, mPrompts, c.german), 0);
        EXPECT_TRUE(mChanges.IsChanged());
        ASSERT_EQ(mPrompts.shown.size(), 1u);
        EXPECT_EQ(mPrompts.shown[0].kind, "error");
        EXPECT_EQ(mPrompts.shown[0].caption, c.caption);
        EXPECT_EQ(mPrompts.shown[0].text, c.text);
    }
}

TEST(ChangeTracker, FileModeAndVariations) {
    ChangeTracker file;
    EXPECT_FALSE(file.IsChanged());
    file.SetChanged(true);
    EXPECT_TRUE(file.IsChanged());
    EXPECT_TRUE(file.AnyChanged());

    ChangeTracker library;
    library.SetLibraryMode(true);
    library.SetCurrent(3, 1);
    library.SetChanged(true);
    library.SetCurrent(3, 2);
    EXPECT_FALSE(library.IsChanged());
    EXPECT_FALSE(library.AnyChanged());
    // Another aircraft whose variation has the same number as a changed one.
    library.SetCurrent(7, 1);
    EXPECT_FALSE(library.IsChanged());
    EXPECT_TRUE(library.AnyChanged());
    library.SetCurrent(3, 1);
    library.SetChanged(false);
    EXPECT_FALSE(library.AnyChanged());
}

} // namespace
} // namespace kelvara
