// The code page of record and configuration texts, both ways.
#include "Windows1252.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

TEST(Windows1252, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Windows1252ToUtf8(byte);
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_EQ(Utf8ToWindows1252(utf8), byte) << b;
    }
}

TEST(Windows1252, Conversions) {
    // stored bytes, the same text in UTF-8
    const std::pair<std::string, std::string> rows[] = {
        {"\x80", "€"}, {"\x84", "„"}, {"\x82", "‚"}, {"\x96", "–"}, {"\x97", "—"},
        {"\x99", "™"}, {"\x9F", "Ÿ"}, {"\x81", "\xC2\x81"}, {"\x9D", "\xC2\x9D"},
        {"\xA0", "\xC2\xA0"}, {"\xE9", "é"}, {"\xFF", "ÿ"}, {"Cessna \x84" "C172\x93", "Cessna „C172“"},
    };
    for (const auto& [bytes, utf8] : rows) {
        EXPECT_EQ(Windows1252ToUtf8(bytes), utf8) << utf8;
        EXPECT_EQ(Utf8ToWindows1252(utf8), bytes) << utf8;
    }
}

TEST(Windows1252, RefusesWhatCannotBeStored) {
    // Unstorable characters, then malformed, overlong, surrogate and truncated UTF-8.
    for (const std::string_view text :
         {"中", "a\xF0\x9F\x98\x80", "\xC2\x80", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\x80"}) {
        EXPECT_EQ(Utf8ToWindows1252(text), std::nullopt) << text;
    }
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_TRUE(IsValidUtf8("a€中😀"));
}

TEST(Windows1252, ConfigTextIsUtf8OrWindows1252) {
    EXPECT_EQ(DecodeConfigText("\xEF\xBB\xBF" "Caf\xC3\xA9"), "Café");
    EXPECT_EQ(DecodeConfigText("Caf\xE9 \x80"), "Café €");
    EXPECT_EQ(DecodeConfigText("plain"), "plain");
}

} // namespace
} // namespace kelvara
