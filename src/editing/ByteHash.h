// A 128-bit fingerprint of bytes (MurmurHash3, x64 128-bit variant), so that the editor can
// tell whether bytes are still those it saw without keeping a copy of them.
#pragma once

#include <cstdint>
#include <span>

namespace kelvara {

struct ByteHash {
    uint64_t low = 0;
    uint64_t high = 0;
    bool operator==(const ByteHash&) const = default;
};

[[nodiscard]] ByteHash HashBytes(std::span<const uint8_t> bytes, uint32_t seed = 0);

} // namespace kelvara
