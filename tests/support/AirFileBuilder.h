// Builds ".air" bytes and temporary folders for tests: records in, bytes out.
#pragma once

#include "TempFolder.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace kelvara::test {

class AirFileBuilder {
public:
    AirFileBuilder& Record(uint32_t number, std::vector<uint8_t> data) {
        Put32(number);
        Put32(static_cast<uint32_t>(data.size()));
        mBytes.insert(mBytes.end(), data.begin(), data.end());
        return *this;
    }
    [[nodiscard]] const std::vector<uint8_t>& Bytes() const { return mBytes; }

private:
    void Put32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            mBytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    std::vector<uint8_t> mBytes;
};

inline std::vector<uint8_t> Le16(int16_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8)};
}
inline std::vector<uint8_t> Le32(int32_t v) {
    std::vector<uint8_t> out(4);
    std::memcpy(out.data(), &v, 4);
    return out;
}
inline std::vector<uint8_t> LeFloat(float v) {
    std::vector<uint8_t> out(4);
    std::memcpy(out.data(), &v, 4);
    return out;
}
inline std::vector<uint8_t> LeDouble(double v) {
    std::vector<uint8_t> out(8);
    std::memcpy(out.data(), &v, 8);
    return out;
}
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

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}
inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace kelvara::test
