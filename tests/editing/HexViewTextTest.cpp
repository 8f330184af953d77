// The rows of the record view's hex view.
#include "HexViewText.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using Rows = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

struct RowsCase {
    const char* name;
    Bytes data;
    size_t length;
    uint32_t offset;
    Rows expected;
};

const std::string kBlank(kHexRowWidth, ' ');

class HexRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(HexRowsTest, Layout) {
    const RowsCase& c = GetParam();
    const Rows rows = HexRows(c.data, c.length, c.offset);
    EXPECT_EQ(rows, c.expected);
    for (const std::string& row : rows) {
        EXPECT_EQ(row.size(), size_t{kHexRowWidth});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexRowsTest,
    ::testing::Values(
        RowsCase{"DigitsAndCharacters", Bytes{0x41, 0x00, 0x10, 0x11, 0xFF, 0x7A, 0x20, 0x0D, 0x42}, 9, 0x1234,
                 Rows{"1234 0000  41 00 10 11 FF 7A 20 0D  A..\x11\xFFz .",
                      "123C 0008  42" + std::string(23, ' ') + "B" + std::string(7, ' ')}},
        RowsCase{"MultipleOfEightEndsInABlankRow", Bytes(16, 0x30), 16, 0,
                 Rows{"0000 0000  30 30 30 30 30 30 30 30  00000000",
                      "0008 0008  30 30 30 30 30 30 30 30  00000000", kBlank}},
        RowsCase{"EmptyValueIsOneBlankRow", Bytes{0}, 0, 100, Rows{kBlank}},
        RowsCase{"WidePrefixIsCutAtColumnEleven", Bytes{0xAB}, 1, 0x12345,
                 Rows{"12345 0000 AB" + std::string(23, ' ') + "\xAB" + std::string(7, ' ')}},
        RowsCase{"NeverPastTheData", Bytes{1, 2, 3}, 40, 0,
                 Rows{"0000 0000  01 02 03" + std::string(17, ' ') + "..." + std::string(5, ' ')}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvara
