// Stored values to texts, and typed numbers to stored bytes with the number editor's range
// checks; the worked numbers are rows. The code page of record and configuration texts, both
// ways. Value edits on tree nodes: bytes, parent copies, and what is refused.
#include "AirFileReader.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordEdits.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"
#include "Windows1252.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace kelvara {
namespace {

using namespace test;
using Bytes = std::vector<uint8_t>;

const NumberStyle kPeriod{'.', 1};

TEST(FormatValue, ScaledTypesMatchWorkedNumbers) {
    // type, stored bytes, text shown
    const std::vector<std::tuple<int, std::vector<uint8_t>, std::string>> rows = {
        {DataType::Ang16, Le16(182), "0.999989986419678"}, {DataType::Ang16, Le16(16384), "90.02197265625"},
        {DataType::Ang16, Le16(1), "0.00548999989405274"}, {DataType::Mach, Le32(20480), "0.999989986419678"},
        {DataType::Mach, Le32(65536), "3.19999003410339"}, {DataType::Mach, Le32(1), "3.9999998989515E-5"},
        {DataType::M256, Le16(100), "15.3787002563477"}, {DataType::Aspd, Le32(128), "1"},
        {DataType::Aspd, Le32(1), "0.0078125"}, {DataType::Pct16, Le16(16384), "100"},
        {DataType::Pct16, Le16(1), "0.006103515625"}, {DataType::Fwgt, {128, 1}, "1.5"},
        {DataType::Fwgt, {255, 255}, "255.99609375"}, {DataType::Prpm, Le16(2133), "999"},
        {DataType::Prpm, Le16(-1), "0"}, {DataType::Thrust, Le32(0), "0.5"},
        {DataType::Thrust, Le32(100), "1367.59997558594"}, {DataType::Thrust, Le32(1000), "13671.5"},
        {DataType::G16, Le16(1), "0.00106837612111121"}, {DataType::Int16_8, Le16(1), "0.0001220703125"},
        {DataType::Int16_2, Le16(3072), "1.5"}, {DataType::Int32_2, Le32(-2048), "-1"},
        {DataType::Float, LeFloat(0.1f), "0.100000001490116"}, {DataType::Double, LeDouble(0.5), "0.5"},
        {DataType::Double, LeDouble(2e20), "2E20"}, {DataType::Double, LeDouble(1.5e-6), "1.5E-6"},
        {DataType::Double, LeDouble(123456789012345.0), "123456789012345"},
        {DataType::Double, LeDouble(1234567890123456.0), "1.23456789012346E15"},
        {DataType::Double, LeDouble(0.0001), "0.0001"}, {DataType::Double, LeDouble(-0.25), "-0.25"},
        {DataType::Double, LeDouble(0.0), "0"}, {DataType::Int16, Le16(-32768), "-32768"},
        {DataType::Int32, Le32(-7), "-7"}, {DataType::Int8, {0x80}, "-128"},
        {DataType::Bool, {0, 0, 1, 0}, "TRUE"}, {DataType::Bool, {0, 0, 0, 0}, "FALSE"},
        {DataType::Text, {'a', 0}, " "}, {DataType::TblDb, {1, 2, 3, 4}, " "},
        {DataType::Unknown, {1, 2}, " "}, {1005, {1, 2, 3, 4, 5}, " "},
        {DataType::Label, {}, " "},
    };
    for (const auto& [type, bytes, text] : rows) {
        EXPECT_EQ(FormatValue(type, bytes, kPeriod), text) << "type " << type;
    }
}

TEST(FormatValue, DataShorterThanItsTypeShowsNoValueAndReadsNothingBeyond) {
    for (int type = 1; type <= 26; ++type) {
        const int width = FixedWidth(type);
        for (int n = 0; n < width; ++n) {
            const std::vector<uint8_t> shortData(static_cast<size_t>(n), 0xFF);
            EXPECT_EQ(FormatValue(type, shortData, kPeriod), " ") << "type " << type << " with " << n;
            EXPECT_FALSE(EditorNumberText(type, shortData, '.').has_value());
        }
    }
}

TEST(FormatValue, DecimalSettingAndLocaleMark) {
    // {locale mark, decimal setting}: 1 turns the locale's comma into a period for doubles only.
    const std::vector<std::tuple<NumberStyle, int, std::vector<uint8_t>, std::string>> rows = {
        {{',', 1}, DataType::Float, LeFloat(0.1f), "0,100000001490116"},
        {{',', 2}, DataType::Float, LeFloat(0.1f), "0,100000001490116"},
        {{',', 1}, DataType::Double, LeDouble(0.5), "0.5"},
        {{',', 2}, DataType::Double, LeDouble(0.5), "0,5"},
        {{'.', 2}, DataType::Double, LeDouble(0.5), "0.5"},
        {{',', 2}, DataType::Double, LeDouble(1.5e-6), "1,5E-6"},
    };
    for (const auto& [style, type, bytes, text] : rows) {
        EXPECT_EQ(FormatValue(type, bytes, style), text);
    }
}

TEST(FormatGeneral, NonFiniteValuesAndCarries) {
    // Rounding to 15 digits can carry into a new leading digit.
    for (const auto& [value, text] : {std::pair<long double, const char*>(std::numeric_limits<double>::quiet_NaN(), "NAN"),
                                      {-std::numeric_limits<double>::infinity(), "-INF"}, {9.9999999999999999e14L, "1E15"},
                                      {0.000099999999999999999L, "0.0001"}}) {
        EXPECT_EQ(FormatGeneral(value, '.'), text);
    }
}

// Cut to five decimals without rounding, the exponent dropped.
TEST(EditorNumberText, ShowsCutNumbers) {
    const std::vector<std::tuple<int, std::vector<uint8_t>, char, std::string>> rows = {
        {DataType::Ang16, Le16(182), '.', "0.99999"},    {DataType::M256, Le16(100), '.', "15.3787"},
        {DataType::Mach, Le32(20480), '.', "0.99999"},   {DataType::Thrust, Le32(100), '.', "1367.6"},
        {DataType::Thrust, Le32(0), '.', "0.5"},         {DataType::Fwgt, {128, 2}, '.', "2.5"},
        {DataType::Double, LeDouble(3.14159265), '.', "3.14159"},
        {DataType::Double, LeDouble(3.14159265), ',', "3,14159"},
        {DataType::Prpm, Le16(2133), '.', "999.84375"}, {DataType::Pct16, Le16(16384), '.', "100"},
        {DataType::Int8, {0xFF}, '.', "-1"},            {DataType::Double, LeDouble(0.999999), '.', "0.99999"},
        {DataType::Double, LeDouble(1.23456789e-6), '.', "1.23456"},
        {DataType::Double, LeDouble(2.5), ',', "2,5"},
    };
    for (const auto& [type, bytes, mark, text] : rows) {
        EXPECT_EQ(EditorNumberText(type, bytes, mark), text) << DataTypeKeyword(type);
    }
    EXPECT_FALSE(EditorNumberText(DataType::Bool, Le32(1), '.').has_value());
    EXPECT_FALSE(EditorNumberText(DataType::Text, std::vector<uint8_t>{0}, '.').has_value());
}

// Every typed and imported number goes through this reader; what it refuses stores nothing.
TEST(ReadNumberText, OneStrictReader) {
    using F = NumberFault;
    const std::vector<std::tuple<std::string, F, double>> rows = {
        {"12.5", F::None, 12.5},        {"12,5", F::None, 12.5},       {" \t-3.25 ", F::None, -3.25},
        {"+4", F::None, 4},             {"5.", F::None, 5},            {",5", F::None, 0.5},
        {"1e3", F::None, 1000},         {"-2,5E-1", F::None, -0.25},   {"1e-400", F::None, 0},
        {"3e-324", F::None, 3e-324},    {"1.7976931348623157e308", F::None, 1.7976931348623157e308},
        {"", F::Empty, 0},              {"   ", F::Empty, 0},          {"-", F::Incomplete, 0},
        {"+", F::Incomplete, 0},        {".", F::Incomplete, 0},       {"1e", F::Incomplete, 0},
        {"-1e+", F::Incomplete, 0},     {"abc", F::NotANumber, 0},     {" 12xyz", F::NotANumber, 0},
        {"1.5.3", F::NotANumber, 0},    {"1,5.3", F::NotANumber, 0},   {"1 000", F::NotANumber, 0},
        {"12 ft", F::NotANumber, 0},    {"80%", F::NotANumber, 0},     {"nan", F::NotANumber, 0},
        {"inf", F::NotANumber, 0},      {"-INF", F::NotANumber, 0},    {"0x10", F::NotANumber, 0},
        {"1e5x", F::NotANumber, 0},     {"e5", F::NotANumber, 0},      {"--1", F::NotANumber, 0},
        {"1e999", F::TooLarge, 0},      {"-1e400", F::TooLarge, 0},
    };
    for (const auto& [text, fault, value] : rows) {
        const NumberReading r = ReadNumberText(text);
        EXPECT_EQ(std::pair(r.fault, r.value), std::pair(fault, value)) << "'" << text << "'";
    }
    EXPECT_TRUE(std::signbit(ReadNumberText("-0").value));
}

// Written table numbers read back as the same double: 15 digits where they do, else 17.
TEST(FormatRoundTrip, ReadsBackBitForBit) {
    const std::vector<std::tuple<double, char, std::string>> rows = {
        {0.5, '.', "0.5"}, {-1.25, ',', "-1,25"}, {1e20, '.', "1E20"}, {0.1, '.', "0.1"},
        {0.1 + 0.2, '.', "0.30000000000000004"}, {1.0 / 3, ',', "0,33333333333333331"},
        {-1.9634953514860003, '.', "-1.9634953514860003"}, {-0.0, '.', "-0"},
        {5e-324, '.', "4.94065645841247E-324"}, {32767 / 2048.0, '.', "15.99951171875"},
    };
    for (const auto& [value, mark, text] : rows) {
        EXPECT_EQ(FormatRoundTrip(value, mark), text) << value;
    }
    // A spread of bit patterns across every exponent.
    uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        bits = bits * 6364136223846793005u + 1442695040888963407u;
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) {
            continue;
        }
        const NumberReading back = ReadNumberText(FormatRoundTrip(value, i % 2 ? ',' : '.'));
        ASSERT_TRUE(back.Ok() && std::memcmp(&back.value, &value, sizeof value) == 0) << FormatRoundTrip(value, '.');
    }
}

TEST(TruncToInt64, DefinedForEveryInput) {
    const long double inf = std::numeric_limits<long double>::infinity();
    for (const auto& [value, expected] : {std::pair(std::numeric_limits<long double>::quiet_NaN(), int64_t{0}),
                                          {inf, INT64_MAX}, {-inf, INT64_MIN}, {1e30L, INT64_MAX}, {-2.9L, -2}}) {
        EXPECT_EQ(TruncToInt64(value), expected) << value;
    }
}

TEST(EncodeNumber, StoredBytes) {
    const std::vector<std::tuple<int, std::string, Bytes>> rows = {
        {DataType::Int16_2, "1.5", Le16(3072)},     {DataType::Ang16, "1", Le16(182)},
        {DataType::Ang16, "180", Le16(32760)},      {DataType::Prpm, "999", Le16(2131)},
        {DataType::Int16, " -7 ", Le16(-7)},        {DataType::Int16, "1e3", Le16(1000)},
        {DataType::Int8, "-128", {0x80}},           {DataType::Mach, "0.5", Le32(10240)},
        {DataType::G16, "1", Le16(936)},            {DataType::Int16_8, "-4", Le16(-32768)},
        {DataType::Pct16, "100", Le16(16384)},      {DataType::Thrust, "13671.5", Le32(1000)},
        {DataType::Aspd, "1", Le32(128)},           {DataType::Int32, "-2147483648", Le32(INT32_MIN)},
        {DataType::Double, "1,5", test::LeDouble(1.5)}, {DataType::Float, "1e-400", test::LeFloat(0)},
        {DataType::Int32, "2147483647", Le32(INT32_MAX)}, {DataType::Int16, "-32768.0", Le16(-32768)},
        // fwgt is 8.8 fixed point of the typed number, whatever its spelling.
        {DataType::Fwgt, "2.5", {128, 2}},          {DataType::Fwgt, "255.5", {128, 255}},
        {DataType::Fwgt, "1e2", {0, 100}},          {DataType::Fwgt, "2.5e1", {0, 25}},
        {DataType::Fwgt, "0.5e1", {0, 5}},          {DataType::Fwgt, "1e-5", {0, 0}},
    };
    for (const auto& [type, text, bytes] : rows) {
        const EncodeResult r = EncodeNumber(type, text, '.');
        EXPECT_EQ(std::pair(r.status, r.bytes), std::pair(EncodeStatus::Ok, bytes)) << DataTypeKeyword(type) << " " << text;
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
        EXPECT_EQ(std::tuple(r.status, r.bytes.empty(), r.limits.minText, r.limits.maxText),
                  std::tuple(EncodeStatus::RangeRejected, true, min, max))
            << text;
    }
    EXPECT_EQ(RangeMessage({"-1", "1"}, false), "values between -1 and 1 only");
    EXPECT_EQ(RangeMessage({"-1", "1"}, true), "nur Werte zwischen -1 and 1 sind erlaubt");
}

// The tolerant reading stored 0 for "", "abc" and "nan", and 12 for "12abc".
TEST(EncodeNumber, TextThatIsNoNumberStoresNothing) {
    using F = NumberFault;
    const std::vector<std::tuple<int, std::string, EncodeStatus, F>> rows = {
        {DataType::Double, "", EncodeStatus::ConversionError, F::Empty},
        {DataType::Int16, "-", EncodeStatus::ConversionError, F::Incomplete},
        {DataType::Ang16, "1e", EncodeStatus::ConversionError, F::Incomplete},
        {DataType::Int16, "12abc", EncodeStatus::ConversionError, F::NotANumber},
        {DataType::Int32, "1 000", EncodeStatus::ConversionError, F::NotANumber},
        {DataType::Double, "1.5.3", EncodeStatus::ConversionError, F::NotANumber},
        {DataType::Float, "nan", EncodeStatus::ConversionError, F::NotANumber},
        {DataType::Double, "inf", EncodeStatus::ConversionError, F::NotANumber},
        {DataType::Double, "1e999", EncodeStatus::ConversionError, F::TooLarge},
        {DataType::Int8, "1.5", EncodeStatus::ConversionError, F::NotWhole},
        {DataType::Bool, "1", EncodeStatus::NotANumberType, F::None},
        {DataType::Text, "1", EncodeStatus::NotANumberType, F::None},
    };
    for (const auto& [type, text, status, fault] : rows) {
        const EncodeResult r = EncodeNumber(type, text, '.');
        EXPECT_EQ(std::tuple(r.status, r.fault, r.bytes.empty()), std::tuple(status, fault, true)) << text;
    }
    const std::vector<std::tuple<std::string, F, std::string, std::string>> messages = {
        {"abc", F::NotANumber, "'abc' is not a number", "'abc' ist keine Zahl"},
        {" ", F::Empty, "no number given", "keine Zahl eingegeben"},
        {"1e", F::Incomplete, "'1e' is not a complete number", "'1e' ist keine vollständige Zahl"},
        {"1e999", F::TooLarge, "'1e999' is too large", "'1e999' ist zu groß"},
        {"1.5", F::NotWhole, "'1.5' is not a whole number", "'1.5' ist keine ganze Zahl"},
    };
    for (const auto& [text, fault, english, german] : messages) {
        EXPECT_EQ(std::pair(ConversionErrorMessage(text, fault, false), ConversionErrorMessage(text, fault, true)),
                  std::pair(english, german));
    }
}

TEST(Windows1252, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Windows1252ToUtf8(byte);
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_EQ(Utf8ToWindows1252(utf8), byte) << b;
    }
}

TEST(Windows1252, Conversions) {
    // stored bytes, the same text in UTF-8
    const std::pair<std::string, std::string> rows[] = {
        {"\x80", "€"}, {"\x84", "„"}, {"\x82", "‚"}, {"\x96", "–"}, {"\x97", "—"},
        {"\x99", "™"}, {"\x9F", "Ÿ"}, {"\x81", "\xC2\x81"}, {"\x9D", "\xC2\x9D"},
        {"\xA0", "\xC2\xA0"}, {"\xE9", "é"}, {"\xFF", "ÿ"}, {"Cessna \x84" "C172\x93", "Cessna „C172“"},
    };
    for (const auto& [bytes, utf8] : rows) {
        EXPECT_EQ(Windows1252ToUtf8(bytes), utf8) << utf8;
        EXPECT_EQ(Utf8ToWindows1252(utf8), bytes) << utf8;
    }
}

TEST(Windows1252, RefusesWhatCannotBeStored) {
    // Unstorable characters, then malformed, overlong, surrogate and truncated UTF-8.
    for (const std::string_view text :
         {"中", "a\xF0\x9F\x98\x80", "\xC2\x80", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82", "\x80"}) {
        EXPECT_EQ(Utf8ToWindows1252(text), std::nullopt) << text;
    }
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_TRUE(IsValidUtf8("a€中😀"));
}

TEST(Windows1252, ConfigTextIsUtf16Utf8OrWindows1252) {
    using namespace std::string_literals;
    // bytes, text
    for (const auto& [bytes, text] : std::initializer_list<std::pair<std::string, std::string>>{
             {"\xEF\xBB\xBF" "Caf\xC3\xA9", "Café"},
             {"Caf\xE9 \x80", "Café €"},
             {"plain", "plain"},
             {"\xFF\xFE[\0\xE9\0\xAC\x20=\0"s, "[é€="},
             {"\xFE\xFF\0[\0\xE9\x20\xAC"s, "[é€"},
             // a pair of surrogates, then a lone one and an odd last byte
             {"\xFF\xFE\x3D\xD8\x00\xDEx\0\x00\xDCy"s, "😀x\uFFFD\uFFFD"},
         }) {
        EXPECT_EQ(DecodeConfigText(bytes), text);
    }
}

class Edits : public ::testing::Test {
protected:
    Edits() {
        mDictionary.LoadFromText(
            "[records]\n1001=Title,text\n1204=Engine,record\n1300=Rpm,int16\n1301=Gear,bool\n"
            "1302=Stub,int32\n"
            "[1204]\n1=0x00,int16,Max\n2=0x02,text,Note\n3=0x06,bool,On\n");
        const auto bytes = AirFileBuilder()
                               .Record(0x1001, std::vector<uint8_t>(10, 'x'))
                               .Record(0x1204, {1, 0, 'h', 'i', 0, 0, 0, 1, 0, 0})
                               .Record(0x1300, Le16(5))
                               .Record(0x1301, {0, 1, 0, 0})
                               .Record(0x1302, {1, 2})
                               .Bytes();
        EXPECT_EQ(ReadAirBytes(bytes, mDictionary, {}, mTree).code, 0);
    }
    RecordNode& Node(int32_t number) { return *mTree.FindRecord(number); }

    RecordDictionary mDictionary;
    RecordTree mTree;
};

TEST_F(Edits, NumberEditWritesBytesAndRefusesOutOfRange) {
    // record, typed, the outcome, the bytes afterwards
    for (const auto& [number, text, status, after] :
         {std::tuple(0x1300, "-3", EditStatus::Ok, Le16(-3)), {0x1300, "32768", EditStatus::RangeRejected, Le16(-3)},
          {0x1302, "5", EditStatus::NotEditable, std::vector<uint8_t>{1, 2}}}) {
        const EditResult r = ApplyNumberEdit(Node(number), text, '.');
        EXPECT_EQ(std::pair(r.status, Node(number).record.data.ToVector()), std::pair(status, after)) << text;
        EXPECT_EQ(r.limits.maxText, status == EditStatus::RangeRejected ? "32767" : "") << text;
    }
}

// A field's edit reaches its parent. 0x00000100 reads as TRUE; false must not leave its
// second byte behind.
TEST_F(Edits, FieldAndBoolEdits) {
    RecordNode& parent = Node(0x1204);
    ASSERT_EQ(ApplyNumberEdit(*parent.Child(0), "258", '.').status, EditStatus::Ok);
    ASSERT_EQ(ApplyBoolEdit(*parent.Child(2), false).status, EditStatus::Ok);
    EXPECT_EQ(parent.record.data, (std::vector<uint8_t>{2, 1, 'h', 'i', 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(ApplyBoolEdit(Node(0x1301), false).status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1301).record.data, Le32(0));
    ASSERT_EQ(ApplyBoolEdit(Node(0x1301), true).status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1301).record.data, Le32(1));
}

TEST_F(Edits, TextEdits) {
    ASSERT_EQ(ApplyTextEdit(Node(0x1001), "ab").status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1001).record.data, TextBytes("ab"));
    EXPECT_EQ(ApplyTextEdit(Node(0x1001), std::string(32001, 'a')).status, EditStatus::TextTooLong);
    EXPECT_EQ(Node(0x1001).record.Text(), "ab");
    EXPECT_EQ(ApplyTextEdit(Node(0x1001), std::string(32000, 'a')).status, EditStatus::Ok);

    // A text field keeps its room in the parent: shorter texts are padded, longer refused.
    RecordNode& note = *Node(0x1204).Child(1);
    ASSERT_EQ(note.record.data.size(), 3u);
    EXPECT_EQ(ApplyTextEdit(note, "x").status, EditStatus::Ok);
    EXPECT_EQ(Node(0x1204).record.data, (std::vector<uint8_t>{1, 0, 'x', 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(ApplyTextEdit(note, "xyz").status, EditStatus::TextTooLongForField);
    EXPECT_EQ(Node(0x1204).record.data[2], 'x');
}

} // namespace
} // namespace kelvara
