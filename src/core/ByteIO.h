// Little-endian reads and writes on byte spans that never go past the span's end.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace kelvara {

template <typename T>
[[nodiscard]] std::optional<T> ReadLE(std::span<const uint8_t> data, size_t offset = 0) {
    static_assert(std::endian::native == std::endian::little, "little-endian host assumed");
    if (offset > data.size() || data.size() - offset < sizeof(T)) {
        return std::nullopt;
    }
    T value;
    std::memcpy(&value, data.data() + offset, sizeof(T));
    return value;
}

template <typename T>
bool WriteLE(std::span<uint8_t> data, T value, size_t offset = 0) {
    if (offset > data.size() || data.size() - offset < sizeof(T)) {
        return false;
    }
    std::memcpy(data.data() + offset, &value, sizeof(T));
    return true;
}

} // namespace kelvara
