// The shipped KVR.ini against what real flight models hold: the record numbers and lengths of
// real aircraft files are listed in real_records.txt (the files themselves are not shipped).

#include "DataType.h"
#include "RecordDictionary.h"
#include "TextUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kelvara {
namespace {

const std::string kSource = KELVARA_SOURCE_DIR;

const RecordDictionary& Dictionary() {
    static const RecordDictionary* dictionary = [] {
        auto* d = new RecordDictionary;
        d->LoadDictionary(kSource + "/data/KVR.ini");
        return d;
    }();
    return *dictionary;
}

// Record number -> every length seen in the real files.
std::map<int, std::set<uint32_t>> RealRecords() {
    std::map<int, std::set<uint32_t>> seen;
    std::ifstream in(kSource + "/tests/data/real_records.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string file, number;
        uint32_t length = 0;
        if (fields >> file >> number >> length) {
            seen[static_cast<int>(std::stoi(number, nullptr, 16))].insert(length);
        }
    }
    return seen;
}

// Bytes a layout field occupies, or 0 for labels and fields without a fixed width.
uint32_t FieldWidth(const FieldDef& f) {
    if (IsRawBlock(f.type)) {
        return static_cast<uint32_t>(f.type - DataType::RawBlockBase);
    }
    return static_cast<uint32_t>(std::max(FixedWidth(f.type), 0));
}

std::vector<int> DefinedRecords() {
    std::vector<int> numbers;
    for (int n = 0; n < RecordDictionary::kRecordCount; ++n) {
        if (Dictionary().IsDefined(n)) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

TEST(ShippedDictionary, LoadsEveryLine) {
    const RecordDictionary& d = Dictionary();
    ASSERT_TRUE(d.FileFound());
    std::string skipped;
    for (const std::string& line : d.SkippedLineTexts()) {
        skipped += line + "\n";
    }
    EXPECT_EQ(d.SkippedLines(), 0) << skipped;
    EXPECT_GT(DefinedRecords().size(), 140u);
}

TEST(ShippedDictionary, EveryNamedRecordHasAKnownTypeAndHelp) {
    for (int n : DefinedRecords()) {
        const RecordEntry& e = Dictionary().Entry(n);
        SCOPED_TRACE(::testing::Message() << std::hex << "record 0x" << n << " " << e.name);
        EXPECT_NE(e.type, DataType::Unknown) << "type keyword not understood";
        EXPECT_FALSE(std::string(Trim(e.name)).empty());
        EXPECT_EQ(e.name, std::string(Trim(e.name))) << "blank before the comma ends up in the name";
        EXPECT_FALSE(e.help.empty());
        EXPECT_LE(SplitFields(e.help, '|').size(), 49u) << "help lines beyond 50 are merged";
    }
}

TEST(ShippedDictionary, EveryRecordOfRealFilesIsNamed) {
    const auto real = RealRecords();
    ASSERT_GT(real.size(), 100u) << "real_records.txt not read";
    for (const auto& [number, lengths] : real) {
        EXPECT_TRUE(Dictionary().IsDefined(number)) << std::hex << "record 0x" << number;
    }
}

// Every record number that the public facts name, whether or not a real file here holds it.
TEST(ShippedDictionary, EveryDocumentedRecordIsNamed) {
    const int documented[] = {
        0x0001, 0x0002, 0x0003, 0x0004, 0x0100, 0x0341, 0x0342, 0x0343, 0x0400, 0x0401, 0x0404,
        0x0410, 0x0411, 0x0412, 0x0413, 0x0420, 0x0421, 0x0422, 0x0423, 0x0430, 0x0433, 0x0440,
        0x0441, 0x0442, 0x0443, 0x0450, 0x0451, 0x0452, 0x0453, 0x0454, 0x0455, 0x0456, 0x0459,
        0x0460, 0x0461, 0x0462, 0x0463, 0x0464, 0x0465, 0x0473, 0x0508, 0x0509, 0x0511, 0x0512,
        0x0516, 0x0517, 0x0518, 0x0519, 0x0523, 0x0524, 0x0536, 0x0537, 0x0538, 0x0539, 0x0540,
        0x0541, 0x0542, 0x0543, 0x0544, 0x0545, 0x0546, 0x1002, 0x1101, 0x1199, 0x1204, 0x1300,
        0x1502, 0x1503, 0x1504, 0x1505, 0x1506, 0x1525, 0x1526, 0x1532, 0x1535, 0x1536, 0x1537,
        0x1538, 0x1539, 0x1540, 0x1541, 0x1542, 0x1543, 0x1544,
    };
    for (int n : documented) {
        EXPECT_TRUE(Dictionary().IsDefined(n)) << std::hex << "record 0x" << n;
    }
}

// A type that does not match the stored size would show nonsense or refuse the table.
TEST(ShippedDictionary, TypesFitTheLengthsOfRealRecords) {
    for (const auto& [number, lengths] : RealRecords()) {
        const int type = Dictionary().Type(number);
        for (uint32_t len : lengths) {
            SCOPED_TRACE(::testing::Message() << std::hex << "record 0x" << number << std::dec << " length " << len);
            switch (type) {
            case DataType::Int8:
                EXPECT_EQ(len, 1u);
                break;
            case DataType::Int16:
                EXPECT_EQ(len, 2u);
                break;
            case DataType::Int32:
            case DataType::Bool:
                EXPECT_EQ(len, 4u);
                break;
            case DataType::Tbl16_2:
                EXPECT_EQ(len, 34u) << "17 Mach steps";
                break;
            case DataType::TblDb:
                EXPECT_GE(len, 12u);
                EXPECT_EQ((len - 4) % 16, 0u);
                break;
            case DataType::Tbl3d:
            case DataType::Tbl3d_2:
                EXPECT_GE(len, 8u);
                EXPECT_EQ(len % 8, 0u);
                break;
            case DataType::Text:
            case DataType::Record:
                break;
            default:
                ADD_FAILURE() << "unexpected type " << type;
            }
        }
    }
}

TEST(ShippedDictionary, LayoutsDescribeStructuredRecordsWithKnownFieldTypes) {
    const RecordDictionary& d = Dictionary();
    std::set<int32_t> described;
    for (int l = 0; l < d.LayoutCount(); ++l) {
        const int32_t number = d.Layout(l).recordNumber;
        SCOPED_TRACE(::testing::Message() << std::hex << "layout of 0x" << number);
        EXPECT_TRUE(described.insert(number).second) << "a second section is ignored";
        EXPECT_EQ(d.Type(number), DataType::Record);
        const int count = d.FieldCount(l);
        EXPECT_GT(count, 0);
        int slotsUsed = 0;
        for (int f = 1; f <= RecordDictionary::kMaxFieldNumber; ++f) {
            slotsUsed += d.Field(l, f).type != DataType::Undefined ? 1 : 0;
        }
        EXPECT_EQ(slotsUsed, count) << "a gap in the field numbers hides the fields after it";
        for (int f = 1; f <= count; ++f) {
            const FieldDef& field = d.Field(l, f);
            SCOPED_TRACE(::testing::Message() << "field " << f << " " << field.name);
            EXPECT_FALSE(field.name.empty());
            if (field.type == DataType::Label) {
                continue;
            }
            EXPECT_GE(field.offset, 0);
            const bool known = IsRawBlock(field.type)
                                   ? field.type > DataType::RawBlockBase
                                   : FieldTypeFromKeyword(DataTypeKeyword(field.type)).has_value();
            EXPECT_TRUE(known) << "type " << field.type;
            EXPECT_NE(field.type, DataType::Unknown);
        }
    }
    for (int n : DefinedRecords()) {
        if (d.Type(n) == DataType::Record) {
            EXPECT_GE(d.LayoutOf(n), 0) << std::hex << "structured record 0x" << n << " without layout";
        }
    }
}

// The autopilot block has 16 controllers in FSX-era files and 15 in a P3D-compiled one: its
// layout covers the larger, and the shorter file simply lacks the last controller's fields.
const std::set<int> kVariableBlocks = {0x1199};

TEST(ShippedDictionary, LayoutFieldsLieInsideTheRealRecords) {
    const RecordDictionary& d = Dictionary();
    for (const auto& [number, lengths] : RealRecords()) {
        const int l = d.LayoutOf(number);
        if (l < 0) {
            continue;
        }
        const uint32_t largest = *lengths.rbegin();
        for (int f = 1; f <= d.FieldCount(l); ++f) {
            const FieldDef& field = d.Field(l, f);
            if (field.type == DataType::Label) {
                continue;
            }
            const uint32_t begin = static_cast<uint32_t>(field.offset);
            const uint32_t end = begin + FieldWidth(field);
            ASSERT_GT(end, begin) << "field without a width";
            for (uint32_t len : lengths) {
                SCOPED_TRACE(::testing::Message() << std::hex << "record 0x" << number << std::dec << " length "
                                                  << len << ", field " << f << " " << field.name);
                if (kVariableBlocks.count(number)) {
                    EXPECT_LE(end, largest);
                    EXPECT_TRUE(end <= len || begin >= len) << "field cut in two by the shorter record";
                } else {
                    EXPECT_LE(end, len);
                }
            }
        }
    }
}

// Records without a public layout are shown as raw blocks that cover every byte exactly once.
TEST(ShippedDictionary, UndocumentedRecordsKeepEveryByteVisible) {
    const RecordDictionary& d = Dictionary();
    const auto real = RealRecords();
    for (int number : {0x1101, 0x1204, 0x1002, 0x0300, 0x0320, 0x0505, 0x0510, 0x0525, 0x1203}) {
        SCOPED_TRACE(::testing::Message() << std::hex << "record 0x" << number);
        const int l = d.LayoutOf(number);
        ASSERT_GE(l, 0);
        EXPECT_NE(d.Entry(number).help.find("No public"), std::string::npos);
        std::vector<int> cover;
        for (int f = 1; f <= d.FieldCount(l); ++f) {
            const FieldDef& field = d.Field(l, f);
            ASSERT_TRUE(IsRawBlock(field.type)) << "field " << f << " claims a meaning";
            cover.resize(std::max<size_t>(cover.size(), size_t(field.offset) + FieldWidth(field)));
            for (uint32_t i = 0; i < FieldWidth(field); ++i) {
                ++cover[size_t(field.offset) + i];
            }
        }
        ASSERT_TRUE(real.count(number));
        EXPECT_EQ(cover.size(), *real.at(number).begin());
        EXPECT_TRUE(std::all_of(cover.begin(), cover.end(), [](int c) { return c == 1; }));
    }
}

TEST(ShippedDictionary, FactsLayoutsOfScalarBlocks) {
    const RecordDictionary& d = Dictionary();
    // Number of doubles that the public sources give per block.
    const std::map<int, int> doubles = {{0x0516, 2}, {0x0540, 3}, {0x0541, 4}, {0x0542, 4}, {0x0543, 4},
                                        {0x0544, 3}, {0x0545, 3}, {0x1526, 3}, {0x1532, 3}, {0x1539, 6},
                                        {0x1540, 4}, {0x1541, 13}, {0x1542, 4}, {0x1543, 6}, {0x1544, 9},
                                        {0x1199, 16 * 7}};
    for (const auto& [number, count] : doubles) {
        SCOPED_TRACE(::testing::Message() << std::hex << "record 0x" << number);
        const int l = d.LayoutOf(number);
        ASSERT_GE(l, 0);
        std::vector<int32_t> offsets;
        for (int f = 1; f <= d.FieldCount(l); ++f) {
            if (d.Field(l, f).type == DataType::Double) {
                offsets.push_back(d.Field(l, f).offset);
            } else {
                EXPECT_EQ(d.Field(l, f).type, DataType::Label);
            }
        }
        ASSERT_EQ(offsets.size(), size_t(count));
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(offsets[size_t(i)], 8 * i) << "double " << i;
        }
    }
    EXPECT_EQ(d.Field(d.LayoutOf(0x1539), 1).name, "CL_spoiler");
}

// Part of the axis text is read per view: X and Y names of the column-curve view, those of
// the row-curve view, the curve parameter of each, and the corner label.
TEST(ShippedDictionary, EveryTableHasAxisTexts) {
    const RecordDictionary& d = Dictionary();
    for (int n : DefinedRecords()) {
        const int type = d.Type(n);
        if (!IsTableType(type)) {
            EXPECT_TRUE(d.Entry(n).axis.empty()) << std::hex << "record 0x" << n;
            continue;
        }
        SCOPED_TRACE(::testing::Message() << std::hex << "table 0x" << n);
        const std::vector<std::string> pieces = SplitFields(d.Entry(n).axis, '|');
        const std::vector<std::string> xy = SplitFields(pieces[0], ',');
        ASSERT_EQ(xy.size(), 2u) << d.Entry(n).axis;
        EXPECT_FALSE(xy[0].empty());
        EXPECT_FALSE(xy[1].empty());
        if (type == DataType::Tbl3d || type == DataType::Tbl3d_2) {
            ASSERT_EQ(pieces.size(), 4u);
            EXPECT_EQ(SplitFields(pieces[1], ',').size(), 2u);
            EXPECT_EQ(SplitFields(pieces[2], ',').size(), 2u);
        }
    }
    // The Mach corner of the throttle tables is editable; the propeller tables have none.
    EXPECT_EQ(SplitFields(d.Entry(0x1503).axis, '|').at(3), "Mach (low)");
    EXPECT_EQ(SplitFields(d.Entry(0x0511).axis, '|').at(3), "");
}

TEST(ShippedDictionary, SampleOnlyRecordsSayWhatTheyAre) {
    for (int n : DefinedRecords()) {
        const bool sampleOnly = Dictionary().Entry(n).help.find("Sample only") != std::string::npos;
        EXPECT_EQ(sampleOnly, n >= 0x3E00) << std::hex << "record 0x" << n;
    }
}

} // namespace
} // namespace kelvara
