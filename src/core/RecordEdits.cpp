#include "RecordEdits.h"

#include "DataType.h"
#include "RecordTree.h"

#include <algorithm>
#include <cstring>

namespace kelvara {

void CopyFieldToParent(RecordNode& field) {
    RecordNode* parent = field.Parent();
    if (!parent || !field.record.isField) {
        return;
    }
    std::vector<uint8_t>& target = parent->record.data;
    const size_t offset = field.record.offset;
    if (offset >= target.size()) {
        return;
    }
    const size_t n = std::min(field.record.data.size(), target.size() - offset);
    std::copy_n(field.record.data.begin(), n, target.begin() + static_cast<std::ptrdiff_t>(offset));
}

EditResult ApplyNumberEdit(RecordNode& node, std::string_view text, char localeMark) {
    AirRecord& record = node.record;
    const EncodeResult encoded = EncodeNumber(record.type, text, localeMark);
    switch (encoded.status) {
    case EncodeStatus::Ok:
        break;
    case EncodeStatus::RangeRejected:
        return {EditStatus::RangeRejected, encoded.limits};
    case EncodeStatus::ConversionError:
        return {EditStatus::ConversionError, {}};
    case EncodeStatus::NotANumberType:
        return {EditStatus::NotEditable, {}};
    }
    // A record shorter than its type has no value to change.
    if (record.data.size() < encoded.bytes.size()) {
        return {EditStatus::NotEditable, {}};
    }
    std::copy(encoded.bytes.begin(), encoded.bytes.end(), record.data.begin());
    CopyFieldToParent(node);
    return {};
}

EditResult ApplyBoolEdit(RecordNode& node, bool value) {
    AirRecord& record = node.record;
    if (record.type != DataType::Bool || record.data.size() < 4) {
        return {EditStatus::NotEditable, {}};
    }
    const uint8_t bytes[4] = {static_cast<uint8_t>(value ? 1 : 0), 0, 0, 0};
    std::copy(std::begin(bytes), std::end(bytes), record.data.begin());
    CopyFieldToParent(node);
    return {};
}

EditResult ApplyTextEdit(RecordNode& node, std::string_view text) {
    AirRecord& record = node.record;
    if (record.type != DataType::Text) {
        return {EditStatus::NotEditable, {}};
    }
    if (text.size() > kMaxTextLength) {
        return {EditStatus::TextTooLong, {}};
    }
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    if (record.isField) {
        // The parent's layout fixes the room a text field has.
        if (bytes.size() > record.data.size()) {
            return {EditStatus::TextTooLongForField, {}};
        }
        bytes.resize(record.data.size(), 0);
        record.data = std::move(bytes);
        CopyFieldToParent(node);
        return {};
    }
    record.SetData(std::move(bytes));
    return {};
}

} // namespace kelvara
