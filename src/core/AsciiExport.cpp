#include "AsciiExport.h"

#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordTree.h"
#include "ValueFormat.h"

#include <cstdio>
#include <unordered_map>

namespace kelvara {

void ExportAscii(const RecordTree& tree, const RecordDictionary& dictionary, int delimiter,
                 const NumberStyle& style, std::ostream& out) {
    const char d = delimiter == 2 ? ';' : delimiter == 3 ? '\t' : ',';
    // The first node in tree order for every record number.
    std::unordered_map<int32_t, const RecordNode*> first;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        first.try_emplace(tree.Root(i)->record.lookupNumber, tree.Root(i));
    }
    for (int n = 0; n < RecordDictionary::kRecordCount; ++n) {
        if (!dictionary.IsDefined(n)) {
            continue;
        }
        const auto found = first.find(n);
        if (found == first.end()) {
            continue;
        }
        const RecordNode& node = *found->second;
        char number[8];
        std::snprintf(number, sizeof number, "%5.5x", static_cast<unsigned>(n));
        out << number << d << dictionary.Name(n) << d;
        if (node.record.type == DataType::Record) {
            out << "\r\n";
            for (size_t c = 0; c < node.ChildCount(); ++c) {
                const AirRecord& field = node.Child(c)->record;
                const FieldDef& def = dictionary.Field(field.layout, field.fieldNumber);
                out << "     " << d << def.name << d << FormatValue(field.type, field.Bytes(), style) << "\r\n";
            }
        } else {
            out << FormatValue(node.record.type, node.record.Bytes(), style) << "\r\n";
        }
    }
}

} // namespace kelvara
