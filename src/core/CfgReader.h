// Line reader for INI-style text files (KVR.ini, aircraft.cfg, sim.cfg): the whole file is
// held in memory and handed out one classified line at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

enum class LineKind { Section = 1, KeyValue = 2, EndOfData = 3, Blank = 4, Other = 5 };

// Real configuration files are a few hundred kilobytes; anything far larger is not one.
inline constexpr uint64_t kMaxCfgFileSize = 64ull * 1024 * 1024;

class CfgReader {
public:
    // 0 on success, -1 if the file cannot be read, is not a regular file or is larger than
    // kMaxCfgFileSize (the reader is then empty).
    [[nodiscard]] int Load(const std::string& path);
    void LoadText(std::string text);

    // Section: lower-cased name; KeyValue: the key; Other: the raw line. EndOfData leaves
    // text as it was.
    LineKind NextLine(std::string& text);

    [[nodiscard]] const std::string& Value() const { return mValue; }
    [[nodiscard]] const std::string& CurrentLine() const { return mLine; }
    void Release();

private:
    std::string mData;
    size_t mPos = 0;
    std::string mLine;
    std::string mContent;
    std::string mKey;
    std::string mValue;
};

} // namespace kelvara
