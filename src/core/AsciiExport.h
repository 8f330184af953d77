// The whole file as text for spreadsheets: one line per known record, fields indented.
#pragma once

#include "NumberStyle.h"

#include <ostream>

namespace kelvara {

class RecordDictionary;
class RecordTree;

// delimiter: 2 semicolon, 3 tab, anything else comma. Lines end in CR LF.
void ExportAscii(const RecordTree& tree, const RecordDictionary& dictionary, int delimiter,
                 const NumberStyle& style, std::ostream& out);

} // namespace kelvara
