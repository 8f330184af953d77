// Runs the fuzz entry points over the saved corpus and over seeded random mutations of it,
// so every test run exercises the readers with hostile bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#define KELVARA_FUZZ(name, corpus) extern "C" int name(const uint8_t* data, size_t size);
#include "FuzzTargetList.inc"
#undef KELVARA_FUZZ

namespace {

using Target = int (*)(const uint8_t*, size_t);

int Run(const std::filesystem::path& folder, Target target, int mutations) {
    std::mt19937 random(1234);
    std::vector<std::vector<uint8_t>> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const auto& input : inputs) {
        target(input.data(), input.size());
        for (int m = 0; m < mutations; ++m) {
            std::vector<uint8_t> mutated = input;
            const int edits = 1 + static_cast<int>(random() % 8);
            // Each edit overwrites, cuts, inserts a byte, or writes an all-ones 32-bit length.
            for (int e = 0; e < edits && !mutated.empty(); ++e) {
                const size_t at = random() % mutated.size();
                const auto byte = static_cast<uint8_t>(random());
                switch (random() % 4) {
                case 0: mutated[at] = byte; break;
                case 1: mutated.resize(at); break;
                case 2: mutated.insert(mutated.begin() + static_cast<long>(at), byte); break;
                default: std::fill_n(mutated.begin() + static_cast<long>(at), std::min<size_t>(4, mutated.size() - at), 0xFF);
                }
            }
            target(mutated.data(), mutated.size());
        }
    }
    std::printf("%s: %zu inputs, %d mutations each\n", folder.string().c_str(), inputs.size(), mutations);
    return 0;
}

} // namespace

struct Entry {
    const char* name;
    const char* corpus;
    Target target;
};

const Entry kTargets[] = {
#define KELVARA_FUZZ(name, corpus) {#name, corpus, name},
#include "FuzzTargetList.inc"
#undef KELVARA_FUZZ
};

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: fuzz_replay CORPUS_ROOT MUTATIONS TARGET\n");
        return 1;
    }
    for (const Entry& entry : kTargets) {
        if (std::string(argv[3]) == entry.name) {
            return Run(std::filesystem::path(argv[1]) / entry.corpus, entry.target, std::stoi(argv[2]));
        }
    }
    std::fprintf(stderr, "fuzz_replay: no target %s\n", argv[3]);
    return 1;
}
