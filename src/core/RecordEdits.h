// The value edits of the record view applied to a node: new bytes into the record, and for a
// field of a structured record into its parent. Caption and changed flag are the caller's.
#pragma once

#include "ValueEncoding.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

class RecordNode;

enum class EditStatus { Ok, RangeRejected, ConversionError, NotEditable, TextTooLong, TextTooLongForField };

struct EditResult {
    EditStatus status = EditStatus::Ok;
    RangeLimits limits; // RangeRejected only
    NumberFault fault = NumberFault::None; // ConversionError only
};

inline constexpr size_t kMaxTextLength = 32000;

// Number field: range check, encoding, bytes into the record (and parent).
EditResult ApplyNumberEdit(RecordNode& node, std::string_view text, char localeMark);
// Truth value: all four bytes are written, so no stray high byte keeps a false value true.
EditResult ApplyBoolEdit(RecordNode& node, bool value);
// Text: lines joined with CR LF plus a zero byte. A record takes the new length; a text field
// keeps its length inside the parent and refuses a longer text.
EditResult ApplyTextEdit(RecordNode& node, std::string_view text);

// Copies a field's bytes back into its parent at the field's offset.
void CopyFieldToParent(RecordNode& field);

// The one way a record's bytes change after loading: every editor (values, hex, tables,
// clipboard) ends here, so an edit history has one place to hook in. A record takes the new
// bytes and their length; a field keeps its length (shorter input is refused) and is copied
// into its parent.
EditResult ReplaceRecordBytes(RecordNode& node, std::vector<uint8_t> bytes);
// The same for a few bytes written in place from offset on, so that an edit of one value costs
// the same in a record of any size. Bytes past the record's end are refused.
EditResult OverwriteRecordBytes(RecordNode& node, size_t offset, std::span<const uint8_t> bytes);

// Hears of every change ReplaceRecordBytes makes: once before the bytes change, once after.
// A refused edit reaches neither call.
class RecordEditObserver {
public:
    virtual ~RecordEditObserver() = default;
    virtual void RecordChanging(const RecordNode& node) = 0;
    virtual void RecordChanged(const RecordNode& node) = 0;
    // An in-place write of size bytes from offset on; heard as a whole change unless overridden.
    virtual void RangeChanging(const RecordNode& node, size_t /*offset*/, size_t /*size*/) {
        RecordChanging(node);
    }
    virtual void RangeChanged(const RecordNode& node, size_t /*offset*/, size_t /*size*/) {
        RecordChanged(node);
    }
};

// The observer of this thread's edits (null: none). Returns the one it replaces.
RecordEditObserver* SetRecordEditObserver(RecordEditObserver* observer);

} // namespace kelvara
