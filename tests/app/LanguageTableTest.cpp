// Language choice and the caption table.
#include "LanguageTable.h"
#include "Settings.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

TEST(LanguageTable, LanguageRule) {
    struct Case {
        int32_t language;
        bool german;
        bool germanRestartNotice;
    };
    const Case cases[] = {
        {'E', false, false}, {'D', true, true},  {'e', true, false},
        {0, true, false},    {'X', true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsesGerman(TextId::SaveComplete, c.language), c.german) << c.language;
        EXPECT_EQ(UsesGerman(TextId::RestartNotice, c.language), c.germanRestartNotice)
            << c.language;
    }
    Settings settings;
    settings.language = 'D';
    EXPECT_EQ(Text(TextId::CouldNotOpenAirFile, settings),
              ".air Datei konnte nicht geöffnet werden");
    settings.language = 'E';
    EXPECT_EQ(Text(TextId::CouldNotOpenAirFile, settings), "could not open .air file");
    settings.language = 'Q';
    EXPECT_EQ(Text(TextId::RestartNotice, settings), "you must restart KVR");
    EXPECT_EQ(Text(TextId::CaptionWarning, settings), "Warnung");
    EXPECT_EQ(LengthLineText(1234, true), "L\xC3\xA4nge = 1234");
}

TEST(LanguageTable, EveryMessageExistsInBothLanguages) {
    for (int i = 0; i < kTextIdCount; ++i) {
        const auto id = static_cast<TextId>(i);
        EXPECT_FALSE(Text(id, false).empty()) << i;
        EXPECT_FALSE(Text(id, true).empty()) << i;
    }
    EXPECT_TRUE(Text(static_cast<TextId>(kTextIdCount), true).empty());
}

TEST(LanguageTable, FileModeGetsNoTabs) {
    const auto library = CaptionsToApply(true);
    ASSERT_EQ(library.size(), 34u);
    EXPECT_EQ(Pick(library[32], true), "Auswahl");
    EXPECT_EQ(Pick(library[33], false), ".air file");
    const auto fileMode = CaptionsToApply(false);
    ASSERT_EQ(fileMode.size(), 32u);
    for (const CaptionRow& row : fileMode) {
        EXPECT_NE(row.property, CaptionProperty::TabText) << row.control;
    }
}

} // namespace
} // namespace kelvara
