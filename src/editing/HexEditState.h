// The hex view as a state machine over its text: the one selected cell, click snapping, arrow
// keys and typing into the digit and character areas. The widget shows Lines() and Selection()
// and forwards its events here; bytes go back into the record through ApplyTo.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kelvara {

enum class HexKey { Left, Up, Right, Down };

// Lines 0 and 1 are the length line and a blank line; byte rows start at line 2.
inline constexpr int kHexFirstRow = 2;
inline constexpr int kHexFirstDigit = 11;
inline constexpr int kHexLastDigit = 33;
inline constexpr int kHexFirstChar = 36;
inline constexpr int kHexLastChar = 43;

struct HexCell {
    int line = kHexFirstRow;
    int column = kHexFirstDigit;
    bool operator==(const HexCell&) const = default;
};

class HexEditState {
public:
    // shownLength bytes of data from baseOffset on; a record without a value type gets no lines.
    void Load(const std::string& lengthLine, std::span<const uint8_t> data, size_t shownLength,
              uint32_t baseOffset, bool hasLines);

    // The same record again after an edit of its bytes: as Load, but only the rows whose bytes
    // differ are made anew, so a value edit in a large record costs a compare, not a
    // reformatting. Returns the first and one past the last line that changed, or nullopt when
    // this is not the record shown (then it loads it).
    std::optional<std::pair<int, int>> Reload(const std::string& lengthLine, std::span<const uint8_t> data,
                                              size_t shownLength, uint32_t baseOffset, bool hasLines);
    [[nodiscard]] const std::vector<std::string>& Lines() const { return mLines; }
    [[nodiscard]] std::string Text() const;
    [[nodiscard]] HexCell Selection() const { return mSelection; }
    [[nodiscard]] size_t Length() const { return mLength; }

    // Tables are shown read-only; a held mouse button blocks typing.
    void SetTableShown(bool shown) { mTableShown = shown; }
    void SetMouseHeld(bool held) { mMouseHeld = held; }

    // A click left the caret before caretColumn on line: snap to the nearest cell.
    void Click(int line, int caretColumn);
    void Key(HexKey key);
    // One typed byte. Returns the line whose text changed, or nothing when nothing was written.
    std::optional<int> Type(uint8_t typed);

    // data with its first Length() bytes read back from the digit pairs of the text.
    [[nodiscard]] std::vector<uint8_t> ApplyTo(std::span<const uint8_t> data) const;

private:
    [[nodiscard]] int BytesOnLine(int line) const;
    [[nodiscard]] int LastByteLine() const;
    void Select(int line, int column);
    void RefreshCharacters(int line);

    std::vector<std::string> mLines;
    // The bytes the rows show, and what they were loaded with, for Reload.
    std::vector<uint8_t> mShown;
    uint32_t mBaseOffset = 0;
    bool mHasLines = false;
    bool mTyped = false; // lines typed into no longer follow mShown
    size_t mLength = 0;
    HexCell mSelection;
    bool mTableShown = false;
    bool mMouseHeld = false;
};

} // namespace kelvara
