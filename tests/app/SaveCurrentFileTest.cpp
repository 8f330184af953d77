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

// Failures name the file and leave it, and the changed flag, as they were.
TEST(SaveCurrentFile, OutcomeMessagesAndChangedFlag) {
    // changed, German, where it fails ("" nowhere, "target" or "backup" in a missing folder),
    // result, caption and text shown (the failures end in the file name)
    const std::tuple<bool, bool, std::string, int, std::vector<std::string>> cases[] = {
        {false, false, "", 0, {}},
        {true, false, "", 0, {"Info", "Save complete"}},
        {true, true, "", 0, {"Info", "Speichern beendet"}},
        {true, false, "target", -1, {"Error", "Could not open outputfile, .air is unchanged\n"}},
        {true, true, "target", -1,
         {"Fehler", "Ausgabedatei konnte nicht geöffnet werden, .air bleibt unverändert\n"}},
        {true, true, "backup", -3,
         {"Fehler", "Sicherungsdatei konnte nicht geschrieben werden, .air bleibt unverändert\n"}}};
    for (const auto& [changed, german, where, result, messages] : cases) {
        test::TempFolder folder;
        const std::string path = folder.File(where == "target" ? "missing/a.air" : "a.air");
        SaveNames names = SaveNamesForFile(path);
        if (where == "backup") {
            test::WriteFile(path, "old");
            names.backups[0] = folder.File("missing/a.kvr1.air");
        }
        ChangeTracker changes;
        changes.SetChanged(changed);
        test::ScriptedPrompts prompts;
        EXPECT_EQ(SaveCurrentFile(OneRecordTree(), names, changes, prompts, german), result);
        std::vector<std::string> shown;
        for (const Shown& message : prompts.shown) {
            shown.insert(shown.end(), {message.caption, message.text});
        }
        std::vector<std::string> expected = messages;
        if (result != 0) {
            expected[1] += path;
        }
        EXPECT_EQ(shown, expected) << where;
        EXPECT_EQ(changes.IsChanged(), result != 0) << "cleared only by a successful save";
        EXPECT_EQ(test::ReadFile(path).has_value(), changed && where != "target");
        if (where == "backup") {
            EXPECT_EQ(test::ReadFile(path), "old");
        }
    }
}

TEST(ChangeTracker, FileModeAndVariations) {
    ChangeTracker file;
    EXPECT_FALSE(file.IsChanged());
    file.SetChanged(true);
    EXPECT_EQ(std::pair(file.IsChanged(), file.AnyChanged()), std::pair(true, true));

    ChangeTracker library;
    library.SetLibraryMode(true);
    library.SetCurrent(3, 1);
    library.SetChanged(true);
    library.SetCurrent(3, 2);
    EXPECT_EQ(std::pair(library.IsChanged(), library.AnyChanged()), std::pair(false, false));
    // Another aircraft whose variation has the same number as a changed one.
    library.SetCurrent(7, 1);
    EXPECT_EQ(std::pair(library.IsChanged(), library.AnyChanged()), std::pair(false, true));
    library.SetCurrent(3, 1);
    library.SetChanged(false);
    EXPECT_FALSE(library.AnyChanged());
}

} // namespace
} // namespace kelvara
