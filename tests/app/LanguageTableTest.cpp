// Language choice and the caption table.
#include "LanguageTable.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <set>

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
}

TEST(LanguageTable, EveryMessageExistsInBothLanguages) {
    for (int i = 0; i < kTextIdCount; ++i) {
        const auto id = static_cast<TextId>(i);
        EXPECT_FALSE(Text(id, false).empty()) << i;
        EXPECT_FALSE(Text(id, true).empty()) << i;
    }
    EXPECT_TRUE(Text(static_cast<TextId>(kTextIdCount), true).empty());
}

TEST(LanguageTable, QuotedTexts) {
    struct Case {
        TextId id;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {TextId::ChangesGoBackForSaving, "Changes made: Do you want to go back for saving?",
         "\xC3\x84nderungen vorhanden: Wollen Sie zur\xC3\xBC"
         "ck gehen, um zu speicher?"},
        {TextId::RestartNotice, "you must restart KVR",
         "Sie m\xC3\xBCssen jetzt KVR beenden und neu starten"},
        {TextId::AirWriteProtected, ".air is write protected, .air is unchanged",
         ".air ist schreibgesch\xC3\xBCtzt, .air bleibt unver\xC3\xA4ndert"},
        {TextId::CaptionInformation, "Information", "Information"},
        {TextId::MenuHexEditor, "Hex Editor", "Hex Editor"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.id, false), c.english);
        EXPECT_EQ(Text(c.id, true), c.german);
    }
    EXPECT_EQ(LengthLineText(0, false), "Length = 0");
    EXPECT_EQ(LengthLineText(1234, true), "L\xC3\xA4nge = 1234");
}

TEST(LanguageTable, MainWindowTable) {
    const auto rows = MainWindowCaptions();
    ASSERT_EQ(rows.size(), 34u);
    int hints = 0;
    int menus = 0;
    int captions = 0;
    for (const CaptionRow& row : rows) {
        hints += row.property == CaptionProperty::Hint;
        menus += row.property == CaptionProperty::MenuCaption;
        captions += row.property == CaptionProperty::Caption;
    }
    EXPECT_EQ(hints, 3);
    EXPECT_EQ(menus, 16);
    EXPECT_EQ(captions, 13);
    EXPECT_EQ(std::string(rows[0].control), "Alist");
    EXPECT_EQ(Pick(rows[32], true), "Auswahl");
    EXPECT_EQ(Pick(rows[33], false), ".air file");
    EXPECT_EQ(CaptionFor("About1", true), "\xC3\x9C"
                                          "ber KVR...");
    EXPECT_EQ(CaptionFor("cbOverlay1503", false), "overlay");
    EXPECT_EQ(CaptionFor("la4", true), "Variation:");
    EXPECT_FALSE(CaptionFor("NoSuchControl", false));
}

TEST(LanguageTable, FileModeGetsNoTabs) {
    EXPECT_EQ(CaptionsToApply(true).size(), 34u);
    const auto fileMode = CaptionsToApply(false);
    ASSERT_EQ(fileMode.size(), 32u);
    for (const CaptionRow& row : fileMode) {
        EXPECT_NE(row.property, CaptionProperty::TabText) << row.control;
    }
}

} // namespace
} // namespace kelvara
