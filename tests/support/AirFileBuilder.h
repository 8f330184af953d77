// Builds ".air" bytes and temporary folders for tests: records in, bytes out.
#pragma once

#include "TempFolder.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelvara::test {

// Little-endian bytes of a value, as the files store them; the hosts are little-endian too.
template <typename T> std::vector<uint8_t> LeBytes(T v) {
    std::vector<uint8_t> out(sizeof v);
    std::memcpy(out.data(), &v, sizeof v);
    return out;
}
inline std::vector<uint8_t> Le16(int16_t v) { return LeBytes(v); }
inline std::vector<uint8_t> Le32(int32_t v) { return LeBytes(v); }
inline std::vector<uint8_t> LeFloat(float v) { return LeBytes(v); }
inline std::vector<uint8_t> LeDouble(double v) { return LeBytes(v); }
inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}
inline std::vector<uint8_t> TextBytes(const std::string& s) {
    std::vector<uint8_t> out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

class AirFileBuilder {
public:
    AirFileBuilder& Record(uint32_t number, const std::vector<uint8_t>& data) {
        mBytes = Concat({mBytes, LeBytes(number), LeBytes(static_cast<uint32_t>(data.size())), data});
        return *this;
    }
    [[nodiscard]] const std::vector<uint8_t>& Bytes() const { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace kelvara::test
