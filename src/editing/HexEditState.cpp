#include "HexEditState.h"

#include "HexViewText.h"

#include <algorithm>
#include <cstring>

namespace kelvara {

namespace {

// The blank after a byte's low digit: 13, 16, ... 34.
bool IsBlankAfterLowDigit(int column) {
    return column >= 13 && column <= 34 && (column - 13) % 3 == 0;
}

// Caret columns with the caret after a low digit of bytes 0 to 6: 13, 16, ... 31.
bool AfterLowDigit(int x) {
    return x >= 13 && x <= 31 && (x - 13) % 3 == 0;
}

// Caret columns with the caret after the high digit of bytes 1 to 7: 15, 18, ... 33.
bool AfterHighDigitOfLaterByte(int x) {
    return x >= 15 && x <= 33 && (x - 15) % 3 == 0;
}

int SnapColumn(int column) {
    if (IsBlankAfterLowDigit(column)) {
        return column - 1;
    }
    return column == 35 ? 33 : column;
}

int DigitValue(char digit) {
    const auto code = static_cast<unsigned char>(digit);
    return code > 64 ? code - 55 : code - 48;
}

char CharacterCell(uint8_t byte) {
    return byte <= 16 ? '.' : static_cast<char>(byte);
}

} // namespace

void HexEditState::Load(const std::string& lengthLine, std::span<const uint8_t> data,
                        size_t shownLength, uint32_t baseOffset, bool hasLines) {
    mLines.clear();
    mLength = std::min(shownLength, data.size());
    mSelection = HexCell{};
    mBaseOffset = baseOffset;
    mHasLines = hasLines;
    mTyped = false;
    mShown.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(hasLines ? mLength : 0));
    if (!hasLines) {
        mLength = 0;
        return;
    }
    mLines.push_back(lengthLine);
    mLines.emplace_back(kHexRowWidth, ' ');
    for (std::string& row : HexRows(data, mLength, baseOffset)) {
        mLines.push_back(std::move(row));
    }
}

std::optional<std::pair<int, int>> HexEditState::Reload(const std::string& lengthLine,
                                                        std::span<const uint8_t> data, size_t shownLength,
                                                        uint32_t baseOffset, bool hasLines) {
    const size_t length = std::min(shownLength, data.size());
    if (mTyped || !hasLines || !mHasLines || baseOffset != mBaseOffset || length != mLength ||
        mLines.empty() || mLines.front() != lengthLine) {
        Load(lengthLine, data, shownLength, baseOffset, hasLines);
        return std::nullopt;
    }
    mSelection = HexCell{};
    const uint8_t* now = data.data();
    const uint8_t* was = mShown.data();
    // Whole blocks first: memcmp is many times faster than a byte loop.
    constexpr size_t kStep = 4096;
    size_t first = 0;
    while (first < length && std::memcmp(now + first, was + first, std::min(kStep, length - first)) == 0) {
        first += kStep;
    }
    if (first >= length) {
        return std::pair(0, 0);
    }
    while (now[first] == was[first]) {
        ++first;
    }
    size_t end = length;
    while (end - first > kStep && std::memcmp(now + end - kStep, was + end - kStep, kStep) == 0) {
        end -= kStep;
    }
    while (now[end - 1] == was[end - 1]) {
        --end;
    }
    std::copy(now + first, now + end, mShown.begin() + static_cast<std::ptrdiff_t>(first));
    const size_t firstRow = first / 8;
    const size_t endRow = (end + 7) / 8;
    std::vector<std::string> rows = HexRows(data, length, baseOffset, firstRow, endRow);
    for (size_t i = 0; i < rows.size(); ++i) {
        mLines[static_cast<size_t>(kHexFirstRow) + firstRow + i] = std::move(rows[i]);
    }
    return std::pair(kHexFirstRow + static_cast<int>(firstRow), kHexFirstRow + static_cast<int>(endRow));
}

std::string HexEditState::Text() const {
    std::string text;
    for (size_t i = 0; i < mLines.size(); ++i) {
        text += mLines[i];
        if (i + 1 < mLines.size()) {
            text += '\n';
        }
    }
    return text;
}

int HexEditState::BytesOnLine(int line) const {
    if (line < kHexFirstRow || line >= static_cast<int>(mLines.size())) {
        return 0;
    }
    const size_t start = static_cast<size_t>(line - kHexFirstRow) * 8;
    return start >= mLength ? 0 : static_cast<int>(std::min<size_t>(8, mLength - start));
}

int HexEditState::LastByteLine() const {
    // A length that is a multiple of 8 ends in a blank row, which holds no cell to edit.
    const int rows = static_cast<int>((mLength + 7) / 8);
    return kHexFirstRow + std::max(rows - 1, 0);
}

void HexEditState::Select(int line, int column) {
    mSelection = HexCell{line, column};
}

void HexEditState::Click(int line, int caretColumn) {
    if (mTableShown || mLines.empty()) {
        return;
    }
    line = std::clamp(line, kHexFirstRow, LastByteLine());
    int column = SnapColumn(caretColumn);
    column = std::clamp(column, kHexFirstDigit, kHexLastChar);
    Select(line, SnapColumn(column));
}

void HexEditState::Key(HexKey key) {
    if (mTableShown || mLines.empty()) {
        return;
    }
    const int line = mSelection.line;
    const int x = mSelection.column + 1;
    const bool digits = x >= 11 && x <= 34;
    const bool characters = x >= 36 && x <= 44;
    const bool nextHoldsBytes = BytesOnLine(line + 1) > 0;
    switch (key) {
    case HexKey::Left:
        if (digits) {
            if (x > 12) {
                Select(line, AfterHighDigitOfLaterByte(x) ? x - 3 : x - 2);
            } else if (line > kHexFirstRow) {
                Select(line - 1, kHexLastDigit);
            }
        } else if (characters) {
            if (x > 37) {
                Select(line, x - 2);
            } else if (line > kHexFirstRow) {
                Select(line - 1, kHexLastChar);
            }
        }
        break;
    case HexKey::Up:
        if (line > kHexFirstRow) {
            Select(line - 1, x - 1);
        }
        break;
    case HexKey::Right:
        if (digits && x < 34) {
            Select(line, AfterLowDigit(x) ? x + 1 : x);
        } else if (x == 34 && nextHoldsBytes) {
            Select(line + 1, kHexFirstDigit);
        } else if (characters && x < 44) {
            Select(line, x);
        } else if (x == 44 && nextHoldsBytes) {
            Select(line + 1, kHexFirstChar);
        }
        break;
    case HexKey::Down:
        if (nextHoldsBytes) {
            Select(line + 1, x - 1);
        }
        break;
    }
}

void HexEditState::RefreshCharacters(int line) {
    std::string& row = mLines[static_cast<size_t>(line)];
    for (int k = 0; k < BytesOnLine(line); ++k) {
        const int byte = DigitValue(row[static_cast<size_t>(11 + 3 * k)]) * 16 +
                         DigitValue(row[static_cast<size_t>(12 + 3 * k)]);
        row[static_cast<size_t>(36 + k)] = CharacterCell(static_cast<uint8_t>(byte));
    }
}

std::optional<int> HexEditState::Type(uint8_t typed) {
    if (mTableShown || mMouseHeld || mLines.empty()) {
        return std::nullopt;
    }
    const int line = mSelection.line;
    const int x = mSelection.column + 1;
    std::string& row = mLines[static_cast<size_t>(line)];
    const bool nextHoldsBytes = BytesOnLine(line + 1) > 0;
    mTyped = true;

    if (x >= 11 && x <= 34) {
        // Cells past the record's last byte, and the blank row, hold nothing to change.
        if ((x - 12) / 3 >= BytesOnLine(line)) {
            return std::nullopt;
        }
        if (typed >= 'a' && typed <= 'f') {
            typed = static_cast<uint8_t>(typed - 'a' + 'A');
        }
        const bool hexDigit = (typed >= '0' && typed <= '9') || (typed >= 'A' && typed <= 'F');
        if (!hexDigit) {
            return std::nullopt;
        }
        row[static_cast<size_t>(x - 1)] = static_cast<char>(typed);
        RefreshCharacters(line);
        if (x < 34) {
            Select(line, AfterLowDigit(x) ? x + 1 : x);
        } else if (nextHoldsBytes) {
            Select(line + 1, kHexFirstDigit);
        }
        return line;
    }
    if (x >= 36 && x <= 44) {
        const int k = x - 37;
        if (k < 0 || k >= BytesOnLine(line) || typed <= 16) {
            return std::nullopt;
        }
        static const char kDigits[] = "0123456789ABCDEF";
        row[static_cast<size_t>(x - 1)] = static_cast<char>(typed);
        row[static_cast<size_t>(11 + 3 * k)] = kDigits[typed >> 4];
        row[static_cast<size_t>(12 + 3 * k)] = kDigits[typed & 15];
        if (x < 44) {
            Select(line, x);
        } else if (nextHoldsBytes) {
            Select(line + 1, kHexFirstChar);
        }
        return line;
    }
    return std::nullopt;
}

std::vector<uint8_t> HexEditState::ApplyTo(std::span<const uint8_t> data) const {
    std::vector<uint8_t> bytes(data.begin(), data.end());
    for (int line = kHexFirstRow; line < static_cast<int>(mLines.size()); ++line) {
        const std::string& row = mLines[static_cast<size_t>(line)];
        for (int k = 0; k < BytesOnLine(line); ++k) {
            const size_t index = static_cast<size_t>(line - kHexFirstRow) * 8 + static_cast<size_t>(k);
            if (index >= bytes.size()) {
                return bytes;
            }
            bytes[index] = static_cast<uint8_t>(DigitValue(row[static_cast<size_t>(11 + 3 * k)]) * 16 +
                                                DigitValue(row[static_cast<size_t>(12 + 3 * k)]));
        }
    }
    return bytes;
}

} // namespace kelvara
