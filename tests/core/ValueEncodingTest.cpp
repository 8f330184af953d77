// Typed numbers to stored bytes, with the number editor's range checks.
#include "DataType.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace test;
using Bytes = std::vector<uint8_t>;

TEST(EncodeNumber, StoredBytes) {
    const std::vector<std::tuple<int, std::string, Bytes>> rows = {
        {DataType::Int16_2, "1.5", Le16(3072)},     {DataType::Ang16, "1", Le16(182)},
        {DataType::Ang16, "180", Le16(32760)},      {DataType::Prpm, "999", Le16(2131)},
        {DataType::Int16, "-", Le16(0)},            {DataType::Int16, "12abc", Le16(12)},
        {DataType::Int8, "-128", {0x80}},           {DataType::Mach, "0.5", Le32(10240)},
        {DataType::G16, "1", Le16(936)},            {DataType::Int16_8, "-4", Le16(-32768)},
        {DataType::Pct16, "100", Le16(16384)},      {DataType::Thrust, "13671.5", Le32(1000)},
        {DataType::Aspd, "1", Le32(128)},           {DataType::Int32, "-2147483648", Le32(INT32_MIN)},
        {DataType::Double, "abc", test::LeDouble(0)}, {DataType::Float, "1e-400", test::LeFloat(0)},
        // fwgt is 8.8 fixed point of the typed number, whatever its spelling.
        {DataType::Fwgt, "2.5", {128, 2}},          {DataType::Fwgt, "255.5", {128, 255}},
        {DataType::Fwgt, "1e2", {0, 100}},          {DataType::Fwgt, "2.5e1", {0, 25}},
        {DataType::Fwgt, "0.5e1", {0, 5}},          {DataType::Fwgt, "1e-5", {0, 0}},
    };
    for (const auto& [type, text, bytes] : rows) {
        const EncodeResult r = EncodeNumber(type, text, '.');
        EXPECT_EQ(r.status, EncodeStatus::Ok) << DataTypeKeyword(type) << " " << text;
        EXPECT_EQ(r.bytes, bytes) << DataTypeKeyword(type) << " " << text;
    }
    // What is stored shows as the editor's truncation of what was typed.
    EXPECT_EQ(FormatValue(DataType::Ang16, EncodeNumber(DataType::Ang16, "1", '.').bytes, {}), "0.999989986419678");
    EXPECT_EQ(FormatValue(DataType::Prpm, EncodeNumber(DataType::Prpm, "999", '.').bytes, {}), "998");
}

// Each limit the user is told; the later rows pass their own check (or have none) but would
// keep only the low bytes of the stored width, or overflow a float.
TEST(EncodeNumber, RangeRejectionsNameTheirLimits) {
    const std::string maxFloat = "3.40282346638529E38";
    const std::vector<std::tuple<int, std::string, std::string, std::string>> rows = {
        {DataType::Int16, "32768", "-32768", "32767"},
        {DataType::Int8, "128", "-128", "127"},
        {DataType::Ang16, "180.5", "-180", "180"},
        {DataType::Int16_2, "16", "-16", "15.9998998641968"},
        {DataType::Int16_8, "3.9999", "-4", "3.99979996681213"},
        {DataType::Fwgt, "256", "0", "255.990005493164"},
        {DataType::Mach, "3.2", "0", "3.19899988174438"},
        {DataType::M256, "-5040", "-5039", "501"},
        {DataType::Int32_2, "-1048577", "-1048576", "1048576"},
        {DataType::G16, "35.1", "-35", "35"},
        {DataType::Pct16, "200", "-200", "199"},
        {DataType::Float, "1e39", "-" + maxFloat, maxFloat},
        {DataType::Float, "-3.5e38", "-" + maxFloat, maxFloat},
        {DataType::Pct16, "-200.5", "-200", "199.993896484375"},
        {DataType::Int32_2, "1048576", "-1048576", "1048575.99951172"},
        {DataType::Prpm, "20000", "-15360", "15359.53125"},
        {DataType::Thrust, "1e12", "-29358248951.808", "29358248938.137"},
        {DataType::Aspd, "1e9", "-16777216", "16777215.9921875"},
        {DataType::Int32, "3000000000", "-2147483648", "2147483647"},
        {DataType::Int32, "99999999999999999999", "-2147483648", "2147483647"},
    };
    for (const auto& [type, text, min, max] : rows) {
        const EncodeResult r = EncodeNumber(type, text, '.');
        EXPECT_EQ(r.status, EncodeStatus::RangeRejected) << text;
        EXPECT_TRUE(r.bytes.empty());
        EXPECT_EQ(r.limits.minText, min) << text;
        EXPECT_EQ(r.limits.maxText, max) << text;
    }
    EXPECT_EQ(RangeMessage({"-1", "1"}, false), "values between -1 and 1 only");
    EXPECT_EQ(RangeMessage({"-1", "1"}, true), "nur Werte zwischen -1 and 1 sind erlaubt");
}

TEST(EncodeNumber, TextThatIsNoNumber) {
    EXPECT_EQ(EncodeNumber(DataType::Double, "1,5", '.').status, EncodeStatus::ConversionError);
    EXPECT_EQ(EncodeNumber(DataType::Ang16, "1,5", '.').status, EncodeStatus::ConversionError);
    EXPECT_EQ(EncodeNumber(DataType::Bool, "1", '.').status, EncodeStatus::NotANumberType);
    EXPECT_EQ(EncodeNumber(DataType::Text, "1", '.').status, EncodeStatus::NotANumberType);
    EXPECT_EQ(ConversionErrorMessage("1,5", false), "'1,5' is not a valid floating point value");
}

} // namespace
} // namespace kelvara
