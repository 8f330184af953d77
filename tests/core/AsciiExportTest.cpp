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
                   const char* dictionaryText = kDictionary) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(dictionaryText);
    RecordTree tree;
    EXPECT_EQ(ReadAirBytes(bytes, dictionary, {true, style}, tree).code, 0);
    std::ostringstream out;
    ExportAscii(tree, dictionary, delimiter, style, out);
    return out.str();
}

const std::vector<uint8_t> kExample = AirFileBuilder()
                                          .Record(0x1204, test::Le16(2400))
                                          .Record(0x1101, test::LeFloat(2.5f))
                                          .Record(0x1001, test::TextBytes("Trainer"))
                                          .Record(0x7777, {1})
                                          .Bytes();

TEST(ExportAscii, LinesWithCommas) {
    EXPECT_EQ(Export(kExample, 1, {'.', 1}),
              "01001,Title, \r\n"
              "01101,Wing area,2.5\r\n"
              "01204,Engine data,\r\n"
              "     ,Limits, \r\n"
              "     ,Max RPM,2400\r\n");
}

TEST(ExportAscii, DelimitersAndDecimalMark) {
    // Delimiter 1 comma, 2 semicolon, 3 tab, anything else a comma.
    for (const auto& [delimiter, line] : std::vector<std::pair<int, std::string>>{
             {3, "01101\tWing area\t2.5\r\n"}, {2, "01101;Wing area;2.5\r\n"}, {7, "01101,Wing area,2.5\r\n"}}) {
        EXPECT_NE(Export(kExample, delimiter, {'.', 1}).find(line), std::string::npos) << delimiter;
    }
    const auto half = AirFileBuilder().Record(0x1500, test::LeDouble(0.5)).Bytes();
    EXPECT_EQ(Export(half, 3, {',', 2}), "01500\tRatio\t0,5\r\n");
    EXPECT_EQ(Export(half, 3, {',', 1}), "01500\tRatio\t0.5\r\n");
}

TEST(ExportAscii, FirstOfDuplicatesZeroRecordAndNoDictionary) {
    const auto bytes = AirFileBuilder()
                           .Record(0x0000, test::Le16(5))
                           .Record(0x1500, test::LeDouble(1))
                           .Record(0x1500, test::LeDouble(2))
                           .Bytes();
    EXPECT_EQ(Export(bytes, 1, {'.', 1}), "00000,Zero,5\r\n01500,Ratio,1\r\n");
    EXPECT_EQ(Export(bytes, 1, {'.', 1}, ""), "");
}

TEST(ExportAscii, StructuredRecordWithoutLayout) {
    const auto bytes = AirFileBuilder().Record(0x1204, {1, 2}).Bytes();
    EXPECT_EQ(Export(bytes, 1, {'.', 1}, "[records]\n1204=Engine data,record\n"), "01204,Engine data,\r\n");
}

} // namespace
} // namespace kelvara
