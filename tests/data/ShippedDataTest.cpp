// The shipped data against what it must serve. KVR.ini against the record numbers and lengths
// of real aircraft files, listed in real_records.txt (the files themselves are not shipped);
// the sample simulator folder: its scan leads to existing flight models, and every flight
// model loads and shows with the shipped dictionary.

#include "AirFileReader.h"
#include "ByteIO.h"
#include "DataType.h"
#include "FolderNames.h"
#include "RecordDictionary.h"
#include "RecordTree.h"
#include "Scan.h"
#include "TextUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kelvara {
namespace {

namespace fs = std::filesystem;

const std::string kSource = KELVARA_SOURCE_DIR;
const std::string kSamples = kSource + "/data/samples/FSX";

const RecordDictionary& Dictionary() {
    static RecordDictionary d;
    [[maybe_unused]] static const bool loaded = (d.LoadDictionary(kSource + "/data/KVR.ini"), true);
    return d;
}

// Record number -> every length seen in the real files.
std::map<int, std::set<uint32_t>> RealRecords() {
    std::map<int, std::set<uint32_t>> seen;
    std::ifstream in(kSource + "/tests/data/real_records.txt");
    std::string line, file, number;
    uint32_t length = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        if (line[0] != '#' && fields >> file >> number >> length) {
            seen[std::stoi(number, nullptr, 16)].insert(length);
        }
    }
    return seen;
}

// Bytes a layout field occupies, or 0 for labels and fields without a fixed width.
uint32_t FieldWidth(const FieldDef& f) {
    return IsRawBlock(f.type) ? uint32_t(f.type - DataType::RawBlockBase)
                              : uint32_t(std::max(FixedWidth(f.type), 0));
}

std::string Hex(int n) {
    char text[24];
    std::snprintf(text, sizeof text, "record 0x%x", static_cast<unsigned>(n));
    return text;
}

TEST(ShippedDictionary, LoadsCleanlyAndNamesEveryKnownRecord) {
    const RecordDictionary& d = Dictionary();
    ASSERT_TRUE(d.FileFound());
    EXPECT_EQ(d.SkippedLines(), 0) << ::testing::PrintToString(d.SkippedLineTexts());
    int defined = 0;
    for (int n = 0; n < RecordDictionary::kRecordCount; ++n) {
        if (d.IsDefined(n)) {
            ++defined;
            EXPECT_NE(d.Type(n), DataType::Unknown) << Hex(n) << ": type keyword not understood";
            EXPECT_FALSE(d.Entry(n).name.empty()) << Hex(n);
            EXPECT_TRUE(d.Type(n) != DataType::Record || d.LayoutOf(n) >= 0)
                << Hex(n) << " without layout";
        }
    }
    EXPECT_GT(defined, 140);
    // Documented records that no real file here holds; the others are checked with the lengths.
    for (int n : {0x0523, 0x1502, 0x1503, 0x1504, 0x1505, 0x1506, 0x1526, 0x1532}) {
        EXPECT_TRUE(d.IsDefined(n)) << Hex(n);
    }
}

// Every record of the real files is named, with a type that matches its stored size: another
// would show nonsense or refuse the table.
TEST(ShippedDictionary, TypesFitTheLengthsOfRealRecords) {
    using Fit = std::function<bool(uint32_t)>;
    const auto size = [](uint32_t bytes) -> Fit { return [bytes](uint32_t n) { return n == bytes; }; };
    const Fit matrix = [](uint32_t n) { return n >= 8 && n % 8 == 0; }, any = [](uint32_t) { return true; };
    const std::map<int, Fit> fits = {
        {DataType::Int8, size(1)},     {DataType::Int16, size(2)}, {DataType::Int32, size(4)},
        {DataType::Bool, size(4)},     {DataType::Tbl16_2, size(34)}, // 17 Mach steps
        {DataType::TblDb, [](uint32_t n) { return n >= 12 && (n - 4) % 16 == 0; }},
        {DataType::Tbl3d, matrix},     {DataType::Tbl3d_2, matrix}, {DataType::Text, any},
        {DataType::Record, any}};
    const auto real = RealRecords();
    ASSERT_GT(real.size(), 100u) << "real_records.txt not read";
    for (const auto& [number, lengths] : real) {
        const auto fit = fits.find(Dictionary().Type(number));
        ASSERT_NE(fit, fits.end()) << Hex(number) << " of type " << Dictionary().Type(number);
        for (uint32_t len : lengths) {
            EXPECT_TRUE(fit->second(len)) << Hex(number) << " length " << len;
        }
    }
}

// The autopilot block has 16 controllers in FSX-era files and 15 in a P3D-compiled one: its
// layout covers the larger, and the shorter file simply lacks the last controller's fields.
const std::set<int> kVariableBlocks = {0x1199};

// Every layout is whole (one section per record, no gap in the field numbers, known field
// types), its fixed-width fields do not overlap and lie inside every real record; a layout of
// raw blocks only (no public meaning) covers each byte of the real record exactly once.
TEST(ShippedDictionary, LayoutsFitTheRealRecords) {
    const RecordDictionary& d = Dictionary();
    const auto real = RealRecords();
    std::set<int32_t> described;
    for (int l = 0; l < d.LayoutCount(); ++l) {
        const int32_t number = d.Layout(l).recordNumber;
        SCOPED_TRACE("layout of " + Hex(number));
        EXPECT_TRUE(described.insert(number).second) << "a second section is ignored";
        EXPECT_EQ(d.Type(number), DataType::Record);
        const int count = d.FieldCount(l);
        EXPECT_GT(count, 0);
        int slotsUsed = 0;
        for (int f = 1; f <= RecordDictionary::kMaxFieldNumber; ++f) {
            slotsUsed += d.Field(l, f).type != DataType::Undefined ? 1 : 0;
        }
        EXPECT_EQ(slotsUsed, count) << "a gap in the field numbers hides the fields after it";
        std::vector<int> cover;
        bool rawOnly = true;
        for (int f = 1; f <= count; ++f) {
            const FieldDef& field = d.Field(l, f);
            SCOPED_TRACE("field " + std::to_string(f) + " " + field.name);
            if (field.type == DataType::Label) {
                continue;
            }
            rawOnly &= IsRawBlock(field.type);
            EXPECT_FALSE(field.name.empty());
            ASSERT_NE(field.type, DataType::RawBlockBase) << "a misspelt type reads as no bytes";
            ASSERT_GE(field.offset, 0);
            const uint32_t begin = uint32_t(field.offset), end = begin + FieldWidth(field);
            ASSERT_TRUE(end > begin || !real.count(number)) << "field without a width";
            cover.resize(std::max<size_t>(cover.size(), end));
            for (uint32_t i = begin; i < end; ++i) {
                EXPECT_EQ(++cover[i], 1) << "byte " << i << " shown by two fields";
            }
            if (!real.count(number)) {
                continue;
            }
            for (uint32_t len : real.at(number)) {
                if (kVariableBlocks.count(number)) {
                    EXPECT_LE(end, *real.at(number).rbegin());
                    EXPECT_TRUE(end <= len || begin >= len)
                        << "field cut in two by the " << len << "-byte record";
                } else {
                    EXPECT_LE(end, len) << "beyond the " << len << "-byte record";
                }
            }
        }
        if (rawOnly && real.count(number)) {
            EXPECT_EQ(cover.size(), *real.at(number).begin()) << "raw blocks leave bytes unseen";
            EXPECT_TRUE(std::all_of(cover.begin(), cover.end(), [](int c) { return c == 1; }));
        }
    }
}

// The scan of the sample folder reads Windows text and finds existing flight models; together
// the samples cover the cases the library must handle.
TEST(SampleFolder, EveryVariationNamesExistingFiles) {
    ScanFolders folders{kSamples, {}, 0};
    AircraftLibrary library;
    std::vector<AircraftLine> lines;
    std::vector<std::string> problems;
    ScanHooks hooks;
    hooks.addLine = CollectLines(lines);
    hooks.problem = [&](std::string_view text) { problems.emplace_back(text); };
    ASSERT_EQ(Scan(folders, library, hooks), ScanResultCode::Ok);
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
    std::map<std::string, bool> covered;
    size_t variations = 0;
    for (const AircraftEntry& entry : library.Entries()) {
        SCOPED_TRACE(entry.configPath);
        std::ifstream in(entry.configPath, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        for (size_t i = 0; i < bytes.size(); ++i) {
            ASSERT_TRUE(bytes[i] != '\n' || (i > 0 && bytes[i - 1] == '\r')) << "bare LF at " << i;
        }
        const fs::path cfg = entry.configPath;
        covered["a file spelled Aircraft.cfg"] |= cfg.filename() == "Aircraft.cfg";
        covered["a sim.cfg under Boats"] |=
            cfg.filename() == "sim.cfg" && cfg.parent_path().parent_path().filename() == "Boats";
        std::map<std::string, int> simUse;
        for (const Variation& v : entry.variations) {
            ++variations;
            EXPECT_TRUE(fs::is_regular_file(ResolveNoCase(v.sim + ".air"))) << v.sim;
            covered["three variations sharing one sim"] |= ++simUse[ToLower(v.sim)] == 3;
            covered["a sim value that climbs with ..\\"] |= v.sim.rfind(entry.folder + "/", 0) != 0;
            covered["a variation without a title"] |= v.title.empty();
        }
    }
    EXPECT_GE(library.Count(), 5);
    EXPECT_GE(variations, 8u);
    // scripts/run opens the trainer by this exact spelling.
    EXPECT_TRUE(fs::is_regular_file(kSamples + "/SimObjects/Airplanes/Kelvara_Trainer/Kelvara_Trainer.air"));
    for (const auto& [what, seen] : covered) {
        EXPECT_TRUE(seen) << "no sample has " << what;
    }
}

// Every sample loads, shows each record by name in sorted order, holds tables whose sizes match
// their types and structured records whose fields are whole; together the samples show every
// value type.
TEST(SampleFlightModels, LoadAndShowEveryRecordByName) {
    std::set<int> typesSeen;
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(kSamples)) {
        if (!e.is_regular_file() || ToLower(e.path().extension().string()) != ".air") {
            continue;
        }
        SCOPED_TRACE(e.path().string());
        ++files;
        RecordTree tree;
        const ReadResult r = ReadAirFile(e.path().string(), Dictionary(), ReadOptions{}, tree);
        ASSERT_EQ(r.code, ReadResultCode::Ok) << r.message;
        ASSERT_GT(tree.RootCount(), 3u);
        for (size_t i = 0; i < tree.RootCount(); ++i) {
            const RecordNode& node = *tree.Root(i);
            const AirRecord& rec = node.record;
            SCOPED_TRACE(node.Caption());
            EXPECT_EQ(node.Caption().find("(?\?\?\?)"), std::string::npos);
            EXPECT_TRUE(Dictionary().IsDefined(rec.lookupNumber));
            EXPECT_TRUE(i == 0 || tree.Root(i - 1)->record.number < rec.number)
                << "sorted, no duplicates";
            const auto bytes = rec.Bytes();
            const uint32_t m = ReadLE<uint32_t>(bytes, 0).value_or(0),
                           n = ReadLE<uint32_t>(bytes, 4).value_or(0);
            if (rec.type == DataType::TblDb) {
                EXPECT_TRUE(m >= 1 && rec.data.size() == 4 + 16 * m);
            } else if (rec.type == DataType::Tbl3d || rec.type == DataType::Tbl3d_2) {
                EXPECT_TRUE(m >= 2 && n >= 2 && rec.data.size() == 8 + 8 * m * n);
            } else if (rec.type == DataType::Tbl16_2) {
                EXPECT_EQ(rec.data.size(), 34u);
            } else if (rec.type == DataType::Record) {
                ASSERT_GE(Dictionary().LayoutOf(rec.number), 0);
                for (size_t c = 0; c < node.ChildCount(); ++c) {
                    const AirRecord& f = node.Child(c)->record;
                    const uint32_t width = FieldWidth(Dictionary().Field(f.layout, f.fieldNumber));
                    EXPECT_TRUE(width == 0 || f.data.size() == width) << "field " << f.fieldNumber;
                }
            }
        }
        tree.ForEach([&](RecordNode& node) { typesSeen.insert(node.record.type); });
    }
    EXPECT_GE(files, 4);
    for (int type = 1; type <= 26; ++type) {
        EXPECT_TRUE(type == DataType::Unknown || typesSeen.count(type))
            << "no sample of " << DataTypeKeyword(type);
    }
    EXPECT_TRUE(typesSeen.count(DataType::Label));
}

} // namespace
} // namespace kelvara
