// Reads an ".air" file (records of number, length and data; no header) into a record tree,
// splitting structured records into their fields and captioning every node.
#pragma once

#include "NumberStyle.h"
#include "RecordTree.h"

#include <cstdint>
#include <span>
#include <string>

namespace kelvara {

class RecordDictionary;

namespace ReadResultCode {
inline constexpr int Ok = 0;
inline constexpr int CannotOpen = -2;
inline constexpr int Damaged = -5;
} // namespace ReadResultCode

// Largest file the reader accepts; real flight models are a few hundred kilobytes.
inline constexpr uint64_t kMaxAirFileSize = 512ull * 1024 * 1024;
// Most memory the loaded tree may take. An empty record costs about 200 bytes in the tree but
// 8 in the file, so a hostile file under the size cap could otherwise claim many gigabytes.
inline constexpr uint64_t kMaxTreeMemory = 1024ull * 1024 * 1024;

struct ReadOptions {
    bool datatypes = true;
    NumberStyle style;
    uint64_t memoryLimit = kMaxTreeMemory;
    // Without captions a load is several times faster; for readers that show no tree.
    bool captions = true;
    // Without field nodes, for readers that only pass whole records on (load and save as is).
    bool fields = true;
};

struct ReadResult {
    int code = ReadResultCode::Ok;
    uint64_t offset = 0;  // where the damage starts (Damaged only)
    std::string message;  // the damage, naming record and byte offset
};

// On failure the tree is left exactly as it was.
ReadResult ReadAirFile(const std::string& path, const RecordDictionary& dictionary,
                       const ReadOptions& options, RecordTree& tree);
ReadResult ReadAirBytes(std::span<const uint8_t> bytes, const RecordDictionary& dictionary,
                        const ReadOptions& options, RecordTree& tree);

// Whether the reader would accept the bytes, found without building the tree: the same
// framing rules, and the memory counted at its bound, so a file within a few bytes of the memory
// limit may be refused here and still load. records receives the number of records.
ReadResult CheckAirBytes(std::span<const uint8_t> bytes, const RecordDictionary& dictionary,
                         const ReadOptions& options, size_t& records);
ReadResult CheckAirFile(const std::string& path, const RecordDictionary& dictionary,
                        const ReadOptions& options, size_t& records);

[[nodiscard]] std::string RecordCaption(const AirRecord& record, const RecordDictionary& dictionary,
                                        const ReadOptions& options);
[[nodiscard]] std::string FieldCaption(const AirRecord& field, const RecordDictionary& dictionary,
                                       const ReadOptions& options);

// A node's caption: the one stored with it, else built from its bytes now. The editor's loads
// store none, which takes about an eighth off a large file's tree.
[[nodiscard]] std::string NodeCaption(const RecordNode& node, const RecordDictionary& dictionary,
                                      const ReadOptions& options);

// After a value edit: keep the caption up to its first "," and put the new value behind it.
[[nodiscard]] std::string UpdateNodeCaption(const std::string& caption, const std::string& valueText);

// Creates the field nodes of a structured record from its layout (none without a layout).
void CreateFields(RecordNode& node, const RecordDictionary& dictionary, const ReadOptions& options);

// Name, help and axis texts of a node's record: a field's from its layout slot.
struct RecordTexts {
    std::string name;
    std::string help;
    std::string axis;
};
[[nodiscard]] RecordTexts TextsOf(const AirRecord& record, const RecordDictionary& dictionary);

} // namespace kelvara
