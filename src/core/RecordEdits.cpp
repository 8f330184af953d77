#include "RecordEdits.h"

#include "DataType.h"
#include "RecordTree.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kelvara {

void CopyFieldToParent(RecordNode& field) {
    RecordNode* parent = field.Parent();
    if (!parent || !field.record.isField) {
        return;
    }
    SmallBytes& target = parent->record.data;
    const size_t offset = field.record.offset;
    if (offset >= target.size()) {
        return;
    }
    const size_t n = std::min(field.record.data.size(), target.size() - offset);
    std::copy_n(field.record.data.begin(), n, target.begin() + static_cast<std::ptrdiff_t>(offset));
}

namespace {
thread_local RecordEditObserver* tEditObserver = nullptr;
} // namespace

RecordEditObserver* SetRecordEditObserver(RecordEditObserver* observer) {
    return std::exchange(tEditObserver, observer);
}

EditResult ReplaceRecordBytes(RecordNode& node, std::vector<uint8_t> bytes) {
    AirRecord& record = node.record;
    if (record.isField && bytes.size() != record.data.size()) {
        return {EditStatus::NotEditable, {}, {}};
    }
    RecordEditObserver* observer = tEditObserver;
    if (observer) {
        observer->RecordChanging(node);
    }
    if (record.isField) {
        record.data = std::move(bytes);
        CopyFieldToParent(node);
    } else {
        record.SetData(std::move(bytes));
    }
    if (observer) {
        observer->RecordChanged(node);
    }
    return {};
}

EditResult OverwriteRecordBytes(RecordNode& node, size_t offset, std::span<const uint8_t> bytes) {
    AirRecord& record = node.record;
    if (offset > record.data.size() || bytes.size() > record.data.size() - offset) {
        return {EditStatus::NotEditable, {}};
    }
    RecordEditObserver* observer = tEditObserver;
    if (observer) {
        observer->RangeChanging(node, offset, bytes.size());
    }
    std::copy(bytes.begin(), bytes.end(), record.data.begin() + static_cast<std::ptrdiff_t>(offset));
    if (RecordNode* parent = record.isField ? node.Parent() : nullptr) {
        SmallBytes& target = parent->record.data;
        const size_t at = record.offset + offset;
        if (at < target.size()) {
            const size_t n = std::min(bytes.size(), target.size() - at);
            std::copy_n(bytes.begin(), n, target.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    if (observer) {
        observer->RangeChanged(node, offset, bytes.size());
    }
    return {};
}

EditResult ApplyNumberEdit(RecordNode& node, std::string_view text, char localeMark) {
    AirRecord& record = node.record;
    const EncodeResult encoded = EncodeNumber(record.type, text, localeMark);
    switch (encoded.status) {
    case EncodeStatus::Ok:
        break;
    case EncodeStatus::RangeRejected:
        return {EditStatus::RangeRejected, encoded.limits, {}};
    case EncodeStatus::ConversionError:
        return {EditStatus::ConversionError, {}, encoded.fault};
    case EncodeStatus::NotANumberType:
        return {EditStatus::NotEditable, {}, {}};
    }
    // A record shorter than its type has no value to change.
    if (record.data.size() < encoded.bytes.size()) {
        return {EditStatus::NotEditable, {}, {}};
    }
    std::vector<uint8_t> bytes = record.data.ToVector();
    std::copy(encoded.bytes.begin(), encoded.bytes.end(), bytes.begin());
    return ReplaceRecordBytes(node, std::move(bytes));
}

EditResult ApplyBoolEdit(RecordNode& node, bool value) {
    AirRecord& record = node.record;
    if (record.type != DataType::Bool || record.data.size() < 4) {
        return {EditStatus::NotEditable, {}, {}};
    }
    std::vector<uint8_t> bytes = record.data.ToVector();
    std::fill_n(bytes.begin(), 4, uint8_t{0});
    bytes[0] = value ? 1 : 0;
    return ReplaceRecordBytes(node, std::move(bytes));
}

EditResult ApplyTextEdit(RecordNode& node, std::string_view text) {
    AirRecord& record = node.record;
    if (record.type != DataType::Text) {
        return {EditStatus::NotEditable, {}, {}};
    }
    if (text.size() > kMaxTextLength) {
        return {EditStatus::TextTooLong, {}, {}};
    }
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    if (record.isField) {
        // The parent's layout fixes the room a text field has.
        if (bytes.size() > record.data.size()) {
            return {EditStatus::TextTooLongForField, {}, {}};
        }
        bytes.resize(record.data.size(), 0);
    }
    return ReplaceRecordBytes(node, std::move(bytes));
}

} // namespace kelvara
