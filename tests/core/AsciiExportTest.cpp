// The text export of a whole file.
#include "AirFileReader.h"
#include "AsciiExport.h"
#include "RecordDictionary.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvara {
namespace {

using test::AirFileBuilder;

const char* kDictionary =
    "[records]\n0=Zero,int16\n1001=Title,text\n1101=Wing area,float\n1204=Engine data,record\n"
    "1500=Ratio,double\n"
    "[1204]\n1=Limits\n2=0x00,int16,Max RPM\n"
    "[1101]\n1=0x00,int8,Never used: not a structured record\n";

std::string Export(const std::vector<uint8_t>& bytes, int delimiter, NumberStyle style,
                   const char* dictionaryText) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(dictionaryText);
    RecordTree tree;
    EXPECT_EQ(ReadAirBytes(bytes, dictionary, {true, style}, tree).code, 0);
    std::ostringstream out;
    ExportAscii(tree, dictionary, delimiter, style, out);
    return out.str();
}

// Delimiter 1 comma, 2 semicolon, 3 tab, anything else a comma; decimal 1 turns the locale's
// comma into a period; the first of duplicate records; nothing without a dictionary.
TEST(ExportAscii, Lines) {
    using B = AirFileBuilder;
    const auto example = B().Record(0x1204, test::Le16(2400))
                             .Record(0x1101, test::LeFloat(2.5f))
                             .Record(0x1001, test::TextBytes("Trainer"))
                             .Record(0x7777, {1});
    const auto wing = B().Record(0x1101, test::LeFloat(2.5f));
    const auto half = B().Record(0x1500, test::LeDouble(0.5));
    const auto twice = B().Record(0x0000, test::Le16(5)).Record(0x1500, test::LeDouble(1)).Record(0x1500, test::LeDouble(2));
    const struct {
        B file;
        int delimiter;
        NumberStyle style;
        const char* dictionary;
        std::string expected;
    } rows[] = {
        {example, 1, {'.', 1}, kDictionary,
         "01001,Title, \r\n01101,Wing area,2.5\r\n01204,Engine data,\r\n     ,Limits, \r\n     ,Max RPM,2400\r\n"},
        {wing, 3, {'.', 1}, kDictionary, "01101\tWing area\t2.5\r\n"},
        {wing, 2, {'.', 1}, kDictionary, "01101;Wing area;2.5\r\n"},
        {wing, 7, {'.', 1}, kDictionary, "01101,Wing area,2.5\r\n"},
        {half, 3, {',', 2}, kDictionary, "01500\tRatio\t0,5\r\n"},
        {half, 3, {',', 1}, kDictionary, "01500\tRatio\t0.5\r\n"},
        {twice, 1, {'.', 1}, kDictionary, "00000,Zero,5\r\n01500,Ratio,1\r\n"},
        {twice, 1, {'.', 1}, "", ""},
        {B().Record(0x1204, {1, 2}), 1, {'.', 1}, "[records]\n1204=Engine data,record\n", "01204,Engine data,\r\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Export(row.file.Bytes(), row.delimiter, row.style, row.dictionary), row.expected);
    }
}

} // namespace
} // namespace kelvara
