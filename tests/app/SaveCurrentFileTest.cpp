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

} // namespace
} // namespace kelvara
