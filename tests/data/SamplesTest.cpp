// The bundled sample simulator folder: its configuration files lead to existing flight models
// and thumbnails, and every flight model loads, shows and exports with the shipped dictionary.

#include "AirFileReader.h"
#include "AsciiExport.h"
#include "ByteIO.h"
#include "CfgReader.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordTree.h"
#include "SimPath.h"
#include "TextUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using testdata::Backslashed;
using testdata::FindNoCase;
using testdata::SimPath;

const std::string kSource = KELVARA_SOURCE_DIR;
const std::string kSamples = kSource + "/data/samples/FSX";

const RecordDictionary& Dictionary() {
    static const RecordDictionary* dictionary = [] {
        auto* d = new RecordDictionary;
        d->LoadDictionary(kSource + "/data/KVR.ini");
        return d;
    }();
    return *dictionary;
}

struct Variation {
    std::map<std::string, std::string> keys; // lower-case key -> value without quotes
};

struct ConfigFile {
    fs::path path;
    std::vector<Variation> variations; // [fltsim.N] sections that have a sim value
};

std::string Unquoted(std::string v) {
    while (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

ConfigFile ReadConfig(const fs::path& path) {
    ConfigFile cfg{path, {}};
    CfgReader reader;
    EXPECT_EQ(reader.Load(path.string()), 0) << path;
    std::string text;
    LineKind kind = reader.NextLine(text);
    while (kind != LineKind::EndOfData) {
        if (kind != LineKind::Section || text.compare(0, 7, "fltsim.") != 0) {
            kind = reader.NextLine(text);
            continue;
        }
        Variation v;
        while ((kind = reader.NextLine(text)) != LineKind::EndOfData && kind != LineKind::Section) {
            if (kind == LineKind::KeyValue) {
                v.keys[ToLower(text)] = Unquoted(reader.Value());
            }
        }
        if (!v.keys["sim"].empty()) {
            cfg.variations.push_back(v);
        }
    }
    return cfg;
}

// Every aircraft.cfg or sim.cfg exactly three levels below the simulator folder, Aircraft.cfg
// first as the scan reads it.
std::vector<ConfigFile> SampleConfigs() {
    std::vector<ConfigFile> configs;
    for (const auto& l1 : fs::directory_iterator(kSamples)) {
        for (const auto& l2 : fs::directory_iterator(l1.path())) {
            for (const auto& l3 : fs::directory_iterator(l2.path())) {
                const std::string folder = Backslashed(l3.path().string());
                if (auto cfg = FindNoCase(folder + "\\Aircraft.cfg")) {
                    configs.push_back(ReadConfig(*cfg));
                } else if (auto sim = FindNoCase(folder + "\\sim.cfg")) {
                    configs.push_back(ReadConfig(*sim));
                }
            }
        }
    }
    return configs;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> SampleAirFiles() {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(kSamples)) {
        if (e.is_regular_file() && ToLower(e.path().extension().string()) == ".air") {
            files.push_back(e.path());
        }
    }
    return files;
}

// ---- the resolver the tests rely on ---------------------------------------------------------

TEST(SimPathRule, JoinsAndClimbs) {
    EXPECT_EQ(SimPath("C:\\F\\Airplanes\\Mine", "Base"), "C:\\F\\Airplanes\\Mine\\Base");
    EXPECT_EQ(SimPath("C:\\F\\Airplanes\\Mine", "..\\C172\\Cessna"), "C:\\F\\Airplanes\\C172\\Cessna");
    EXPECT_EQ(SimPath("C:\\F\\SimObjects\\Airplanes\\Mine", "..\\..\\Other\\Base"), "C:\\F\\SimObjects\\Other\\Base");
    EXPECT_EQ(SimPath("C:\\F\\Mine", "..\\"), "C:\\F\\Mine\\..\\") << "three characters do not climb";
    EXPECT_EQ(SimPath("C:\\F\\Mine", ""), "");
    EXPECT_EQ(SimPath("Mine", "..\\Base"), "Mine\\Base") << "nothing left to climb";
}

TEST(SimPathRule, FindsFilesWhateverTheirCase) {
    const std::string trainer = Backslashed(kSamples) + "\\simobjects\\AIRPLANES\\kelvara_trainer\\";
    EXPECT_TRUE(FindNoCase(trainer + "AIRCRAFT.CFG"));
    EXPECT_TRUE(FindNoCase(trainer + "Kelvara_Trainer.AIR"));
    EXPECT_FALSE(FindNoCase(trainer + "Kelvara_Trainer.ai"));
    EXPECT_FALSE(FindNoCase(trainer + "missing\\Kelvara_Trainer.air"));
}

// ---- configuration files --------------------------------------------------------------------

TEST(SampleFolder, TheNewcomersAircraftIsWhereScriptsExpectIt) {
    EXPECT_TRUE(fs::is_regular_file(kSamples + "/SimObjects/Airplanes/Kelvara_Trainer/Kelvara_Trainer.air"));
}

TEST(SampleFolder, EveryVariationNamesAnExistingFlightModel) {
    const auto configs = SampleConfigs();
    ASSERT_GE(configs.size(), 5u);
    int variations = 0;
    for (const ConfigFile& cfg : configs) {
        ASSERT_FALSE(cfg.variations.empty()) << cfg.path;
        const std::string folder = Backslashed(cfg.path.parent_path().string());
        for (const Variation& v : cfg.variations) {
            const std::string air = SimPath(folder, v.keys.at("sim")) + ".air";
            EXPECT_TRUE(FindNoCase(air)) << cfg.path << ": " << air;
            ++variations;
        }
    }
    EXPECT_GE(variations, 8);
}

TEST(SampleFolder, CoversTheCasesTheLibraryMustHandle) {
    bool sharedSim = false, climbing = false, capitalName = false, untitled = false, simCfg = false;
    for (const ConfigFile& cfg : SampleConfigs()) {
        std::map<std::string, int> simUse;
        for (const Variation& v : cfg.variations) {
            ++simUse[ToLower(v.keys.at("sim"))];
            climbing |= v.keys.at("sim").rfind("..\\", 0) == 0;
            untitled |= !v.keys.count("title") || v.keys.at("title").empty();
        }
        for (const auto& [sim, uses] : simUse) {
            sharedSim |= uses >= 3;
        }
        capitalName |= cfg.path.filename() == "Aircraft.cfg";
        simCfg |= cfg.path.filename() == "sim.cfg" && cfg.path.parent_path().parent_path().filename() == "Boats";
    }
    EXPECT_TRUE(sharedSim) << "several variations sharing one sim";
    EXPECT_TRUE(climbing) << "a sim value that climbs with ..\\";
    EXPECT_TRUE(capitalName) << "a file spelled Aircraft.cfg";
    EXPECT_TRUE(untitled) << "a variation without a title";
    EXPECT_TRUE(simCfg) << "a sim.cfg object under Boats";
}

TEST(SampleFolder, ConfigFilesAreWindowsText) {
    for (const ConfigFile& cfg : SampleConfigs()) {
        const auto bytes = ReadBytes(cfg.path);
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << cfg.path << " byte " << i;
            }
        }
    }
}

TEST(SampleFolder, EveryTitledVariationHasAJpegThumbnail) {
    int found = 0;
    for (const ConfigFile& cfg : SampleConfigs()) {
        const std::string folder = Backslashed(cfg.path.parent_path().string());
        for (const Variation& v : cfg.variations) {
            if (!v.keys.count("title") || v.keys.at("title").empty()) {
                continue;
            }
            const auto named = v.keys.find("ui_thumbnailfile");
            const std::string texture = v.keys.count("texture") ? v.keys.at("texture") : "";
            // "texture." with an empty suffix names the folder "texture" on Windows.
            const std::string thumb = named != v.keys.end() && !named->second.empty()
                                          ? folder + "\\" + named->second
                                          : folder + (texture.empty() ? "\\texture" : "\\texture." + texture) +
                                                "\\thumbnail.jpg";
            const auto path = FindNoCase(thumb);
            ASSERT_TRUE(path) << thumb;
            const auto bytes = ReadBytes(*path);
            ASSERT_GT(bytes.size(), 4u);
            EXPECT_EQ(bytes[0], 0xFF);
            EXPECT_EQ(bytes[1], 0xD8) << "JPEG start of image";
            EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
            EXPECT_EQ(bytes.back(), 0xD9) << "JPEG end of image";
            ++found;
        }
    }
    EXPECT_GE(found, 6);
}

// ---- flight models --------------------------------------------------------------------------

TEST(SampleFlightModels, LoadShowAndExportEveryRecordByName) {
    const auto files = SampleAirFiles();
    ASSERT_GE(files.size(), 4u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        RecordTree tree;
        const ReadResult r = ReadAirFile(file.string(), Dictionary(), ReadOptions{}, tree);
        ASSERT_EQ(r.code, ReadResultCode::Ok) << r.message;
        ASSERT_GT(tree.RootCount(), 3u);
        for (size_t i = 0; i < tree.RootCount(); ++i) {
            const RecordNode& node = *tree.Root(i);
            EXPECT_EQ(node.caption.find("(?\?\?\?)"), std::string::npos) << node.caption;
            EXPECT_TRUE(Dictionary().IsDefined(node.record.lookupNumber)) << node.caption;
            if (i > 0) {
                EXPECT_LT(tree.Root(i - 1)->record.number, node.record.number) << "sorted, no duplicates";
            }
        }
        std::ostringstream out;
        ExportAscii(tree, Dictionary(), 2, NumberStyle{}, out);
        const std::string text = out.str();
        size_t lines = 0;
        for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) {
            ++lines;
        }
        size_t expected = 0;
        tree.ForEach([&expected](RecordNode&) { ++expected; });
        EXPECT_EQ(lines, expected) << "one line per record and per field";
        EXPECT_EQ(text.find("(?\?\?\?)"), std::string::npos);
    }
}

TEST(SampleFlightModels, TablesAreValidForTheirTypes) {
    for (const fs::path& file : SampleAirFiles()) {
        RecordTree tree;
        ASSERT_EQ(ReadAirFile(file.string(), Dictionary(), ReadOptions{}, tree).code, ReadResultCode::Ok);
        for (size_t i = 0; i < tree.RootCount(); ++i) {
            const AirRecord& r = tree.Root(i)->record;
            SCOPED_TRACE(::testing::Message() << file.filename() << std::hex << " record 0x" << r.number);
            const auto bytes = r.Bytes();
            switch (r.type) {
            case DataType::TblDb: {
                const uint32_t n = ReadLE<uint32_t>(bytes).value_or(0);
                EXPECT_GE(n, 1u);
                EXPECT_EQ(r.length, 4 + 16 * n);
                break;
            }
            case DataType::Tbl3d:
            case DataType::Tbl3d_2: {
                const uint32_t m = ReadLE<uint32_t>(bytes, 0).value_or(0);
                const uint32_t n = ReadLE<uint32_t>(bytes, 4).value_or(0);
                EXPECT_GE(m, 2u);
                EXPECT_GE(n, 2u);
                EXPECT_EQ(r.length, 8 + 8 * m * n);
                break;
            }
            case DataType::Tbl16_2:
                EXPECT_EQ(r.length, 34u);
                break;
            case DataType::Record: {
                // Every field of a sample record is whole: the layout matches the bytes written.
                const int l = Dictionary().LayoutOf(r.number);
                ASSERT_GE(l, 0);
                for (size_t c = 0; c < tree.Root(i)->ChildCount(); ++c) {
                    const AirRecord& f = tree.Root(i)->Child(c)->record;
                    const int width = IsRawBlock(f.type) ? f.type - DataType::RawBlockBase : FixedWidth(f.type);
                    if (f.type != DataType::Label && width > 0) {
                        EXPECT_EQ(f.length, uint32_t(width)) << "field " << f.fieldNumber;
                    }
                }
                break;
            }
            default:
                break;
            }
        }
    }
}

TEST(SampleFlightModels, ShowEveryValueType) {
    std::set<int> seen;
    for (const fs::path& file : SampleAirFiles()) {
        RecordTree tree;
        ASSERT_EQ(ReadAirFile(file.string(), Dictionary(), ReadOptions{}, tree).code, ReadResultCode::Ok);
        tree.ForEach([&seen](RecordNode& node) { seen.insert(node.record.type); });
    }
    for (int type = 1; type <= 26; ++type) {
        if (type != DataType::Unknown) {
            EXPECT_TRUE(seen.count(type)) << "no sample value of type " << DataTypeKeyword(type);
        }
    }
    EXPECT_TRUE(seen.count(DataType::Label));
}

TEST(SampleFlightModels, ThrottleTablesAreAdjacentAndOfEqualSize) {
    RecordTree tree;
    const std::string jet = kSamples + "/SimObjects/Airplanes/Kelvara_Jet/Kelvara_Jet.air";
    ASSERT_EQ(ReadAirFile(jet, Dictionary(), ReadOptions{}, tree).code, ReadResultCode::Ok);
    size_t at = tree.RootCount();
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        if (tree.Root(i)->record.number == 0x1503) {
            at = i;
        }
    }
    ASSERT_LT(at + 1, tree.RootCount());
    const AirRecord& low = tree.Root(at)->record;
    const AirRecord& high = tree.Root(at + 1)->record;
    EXPECT_EQ(high.number, 0x1504u);
    EXPECT_EQ(low.type, DataType::Tbl3d);
    EXPECT_EQ(high.type, DataType::Tbl3d);
    EXPECT_EQ(low.length, high.length);
    // The corner holds the Mach number of each table.
    EXPECT_EQ(ReadLE<double>(low.Bytes(), 8).value_or(-1), 0.0);
    EXPECT_EQ(ReadLE<double>(high.Bytes(), 8).value_or(-1), 0.9);
}

TEST(SampleFlightModels, ScaledSampleValuesReadBackAsWritten) {
    RecordTree tree;
    const std::string trainer = kSamples + "/SimObjects/Airplanes/Kelvara_Trainer/Kelvara_Trainer.air";
    ASSERT_EQ(ReadAirFile(trainer, Dictionary(), ReadOptions{}, tree).code, ReadResultCode::Ok);
    const std::map<uint32_t, std::string> shown = {
        {0x3E01, ", 1.25"}, {0x3E04, "14.9"}, {0x3E05, ", 120"}, {0x3E06, ", 50"},
        {0x3E07, ", 12.5"}, {0x3E0B, ", 1.5"}, {0x3E0C, ", -2.25"}, {0x3E0E, ", 0.75"},
    };
    for (const auto& [number, text] : shown) {
        const RecordNode* node = tree.FindRecord(number);
        ASSERT_NE(node, nullptr) << std::hex << number;
        EXPECT_NE(node->caption.find(text), std::string::npos) << node->caption;
    }
    EXPECT_EQ(tree.FindRecord(0x0001)->record.Text(), "Kelvara Trainer");
}

} // namespace
} // namespace kelvara
