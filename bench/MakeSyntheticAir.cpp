// Writes the synthetic large flight model of the scale measurements: 100,000 records of about
// 100 bytes (10 MB), numbered from the records a dictionary defines so that every record is
// typed, captioned and, when structured, split into fields as in a real file.
#include "RecordDictionary.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kelvara-make-synthetic KVR.ini OUT.air [RECORDS]\n");
        return 1;
    }
    kelvara::RecordDictionary dictionary;
    dictionary.LoadDictionary(argv[1]);
    std::vector<uint32_t> numbers;
    for (uint32_t n = 0; n < 16000; ++n) {
        if (dictionary.IsDefined(n)) {
            numbers.push_back(n);
        }
    }
    if (numbers.empty()) {
        std::fprintf(stderr, "no record defined in %s\n", argv[1]);
        return 1;
    }
    const long records = argc > 3 ? std::stol(argv[3]) : 100000;
    std::mt19937 random(42);
    std::vector<uint8_t> bytes;
    for (long i = 0; i < records; ++i) {
        const uint32_t number = numbers[random() % numbers.size()];
        const uint32_t length = 8 + random() % 185;
        for (const uint32_t word : {number, length}) {
            for (int b = 0; b < 4; ++b) {
                bytes.push_back(static_cast<uint8_t>(word >> (8 * b)));
            }
        }
        for (uint32_t b = 0; b < length; ++b) {
            bytes.push_back(static_cast<uint8_t>(random()));
        }
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    const bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (!out || std::fclose(out) != 0 || !ok) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
