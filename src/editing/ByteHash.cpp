#include "ByteHash.h"

#include <bit>

namespace kelvara {

namespace {

constexpr uint64_t kC1 = 0x87c37b91114253d5ull;
constexpr uint64_t kC2 = 0x4cf5ad432745937full;

// Little-endian whatever the machine, so a fingerprint means the same everywhere.
uint64_t Load64(const uint8_t* p, size_t count = 8) {
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        value |= uint64_t(p[i]) << (8 * i);
    }
    return value;
}

uint64_t Mix(uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdull;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ull;
    k ^= k >> 33;
    return k;
}

uint64_t Lane1(uint64_t k) {
    return std::rotl(k * kC1, 31) * kC2;
}

uint64_t Lane2(uint64_t k) {
    return std::rotl(k * kC2, 33) * kC1;
}

} // namespace

ByteHash HashBytes(std::span<const uint8_t> bytes, uint32_t seed) {
    uint64_t h1 = seed;
    uint64_t h2 = seed;
    const uint8_t* data = bytes.data();
    const size_t blocks = bytes.size() / 16;
    for (size_t i = 0; i < blocks; ++i, data += 16) {
        h1 ^= Lane1(Load64(data));
        h1 = std::rotl(h1, 27) + h2;
        h1 = h1 * 5 + 0x52dce729;
        h2 ^= Lane2(Load64(data + 8));
        h2 = std::rotl(h2, 31) + h1;
        h2 = h2 * 5 + 0x38495ab5;
    }
    const size_t tail = bytes.size() % 16;
    if (tail > 8) {
        h2 ^= Lane2(Load64(data + 8, tail - 8));
    }
    if (tail > 0) {
        h1 ^= Lane1(Load64(data, tail < 8 ? tail : 8));
    }
    h1 ^= uint64_t(bytes.size());
    h2 ^= uint64_t(bytes.size());
    h1 += h2;
    h2 += h1;
    h1 = Mix(h1);
    h2 = Mix(h2);
    h1 += h2;
    h2 += h1;
    return {h1, h2};
}

} // namespace kelvara
