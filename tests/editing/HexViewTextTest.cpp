// The rows of the record view's hex view.
#include "HexViewText.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

TEST(HexRows, Layout) {
    using Bytes = std::vector<uint8_t>;
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
