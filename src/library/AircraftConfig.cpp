#include "AircraftConfig.h"

#include "CfgReader.h"
#include "FileBytes.h"
#include "FolderNames.h"
#include "TextUtil.h"
#include "Windows1252.h"

#include <array>
#include <charconv>

namespace kelvara {

namespace {

using Field = std::string Variation::*;
struct KeyField {
    std::string_view key;
    Field field;
};
constexpr std::array<KeyField, 7> kKeys{{
    {"title", &Variation::title},
    {"sim", &Variation::sim},
    {"ui_manufacturer", &Variation::manufacturer},
    {"ui_variation", &Variation::variation},
    {"ui_createdby", &Variation::createdBy},
    {"texture", &Variation::texture},
    {"ui_thumbnailfile", &Variation::thumbnailFile},
}};

// Most configuration files are plain ASCII, which both decodings leave as it is.
bool IsAscii(std::string_view bytes) {
    unsigned char any = 0;
    for (const char c : bytes) {
        any |= static_cast<unsigned char>(c);
    }
    return any < 0x80;
}

// The section's lines up to the next section; major keeps its value when absent or no number.
LineKind ReadVersionMajor(CfgReader& reader, std::string& line, int& major) {
    LineKind kind = reader.NextLine(line);
    for (; kind != LineKind::EndOfData && kind != LineKind::Section; kind = reader.NextLine(line)) {
        const std::string_view value = StripEnclosingQuotes(reader.Value());
        int number = 0;
        if (kind == LineKind::KeyValue && ToLower(line) == "major" &&
            std::from_chars(value.data(), value.data() + value.size(), number).ec == std::errc()) {
            major = number;
        }
    }
    return kind;
}

} // namespace

std::string_view StripEnclosingQuotes(std::string_view value) {
    while (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::string SimPathFromValue(std::string_view folder, std::string_view rawValue) {
    if (rawValue.empty()) {
        return {};
    }
    std::string value = FromConfigPath(rawValue);
    std::string result = JoinFolder(folder, value);
    if (value.size() > 3) {
        std::string up(folder);
        while (value.size() > 3 && value.starts_with("../")) {
            const size_t slash = up.rfind('/');
            if (slash != std::string::npos) {
                up.resize(slash);
            }
            value.erase(0, 3);
            result = up + "/" + value;
        }
    }
    return result;
}

int ReadAircraftConfigText(AircraftEntry& entry, const std::string& folder, std::string text) {
    CfgReader reader;
    reader.LoadText(std::move(text));
    std::vector<Variation>& list = entry.variations;
    // A section without sim leaves its values in the slot the next section fills.
    size_t count = list.size();
    std::string line;
    LineKind kind = reader.NextLine(line);
    while (kind != LineKind::EndOfData) {
        if (kind == LineKind::Section && line == "version") {
            kind = ReadVersionMajor(reader, line, entry.versionMajor);
            continue;
        }
        if (kind != LineKind::Section || !line.starts_with("fltsim.")) {
            kind = reader.NextLine(line);
            continue;
        }
        kind = reader.NextLine(line);
        if (list.size() <= count) {
            list.resize(count + 1);
        }
        Variation& slot = list[count];
        // The line right after the header belongs to the section, whatever it is.
        do {
            if (kind == LineKind::KeyValue) {
                const std::string key = ToLower(line);
                for (const KeyField& known : kKeys) {
                    if (key == known.key) {
                        const std::string_view value = StripEnclosingQuotes(reader.Value());
                        slot.*known.field = known.field == &Variation::sim
                                                ? SimPathFromValue(folder, value)
                                                : std::string(value);
                        break;
                    }
                }
            }
            kind = reader.NextLine(line);
        } while (kind != LineKind::EndOfData && kind != LineKind::Section);
        if (!slot.sim.empty()) {
            ++count;
        }
    }
    list.resize(count);
    entry.folder = folder;
    return static_cast<int>(count);
}

int ReadAircraftConfig(AircraftEntry& entry, const std::string& folder, std::string* problem) {
    const auto parse = [&](const std::string& path, std::string& bytes) {
        entry.configPath = path;
        // UTF-16 without its byte-order mark cannot be told from binary bytes: said, not guessed.
        const bool binary = bytes.find('\0') != std::string::npos && !bytes.starts_with("\xFF\xFE") &&
                            !bytes.starts_with("\xFE\xFF");
        const int count = ReadAircraftConfigText(
            entry, folder, IsAscii(bytes) ? std::move(bytes) : DecodeConfigText(bytes));
        if (binary && count == 0 && problem != nullptr) {
            *problem = path + ": holds NUL bytes: not a text file, or UTF-16 without a byte-order mark";
        }
        return count;
    };
    // The usual spellings first: one open instead of listing the folder.
    for (const char* name : {"aircraft.cfg", "Aircraft.cfg"}) {
        const std::string path = JoinFolder(folder, name);
        FileReadResult file = ReadRegularFile(path, kMaxConfigFileBytes);
        if (file.status == FileReadStatus::Ok) {
            return parse(path, file.bytes);
        }
    }
    const ConfigFiles files = FindConfigFiles(folder);
    std::string reason = files.error.empty() ? std::string() : folder + ": " + files.error;
    for (const std::string* path : {&files.aircraftCfg, &files.simCfg}) {
        if (path->empty()) {
            continue;
        }
        FileReadResult file = ReadRegularFile(*path, kMaxConfigFileBytes);
        if (file.status == FileReadStatus::Ok) {
            return parse(*path, file.bytes);
        }
        reason = file.message;
    }
    if (problem != nullptr) {
        *problem = reason;
    }
    return 0;
}

} // namespace kelvara
