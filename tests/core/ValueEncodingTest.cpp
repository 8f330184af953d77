// Typed numbers to stored bytes, with the number editor's range checks.
#include "DataType.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using test::Le16;
using test::Le32;

std::vector<uint8_t> Encoded(int type, const std::string& text) {
    const EncodeResult r = EncodeNumber(type, text, '.');
    EXPECT_EQ(r.status, EncodeStatus::Ok) << DataTypeKeyword(type) << " " << text;
    return r.bytes;
}

TEST(EncodeNumber, WorkedExamples) {
    EXPECT_EQ(Encoded(DataType::Int16_2, "1.5"), Le16(3072));
    EXPECT_EQ(Encoded(DataType::Ang16, "1"), Le16(182));
    EXPECT_EQ(Encoded(DataType::Ang16, "180"), Le16(32760));
    EXPECT_EQ(Encoded(DataType::Prpm, "999"), Le16(2131));
    EXPECT_EQ(Encoded(DataType::Fwgt, "2.5"), (std::vector<uint8_t>{128, 2}));
    EXPECT_EQ(Encoded(DataType::Int16, "-"), Le16(0));
    EXPECT_EQ(Encoded(DataType::Int16, "12abc"), Le16(12));
    EXPECT_EQ(Encoded(DataType::Int8, "-128"), (std::vector<uint8_t>{0x80}));
    EXPECT_EQ(Encoded(DataType::Mach, "0.5"), Le32(10240));
    EXPECT_EQ(Encoded(DataType::G16, "1"), Le16(936));
    EXPECT_EQ(Encoded(DataType::Int16_8, "-4"), Le16(-32768));
    EXPECT_EQ(Encoded(DataType::Pct16, "100"), Le16(16384));
    EXPECT_EQ(Encoded(DataType::Thrust, "13671.5"), Le32(1000));
    EXPECT_EQ(Encoded(DataType::Aspd, "1"), Le32(128));
    EXPECT_EQ(Encoded(DataType::Int32, "-2147483648"), Le32(INT32_MIN));
    // fwgt stores the typed number, whatever its spelling.
    EXPECT_EQ(Encoded(DataType::Fwgt, "1e2"), (std::vector<uint8_t>{0, 100}));
    EXPECT_EQ(Encoded(DataType::Fwgt, "2.5e1"), (std::vector<uint8_t>{0, 25}));
    EXPECT_EQ(Encoded(DataType::Fwgt, "0.5e1"), (std::vector<uint8_t>{0, 5}));
    EXPECT_EQ(Encoded(DataType::Fwgt, "1e-5"), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(Encoded(DataType::Fwgt, "255.5"), (std::vector<uint8_t>{128, 255}));
    EXPECT_EQ(Encoded(DataType::Float, "1e-400"), test::LeFloat(0.0f));
}

TEST(EncodeNumber, ShownValueOfStoredExamples) {
    const NumberStyle style{'.', 1};
    EXPECT_EQ(FormatValue(DataType::Int16_2, Encoded(DataType::Int16_2, "1.5"), style), "1.5");
    EXPECT_EQ(FormatValue(DataType::Ang16, Encoded(DataType::Ang16, "1"), style), "0.999989986419678");
    EXPECT_EQ(FormatValue(DataType::Prpm, Encoded(DataType::Prpm, "999"), style), "998");
}

TEST(EncodeNumber, RangeChecksNameTheirLimits) {
    struct Row {
        int type;
        std::string text;
        std::string min;
        std::string max;
    };
    const std::vector<Row> rows = {
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
        {DataType::Float, "1e39", "-3.40282346638529E38", "3.40282346638529E38"},
        {DataType::Float, "-3.5e38", "-3.40282346638529E38", "3.40282346638529E38"},
    };
    for (const Row& row : rows) {
        const EncodeResult r = EncodeNumber(row.type, row.text, '.');
        EXPECT_EQ(r.status, EncodeStatus::RangeRejected) << row.text;
        EXPECT_EQ(r.limits.minText, row.min) << row.text;
        EXPECT_EQ(r.limits.maxText, row.max) << row.text;
    }
    EXPECT_EQ(RangeMessage({"-32768", "32767"}, false), "values between -32768 and 32767 only");
    EXPECT_EQ(RangeMessage({"-32768", "32767"}, true), "nur Werte zwischen -32768 and 32767 sind erlaubt");
}

TEST(EncodeNumber, ValuesBeyondTheStoredWidthAreRejectedNotWrapped) {
    // Each of these passes its own check (or has none) but would keep only its low bytes.
    for (const auto& [type, text] : std::vector<std::pair<int, std::string>>{
             {DataType::Pct16, "-200.5"},
             {DataType::Int32_2, "1048576"},
             {DataType::Prpm, "20000"},
             {DataType::Thrust, "1e12"},
             {DataType::Aspd, "1e9"},
             {DataType::Int32, "3000000000"},
             {DataType::Int32, "99999999999999999999"},
         }) {
        const EncodeResult r = EncodeNumber(type, text, '.');
        EXPECT_EQ(r.status, EncodeStatus::RangeRejected) << DataTypeKeyword(type) << " " << text;
        EXPECT_TRUE(r.bytes.empty());
    }
    EXPECT_EQ(EncodeNumber(DataType::Pct16, "-200.5", '.').limits.maxText, "199.993896484375");
}

TEST(EncodeNumber, TextThatIsNoNumber) {
    EXPECT_EQ(EncodeNumber(DataType::Double, "1,5", '.').status, EncodeStatus::ConversionError);
    EXPECT_EQ(EncodeNumber(DataType::Ang16, "1,5", '.').status, EncodeStatus::ConversionError);
    EXPECT_EQ(Encoded(DataType::Double, "abc"), test::LeDouble(0.0));
    EXPECT_EQ(EncodeNumber(DataType::Bool, "1", '.').status, EncodeStatus::NotANumberType);
    EXPECT_EQ(EncodeNumber(DataType::Text, "1", '.').status, EncodeStatus::NotANumberType);
    EXPECT_EQ(ConversionErrorMessage("1,5", false), "'1,5' is not a valid floating point value");
}

TEST(EncodeNumber, RoundTripsEveryInt16) {
    for (int v = -32768; v <= 32767; v += 7) {
        const auto bytes = Encoded(DataType::Int16, std::to_string(v));
        EXPECT_EQ(FormatValue(DataType::Int16, bytes, {'.', 1}), std::to_string(v));
    }
}

} // namespace
} // namespace kelvara
