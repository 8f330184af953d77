// Language choice and the caption table.
#include "LanguageTable.h"
#include "Settings.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

// Only a capital E is English, except that the restart notice is German only for a D.
TEST(LanguageTable, LanguageRule) {
    const std::tuple<int32_t, bool, bool> cases[] = {
        {'E', false, false}, {'D', true, true}, {'e', true, false}, {0, true, false}};
    for (const auto& [language, german, germanRestartNotice] : cases) {
        EXPECT_EQ(UsesGerman(TextId::SaveComplete, language), german) << language;
        EXPECT_EQ(UsesGerman(TextId::RestartNotice, language), germanRestartNotice) << language;
    }
    Settings settings;
    settings.language = 'Q';
    EXPECT_EQ(Text(TextId::RestartNotice, settings), Text(TextId::RestartNotice, false));
    EXPECT_EQ(Text(TextId::CaptionWarning, settings), Text(TextId::CaptionWarning, true));
}

TEST(LanguageTable, EveryMessageExistsInBothLanguages) {
    for (int i = 0; i < kTextIdCount; ++i) {
        EXPECT_FALSE(Text(static_cast<TextId>(i), false).empty()) << i;
        EXPECT_FALSE(Text(static_cast<TextId>(i), true).empty()) << i;
    }
    EXPECT_TRUE(Text(static_cast<TextId>(kTextIdCount), true).empty());
}

} // namespace
} // namespace kelvara
