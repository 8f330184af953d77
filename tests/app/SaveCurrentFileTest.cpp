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

TEST(SaveCurrentFile, OutcomeMessagesAndChangedFlag) {
    struct Case {
        bool changed, german, writable;
        int result;
        std::vector<Shown> messages;
    };
    const Shown failed{"error", "Error", "Could not open outputfile, .air is unchanged"};
    const Shown failedGerman{"error", "Fehler",
                             "Ausgabedatei konnte nicht geöffnet werden, .air bleibt unverändert"};
    const Case cases[] = {{false, false, true, 0, {}},
                          {true, false, true, 0, {{"inform", "Info", "Save complete"}}},
                          {true, true, true, 0, {{"inform", "Info", "Speichern beendet"}}},
                          {true, false, false, -1, {failed}},
                          {true, true, false, -1, {failedGerman}}};
    for (const Case& c : cases) {
        test::TempFolder folder;
        const std::string path = c.writable ? folder.File("a.air") : folder.File("missing/a.air");
        const RecordTree tree = OneRecordTree();
        ChangeTracker changes;
        changes.SetChanged(c.changed);
        test::ScriptedPrompts prompts;
        EXPECT_EQ(SaveCurrentFile(tree, SaveNamesForFile(path), changes, prompts, c.german),
                  c.result);
        EXPECT_EQ(prompts.shown, c.messages);
        EXPECT_EQ(changes.IsChanged(), c.result != 0) << "cleared only by a successful save";
        EXPECT_EQ(test::ReadFile(path).has_value(), c.changed && c.writable);
    }
}

TEST(SaveCurrentFile, FailedBackupLeavesTheFileAndTheFlag) {
    test::TempFolder folder;
    test::WriteFile(folder.File("a.air"), "old");
    SaveNames names = SaveNamesForFile(folder.File("a.air"));
    names.backups[0] = folder.File("missing/a.kvr1.air");
    ChangeTracker changes;
    changes.SetChanged(true);
    test::ScriptedPrompts prompts;
    EXPECT_EQ(SaveCurrentFile(OneRecordTree(), names, changes, prompts, true), -3);
    EXPECT_EQ(prompts.shown,
              (std::vector<Shown>{{"error", "Fehler",
                                   "Sicherungsdatei konnte nicht geschrieben werden, "
                                   ".air bleibt unverändert"}}));
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
