// Load + save of a large synthetic flight model against plain file copying, and the cost of
// one value text.
#include "AirFileReader.h"
#include "AirFileWriter.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "ValueFormat.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace kelvara {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 100000;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / "kelvara-bench";
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

// Types cycle through scalars, tables, texts and structured records; sizes average ~100 bytes
// so the file is about 10 MB.
const RecordDictionary& Dictionary() {
    static const RecordDictionary dictionary = [] {
        std::string ini = "[records]\n";
        const char* types[] = {"int16", "float", "double", "ang16", "mach", "tbldb", "tbl3d", "text", "record", "bool"};
        for (int n = 0; n < 1000; ++n) {
            char line[64];
            std::snprintf(line, sizeof line, "%x=Record %d,%s\n", n, n, types[n % 10]);
            ini += line;
        }
        for (int n = 8; n < 1000; n += 10) {
            char section[32];
            std::snprintf(section, sizeof section, "[%x]\n", n);
            ini += section;
            ini += "1=Limits\n2=0x00,int16,A\n3=0x08,double,B\n4=0x10,ang16,C\n5=0x18,32,Block\n";
        }
        RecordDictionary d;
        d.LoadFromText(ini);
        return d;
    }();
    return dictionary;
}

const std::string& SyntheticFile() {
    static const std::string path = [] {
        std::mt19937 random(42);
        std::vector<uint8_t> bytes;
        for (int i = 0; i < kRecords; ++i) {
            const uint32_t number = random() % 1000;
            const uint32_t length = 8 + random() % 185;
            const uint8_t header[8] = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), 0, 0,
                                       static_cast<uint8_t>(length), 0, 0, 0};
            bytes.insert(bytes.end(), header, header + 8);
            for (uint32_t b = 0; b < length; ++b) {
                bytes.push_back(static_cast<uint8_t>(random()));
            }
        }
        const std::string p = (Folder() / "synthetic.air").string();
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<std::streamsize>(bytes.size()));
        return p;
    }();
    return path;
}

void BM_CopyWithCp(benchmark::State& state) {
    const std::string source = SyntheticFile();
    const std::string command = "cp '" + source + "' '" + (Folder() / "copy.air").string() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(source)));
}

void BM_CopyInProcess(benchmark::State& state) {
    const std::string source = SyntheticFile();
    for (auto _ : state) {
        fs::copy_file(source, Folder() / "copy2.air", fs::copy_options::overwrite_existing);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(source)));
}

void BM_LoadAndSave(benchmark::State& state) {
    const std::string source = SyntheticFile();
    const std::string target = (Folder() / "work.air").string();
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    for (auto _ : state) {
        RecordTree tree;
        if (ReadAirFile(target, Dictionary(), {}, tree).code != 0 ||
            WriteAirFile(tree, SaveNamesForFile(target)) != 0) {
            state.SkipWithError("load or save failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(source)));
}

void BM_Load(benchmark::State& state) {
    const std::string source = SyntheticFile();
    for (auto _ : state) {
        RecordTree tree;
        benchmark::DoNotOptimize(ReadAirFile(source, Dictionary(), {}, tree).code);
    }
}

void BM_FormatValue(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const uint8_t data[8] = {0xb6, 0x00, 0x10, 0x00, 0x00, 0x00, 0xe0, 0x3f};
    const NumberStyle style;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatValue(type, data, style));
    }
    state.SetLabel(std::string(DataTypeKeyword(type)));
}

BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyInProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatValue)->Arg(DataType::Int16)->Arg(DataType::Ang16)->Arg(DataType::Double)->Arg(DataType::Float)->Arg(DataType::Thrust);

} // namespace
} // namespace kelvara

BENCHMARK_MAIN();
