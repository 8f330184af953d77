// "Save aircraft": written only when changed, and the outcome reported in the user's language.
#include "SaveCurrentFile.h"
#include "AppTestSupport.h"
#include "ChangeTracker.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using Shown = test::ScriptedPrompts::Shown;

RecordTree OneRecordTree() {
    RecordTree tree;
    auto node = std::make_unique<RecordNode>();
    node->record.number = 0x1001;
    node->record.lookupNumber = 0x1001;
    node->record.SetData({1, 2, 3});
    tree.AppendRoot(std::move(node));
    return tree;
}

TEST(SaveCurrentFile, UnchangedFileIsNotWritten) {
    test::TempFolder folder;
    const RecordTree tree = OneRecordTree();
    ChangeTracker changes;
    test::ScriptedPrompts prompts;
    EXPECT_EQ(
        SaveCurrentFile(tree, SaveNamesForFile(folder.File("a.air")), changes, prompts, false), 0);
    EXPECT_FALSE(test::ReadFile(folder.File("a.air")));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(SaveCurrentFile, OutcomeMessages) {
    struct Case {
        bool german;
        bool writable;
        int result;
        Shown message;
        bool stillChanged;
    };
    const Case cases[] = {
        {false, true, 0, {"inform", "Info", "Save complete"}, false},
        {true, true, 0, {"inform", "Info", "Speichern beendet"}, false},
        {false,
         false,
         -1,
         {"error", "Error", "Could not open outputfile, .air is unchanged"},
         true},
        {true,
         false,
         -1,
         {"error", "Fehler",
          "Ausgabedatei konnte nicht ge\xC3\xB6"
          "ffnet werden, .air bleibt unver\xC3\xA4ndert"},
         true},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const std::string path = c.writable ? folder.File("a.air") : folder.File("missing/a.air");
        const RecordTree tree = OneRecordTree();
        ChangeTracker changes;
        changes.SetChanged(true);
        test::ScriptedPrompts prompts;
        EXPECT_EQ(SaveCurrentFile(tree, SaveNamesForFile(path), changes, prompts, c.german),
                  c.result);
        EXPECT_EQ(prompts.shown, std::vector<Shown>{c.message});
        EXPECT_EQ(changes.IsChanged(), c.stillChanged);
    }
}

TEST(SaveCurrentFile, FailedBackupKeepsTheFlag) {
    test::TempFolder folder;
    const RecordTree tree = OneRecordTree();
    test::WriteFile(folder.File("a.air"), "old");
    SaveNames names = SaveNamesForFile(folder.File("a.air"));
    names.backups[0] = folder.File("missing/a.kvr1.air");
    ChangeTracker changes;
    changes.SetChanged(true);
    test::ScriptedPrompts prompts;
    EXPECT_EQ(SaveCurrentFile(tree, names, changes, prompts, true), -3);
    EXPECT_EQ(prompts.shown, (std::vector<Shown>{{"error", "Fehler",
                                                  "Sicherungsdatei konnte nicht geschrieben werden, "
                                                  ".air bleibt unver\xC3\xA4ndert"}}));
    EXPECT_TRUE(changes.IsChanged());
    EXPECT_EQ(test::ReadFile(folder.File("a.air")), "old");
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
