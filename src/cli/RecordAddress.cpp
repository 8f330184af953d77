#include "RecordAddress.h"

#include "TextUtil.h"

#include <iostream>

namespace kelvara {

RecordNode* FindAddressedNode(RecordTree& tree, const std::string& address, std::string& usageError) {
    const size_t slash = address.find('/');
    const std::string numberText = address.substr(0, slash);
    const int64_t number = ParseHexNumber(numberText, true, 0xFFFFFFFF);
    if (number < 0) {
        usageError = "record number must be hexadecimal, 0 to ffffffff: " + address;
        return nullptr;
    }
    RecordNode* node = tree.FindRecord(number);
    if (!node) {
        std::cerr << "error: no record " << numberText << " in the file\n";
        return nullptr;
    }
    if (slash == std::string::npos) {
        return node;
    }
    const std::string fieldText = address.substr(slash + 1);
    const LeadingInteger field = ParseLeadingInteger(fieldText);
    if (fieldText.empty() || field.overflowed || std::to_string(field.value) != fieldText) {
        usageError = "field number must be decimal: " + fieldText;
        return nullptr;
    }
    for (size_t i = 0; i < node->ChildCount(); ++i) {
        if (node->Child(i)->record.fieldNumber == field.value) {
            return node->Child(i);
        }
    }
    std::cerr << "error: record " << numberText << " has no field " << fieldText << "\n";
    return nullptr;
}

} // namespace kelvara
