// The byte rows of the record view's hex view: eight bytes per row as hex digits and as
// characters, each row exactly 44 characters. Toolkit-free so that it can be tested alone.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvara {

inline constexpr int kHexRowWidth = 44;

// Rows for the first shownLength bytes of data (shownLength is clamped to the data),
// numbered from baseOffset (the record's file offset, or a field's offset in its parent).
// There are shownLength / 8 + 1 rows, so a multiple of 8 ends in a row of blanks. Only the rows
// from row firstRow up to (not including) endRow are made.
[[nodiscard]] std::vector<std::string> HexRows(std::span<const uint8_t> data, size_t shownLength,
                                               uint32_t baseOffset, size_t firstRow = 0,
                                               size_t endRow = SIZE_MAX);

} // namespace kelvara
