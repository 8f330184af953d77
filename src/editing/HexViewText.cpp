#include "HexViewText.h"

#include <algorithm>
#include <cstdio>

namespace kelvara {

std::vector<std::string> HexRows(std::span<const uint8_t> data, size_t shownLength,
                                 uint32_t baseOffset, size_t firstRow, size_t endRow) {
    const size_t n = std::min(shownLength, data.size());
    endRow = std::min(endRow, n / 8 + 1);
    std::vector<std::string> rows;
    if (firstRow >= endRow) {
        return rows;
    }
    rows.reserve(endRow - firstRow);
    static const char kDigits[] = "0123456789ABCDEF";
    for (size_t start = 8 * firstRow; start < 8 * endRow; start += 8) {
        std::string row(kHexRowWidth, ' ');
        if (start < n) {
            char prefix[32];
            // Offsets past 0xFFFF widen the prefix; the byte cells still start at column 11.
            std::snprintf(prefix, sizeof prefix, "%4.4X %4.4X  ",
                          static_cast<unsigned>((baseOffset + start) & 0xFFFFFFFFu),
                          static_cast<unsigned>(start));
            std::copy_n(prefix, std::min<size_t>(11, std::char_traits<char>::length(prefix)),
                        row.begin());
        }
        for (size_t k = 0; k < 8 && start + k < n; ++k) {
            const uint8_t byte = data[start + k];
            row[11 + 3 * k] = kDigits[byte >> 4];
            row[12 + 3 * k] = kDigits[byte & 15];
            row[36 + k] = byte <= 16 ? '.' : static_cast<char>(byte);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace kelvara
