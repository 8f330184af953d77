#include "RecordDictionary.h"

#include "DataType.h"
#include "TextUtil.h"

namespace kelvara {

RecordDictionary::RecordDictionary() : mEntryIndex(kRecordCount, 0) {}

const RecordEntry& RecordDictionary::Entry(int64_t number) const {
    if (number < 0 || number >= kRecordCount) {
        return mUnknown;
    }
    const uint16_t index = mEntryIndex[static_cast<size_t>(number)];
    return index == 0 ? mUnknown : mEntries[index - 1u];
}

int RecordDictionary::LayoutOf(int64_t number) const {
    for (size_t i = 0; i < mLayouts.size(); ++i) {
        if (mLayouts[i].recordNumber == number) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int RecordDictionary::FieldCount(int layout) const {
    const RecordLayout& l = Layout(layout);
    int count = 0;
    while (count + 1 < static_cast<int>(l.fields.size()) &&
           l.fields[static_cast<size_t>(count + 1)].type != DataType::Undefined) {
        ++count;
    }
    return count;
}

const FieldDef& RecordDictionary::Field(int layout, int field) const {
    const std::vector<FieldDef>& fields = Layout(layout).fields;
    if (field < 0 || static_cast<size_t>(field) >= fields.size()) {
        return mUndefinedField;
    }
    return fields[static_cast<size_t>(field)];
}

void RecordDictionary::LoadDictionary(const std::string& path) {
    if (mLoaded) {
        return;
    }
    CfgReader reader;
    if (reader.Load(path) == 0) {
        mFileFound = true;
        Parse(reader);
    }
    mLoaded = true;
}

void RecordDictionary::LoadFromText(std::string text) {
    if (mLoaded) {
        return;
    }
    CfgReader reader;
    reader.LoadText(std::move(text));
    mFileFound = true;
    Parse(reader);
    mLoaded = true;
}

void RecordDictionary::Skip(const std::string& line) {
    ++mSkippedLines;
    if (mSkippedTexts.size() < 100) {
        mSkippedTexts.push_back(line);
    }
}

void RecordDictionary::Parse(CfgReader& reader) {
    std::string text;
    LineKind kind = reader.NextLine(text);
    while (kind != LineKind::EndOfData && kind != LineKind::Section) {
        kind = reader.NextLine(text);
    }
    while (kind == LineKind::Section) {
        const bool recordSection = text.compare(0, 7, "records") == 0;
        RecordLayout* layout = nullptr;
        bool layoutSkipped = false;
        if (!recordSection) {
            const int64_t number = ParseHexNumber(text, false);
            if (static_cast<int>(mLayouts.size()) >= kMaxLayouts || number < 0) {
                Skip(reader.CurrentLine());
                layoutSkipped = true;
            } else {
                mLayouts.emplace_back();
                layout = &mLayouts.back();
                layout->recordNumber = static_cast<int32_t>(number);
            }
        }
        while ((kind = reader.NextLine(text)) != LineKind::EndOfData && kind != LineKind::Section) {
            if (kind != LineKind::KeyValue) {
                continue;
            }
            if (recordSection) {
                ReadRecordLine(text, reader.Value());
            } else if (layout) {
                ReadLayoutLine(*layout, text, reader.Value());
            } else if (layoutSkipped) {
                Skip(reader.CurrentLine());
            }
        }
    }
    reader.Release();
}

void RecordDictionary::ReadRecordLine(const std::string& rawKey, const std::string& value) {
    const std::string key = ToLower(rawKey);
    if (key.empty()) {
        Skip(rawKey + "=" + value);
        return;
    }
    enum class Part { Name, Help, Axis } part = Part::Name;
    std::string_view digits = key;
    if (key.back() == 'h') {
        part = Part::Help;
        digits.remove_suffix(1);
    } else if (key.back() == 'y') {
        part = Part::Axis;
        digits.remove_suffix(std::min<size_t>(2, digits.size()));
    }
    const int64_t number = ParseHexNumber(digits, false);
    if (number < 0 || number >= kRecordCount) {
        Skip(rawKey + "=" + value);
        return;
    }
    uint16_t& index = mEntryIndex[static_cast<size_t>(number)];
    if (index == 0) {
        mEntries.emplace_back();
        index = static_cast<uint16_t>(mEntries.size());
    }
    RecordEntry& entry = mEntries[index - 1u];
    switch (part) {
    case Part::Help:
        entry.help = value;
        return;
    case Part::Axis:
        entry.axis = value;
        return;
    case Part::Name:
        break;
    }
    entry.name = value;
    entry.defined = true;
    const size_t comma = value.find(',');
    if (comma != std::string::npos && comma + 1 < value.size()) {
        entry.name = value.substr(0, comma);
        const std::string keyword = ToLower(Trim(std::string_view(value).substr(comma + 1, 1000)));
        entry.type = RecordTypeFromKeyword(keyword).value_or(DataType::Unknown);
    }
}

void RecordDictionary::ReadLayoutLine(RecordLayout& layout, const std::string& rawKey,
                                      const std::string& value) {
    const std::string key = ToLower(rawKey);
    int64_t fieldNumber = 0;
    for (size_t i = 0; i < key.size() && key[i] >= '0' && key[i] <= '9'; ++i) {
        fieldNumber = fieldNumber * 10 + (key[i] - '0');
        if (fieldNumber > RecordDictionary::kMaxFieldNumber) {
            break;
        }
    }
    if (fieldNumber > kMaxFieldNumber || key.empty()) {
        Skip(rawKey + "=" + value);
        return;
    }
    if (layout.fields.size() <= static_cast<size_t>(fieldNumber)) {
        layout.fields.resize(static_cast<size_t>(fieldNumber) + 1);
    }
    FieldDef& field = layout.fields[static_cast<size_t>(fieldNumber)];
    if (key.back() == 'h') {
        field.help = value;
        return;
    }
    if (key.back() == 'y') {
        field.axis = value;
        return;
    }
    const std::vector<std::string> pieces = SplitFields(value, ',');
    if (pieces.size() == 1) {
        field.name = pieces[0];
        field.type = DataType::Label;
        return;
    }
    const int64_t offset = ParseHexNumber(pieces[0], true);
    if (offset < 0) {
        // An offset that is not hexadecimal has no meaning; the field is dropped.
        Skip(rawKey + "=" + value);
        return;
    }
    field.offset = static_cast<int32_t>(offset);
    field.name = pieces.size() > 2 ? pieces[2] : std::string();
    const std::string keyword = ToLower(pieces[1]);
    if (auto type = FieldTypeFromKeyword(keyword)) {
        field.type = *type;
    } else {
        const LeadingInteger count = ParseLeadingInteger(keyword);
        // A negative or absurd count gives no usable size; it shows as an empty block.
        const int32_t n = (count.overflowed || count.value < 0) ? 0 : count.value;
        field.type = DataType::RawBlockBase + std::min<int32_t>(n, 0x7FFFFFFF - DataType::RawBlockBase);
    }
}

} // namespace kelvara
