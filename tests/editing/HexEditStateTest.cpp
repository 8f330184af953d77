// The hex view: its rows, and its cell rules driven by plain calls (clicks, arrows and typed
// characters).
#include "HexEditState.h"
#include "HexViewText.h"

#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

namespace kelvara {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Counting(size_t n, std::initializer_list<std::pair<size_t, uint8_t>> changes = {}) {
    Bytes bytes(n);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0x30});
    for (auto [at, value] : changes) {
        bytes[at] = value;
    }
    return bytes;
}

// Steps: "c L C" click with the caret on line L before column C; "L" "R" "U" "D" arrows;
// "t X" types the character X; "table" and "mouse" set the blocking states.
void Drive(HexEditState& hex, const std::vector<std::string>& steps) {
    for (const std::string& step : steps) {
        std::istringstream in(step);
        std::string op;
        int line = 0, column = 0;
        in >> op >> line >> column;
        if (op == "c") {
            hex.Click(line, column);
        } else if (op == "t") {
            hex.Type(static_cast<uint8_t>(step.at(2)));
        } else if (op == "table" || op == "mouse") {
            (op == "table") ? hex.SetTableShown(true) : hex.SetMouseHeld(true);
        } else {
            hex.Key(static_cast<HexKey>(std::string("LURD").find(op)));
        }
    }
}

TEST(HexEdit, SelectionAndBytes) {
    // record length, steps, the selected cell, the bytes after the steps (empty: as loaded)
    const std::tuple<const char*, size_t, std::vector<std::string>, HexCell, Bytes> cases[] = {
        // Clicks snap onto a cell.
        {"BlankBetweenBytesSelectsLowDigitOnTheLeft", 8, {"c 2 13"}, {2, 12}, {}},
        {"BlankBetweenAreasSelectsLastLowDigit", 8, {"c 2 35"}, {2, 33}, {}},
        {"HeaderLinesGoToFirstRow", 8, {"c 0 5"}, {2, 11}, {}},
        {"BelowTheTextGoesToTheLastRowWithBytes", 16, {"c 9 20"}, {3, 20}, {}},
        {"TheBlankRowOfAFullRecordIsNotSelected", 16, {"c 4 20"}, {3, 20}, {}},
        // Arrows.
        {"LeftFromHighDigitGoesToPreviousLowDigit", 8, {"c 2 14", "L"}, {2, 12}, {}},
        {"LeftFromFirstDigitWrapsUp", 16, {"c 3 11", "L"}, {2, 33}, {}},
        {"UpAndLeftStayOnTheFirstRow", 8, {"c 2 36", "L", "U"}, {2, 36}, {}},
        {"RightSkipsTheBlank", 8, {"c 2 12", "R"}, {2, 14}, {}},
        {"RightWrapsToTheNextRowWithBytes", 16, {"c 2 33", "R"}, {3, 11}, {}},
        {"RightAtEndOfFullLastRowStays", 16, {"c 3 33", "R"}, {3, 33}, {}},
        {"RightAtLastCharacterOfFullLastRowStays", 8, {"c 2 43", "R"}, {2, 43}, {}},
        {"DownNeverEntersTheBlankRow", 16, {"c 3 20", "D"}, {3, 20}, {}},
        // Typing into the digits.
        {"LowerCaseDigitIsStoredUpperCase", 8, {"c 2 11", "t c"}, {2, 12}, Counting(8, {{0, 0xC0}})},
        {"NonDigitChangesNothingAndStays", 8, {"c 2 11", "t g"}, {2, 11}, {}},
        {"LastDigitOfARowWrapsWhenTheNextRowHoldsBytes", 9, {"c 2 33", "t 1"}, {3, 11}, Counting(9, {{7, 0x31}})},
        {"LastDigitOfTheLastRowStays", 8, {"c 2 33", "t f"}, {2, 33}, Counting(8, {{7, 0x3F}})},
        {"EmptyRecordHasNoCellToChange", 0, {"c 5 11", "t 1", "D"}, {2, 11}, {}},
        {"DigitsPastAFiveByteRecordDoNothing", 5, {"c 2 26", "t 1"}, {2, 26}, {}},
        // Typing into the characters.
        {"LetterAWrites41", 8, {"c 2 37", "t A"}, {2, 38}, Counting(8, {{1, 0x41}})},
        {"LastCharacterWrapsToTheNextRow", 10, {"c 2 43", "t z"}, {3, 36}, Counting(10, {{7, 'z'}})},
        {"ControlCodeIsNotWritten", 8, {"c 2 37", "t \x05"}, {2, 37}, {}},
        {"CharactersPastAFiveByteRecordDoNothing", 5, {"c 2 42", "t A"}, {2, 42}, {}},
        // Blocked input.
        {"TablesIgnoreKeysAndTyping", 8, {"c 2 11", "table", "R", "t 1"}, {2, 11}, {}},
        {"HeldMouseBlocksTyping", 8, {"c 2 11", "mouse", "t 1"}, {2, 11}, {}}};
    for (const auto& [name, length, steps, selection, changedTo] : cases) {
        const Bytes data = Counting(length);
        HexEditState hex;
        hex.Load("Length = x", data, data.size(), 0x100, true);
        Drive(hex, steps);
        EXPECT_EQ(hex.Selection(), selection) << name;
        EXPECT_EQ(hex.ApplyTo(data), changedTo.empty() ? data : changedTo) << name;
    }
}

TEST(HexEditText, CharacterColumnFollowsTheDigitsAndShowsLowCodesAsDots) {
    HexEditState hex;
    hex.Load("Length = 2", Bytes{0x41, 0x42}, 2, 0, true);
    Drive(hex, {"c 2 11", "t 1"});
    EXPECT_EQ(hex.Lines()[2].substr(11, 5), "11 42");
    EXPECT_EQ(hex.Lines()[2].substr(36, 2), "\x11" "B");
    Drive(hex, {"c 2 12", "t 0"}); // 0x10 is shown as a dot
    EXPECT_EQ(hex.Lines()[2].substr(36, 2), ".B");
}

TEST(HexEditText, OnlyTheShownBytesAreReadBack) {
    // A text record shows its bytes without the closing zero, which the edit keeps.
    const Bytes text{'a', 'b', 0};
    HexEditState hex;
    hex.Load("Length = 2", text, 2, 0, true);
    Drive(hex, {"c 2 37", "t Z", "t Y"});
    EXPECT_EQ(hex.ApplyTo(text), (Bytes{'a', 'Z', 0}));
    hex.Load("", text, 3, 0, false); // a record without a value type shows no lines
    Drive(hex, {"c 2 11", "t 1", "R"});
    EXPECT_TRUE(hex.Lines().empty());
    EXPECT_EQ(hex.ApplyTo(text), text);
}

TEST(HexRows, Layout) {
    const std::string blank(kHexRowWidth, ' ');
    // data, shown length, file offset, rows
    const std::tuple<const char*, Bytes, size_t, uint32_t, std::vector<std::string>> cases[] = {
        {"digits and characters", Bytes{0x41, 0x00, 0x10, 0x11, 0xFF, 0x7A, 0x20, 0x0D, 0x42}, 9, 0x1234,
         {"1234 0000  41 00 10 11 FF 7A 20 0D  A..\x11\xFFz .",
          "123C 0008  42" + std::string(23, ' ') + "B" + std::string(7, ' ')}},
        {"a multiple of eight ends in a blank row", Bytes(16, 0x30), 16, 0,
         {"0000 0000  30 30 30 30 30 30 30 30  00000000", "0008 0008  30 30 30 30 30 30 30 30  00000000",
          blank}},
        {"an empty value is one blank row", Bytes{0}, 0, 100, {blank}},
        {"a wide prefix is cut at column eleven", Bytes{0xAB}, 1, 0x12345,
         {"12345 0000 AB" + std::string(23, ' ') + "\xAB" + std::string(7, ' ')}},
        {"never past the data", Bytes{1, 2, 3}, 40, 0,
         {"0000 0000  01 02 03" + std::string(17, ' ') + "..." + std::string(5, ' ')}}};
    for (const auto& [name, data, length, offset, expected] : cases) {
        const std::vector<std::string> rows = HexRows(data, length, offset);
        EXPECT_EQ(rows, expected) << name;
        for (const std::string& row : rows) {
            EXPECT_EQ(row.size(), size_t{kHexRowWidth}) << name;
        }
    }
}

} // namespace
} // namespace kelvara
