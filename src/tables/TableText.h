// Table text files: one table record as lines of numbers for a spreadsheet, and back. The
// reader never changes a table's size and never applies half a file.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct TableTextStyle {
    int delimiter = 3; // 2: ";", 3: tab, otherwise ","
    int decimal = 1;   // 1: "." as decimal mark, 2: ","
};

[[nodiscard]] char TableDelimiter(int setting);

// Writes the header and value lines of a table record; false for types that are no tables
// and for a matrix too short for its two counts. Only values inside the record are written,
// and the header counts what is written.
bool WriteTableText(int type, std::span<const uint8_t> data, const TableTextStyle& style,
                    std::ostream& out);

struct TableImport {
    enum class Status { Ok, NotATable, BadNumber };
    Status status = Status::Ok;
    int line = 0;          // BadNumber: 1-based line of the file
    std::string field;     // BadNumber: the text that is no number
    int valuesRead = 0;    // values stored
    std::vector<uint8_t> bytes; // Ok: the record's new bytes, same size as before
};

// Reads a table text file (header line ignored) into a copy of the record's bytes. Tabs, ";"
// and blanks separate fields; "." and "," are both decimal marks. Reading stops at the end of
// the file; a field that is no number fails the whole import.
[[nodiscard]] TableImport ReadTableText(int type, std::span<const uint8_t> data, std::string_view text);

} // namespace kelvara
