// What each record number means: name, value type, help and axis texts, and the field
// layouts of structured records, loaded once per run from KVR.ini.
#pragma once

#include "CfgReader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvara {

struct FieldDef {
    int32_t offset = -1;
    int32_t type = -2;
    std::string name;
    std::string help;
    std::string axis;
};

struct RecordLayout {
    int32_t recordNumber = -1;
    std::vector<FieldDef> fields; // by field number, up to the highest one named
};

struct RecordEntry {
    std::string name;
    int type = 18;
    std::string help;
    std::string axis;
    bool defined = false;
};

class RecordDictionary {
public:
    static constexpr int kRecordCount = 16000;
    static constexpr int kMaxLayouts = 500;
    static constexpr int kMaxFieldNumber = 199;

    RecordDictionary();

    // Reads KVR.ini once; later calls return at once. A missing file leaves every record
    // unknown and counts as loaded.
    void LoadDictionary(const std::string& path);
    void LoadFromText(std::string text);
    [[nodiscard]] bool IsLoaded() const { return mLoaded; }
    [[nodiscard]] bool FileFound() const { return mFileFound; }

    // Lines that named a record, layout or field outside the tables, or a number that is not
    // hexadecimal; they were skipped.
    [[nodiscard]] int SkippedLines() const { return mSkippedLines; }
    [[nodiscard]] const std::vector<std::string>& SkippedLineTexts() const { return mSkippedTexts; }

    // Lookups by record number; numbers outside 0..15999 are unknown records without a name.
    [[nodiscard]] const RecordEntry& Entry(int64_t number) const;
    [[nodiscard]] const std::string& Name(int64_t number) const { return Entry(number).name; }
    [[nodiscard]] int Type(int64_t number) const { return Entry(number).type; }
    [[nodiscard]] bool IsDefined(int64_t number) const { return Entry(number).defined; }
    // The first layout describing this record number, or -1.
    [[nodiscard]] int LayoutOf(int64_t number) const;

    [[nodiscard]] int LayoutCount() const { return static_cast<int>(mLayouts.size()); }
    [[nodiscard]] const RecordLayout& Layout(int layout) const { return mLayouts.at(static_cast<size_t>(layout)); }
    // Field numbers 1..count are in use: count stops before the first undefined slot.
    [[nodiscard]] int FieldCount(int layout) const;
    [[nodiscard]] const FieldDef& Field(int layout, int field) const;

private:
    void Parse(CfgReader& reader);
    void ReadRecordLine(const std::string& key, const std::string& value);
    void ReadLayoutLine(RecordLayout& layout, const std::string& key, const std::string& value);
    void Skip(const std::string& line);

    // Only the records the file names have an entry: building all 16,000 took longer than
    // the rest of a command-line check.
    std::vector<RecordEntry> mEntries;
    std::vector<uint16_t> mEntryIndex; // by record number: 1 + position in mEntries, or 0
    std::vector<RecordLayout> mLayouts;
    RecordEntry mUnknown;
    FieldDef mUndefinedField;
    bool mLoaded = false;
    bool mFileFound = false;
    int mSkippedLines = 0;
    std::vector<std::string> mSkippedTexts;
};

} // namespace kelvara
