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
    enum class Status { Ok, NotATable, Refused };
    Status status = Status::Ok;
    int line = 0;               // Refused: 1-based line of the file (0: the file as a whole)
    std::string reason;         // Refused: what was expected there, in English
    std::string germanReason;   // and in German
    int valuesRead = 0;         // values stored
    std::vector<uint8_t> bytes; // Ok: the record's new bytes, same size as before
};

// Reads a table text file into a copy of the record's bytes. The header must name the
// table's own shape ("Points: N", "Columns: C, Rows: R"), and every value line must hold the
// numbers of one point or one matrix column; then only empty lines may follow. Tabs, ";" and
// blanks separate fields, and so does "," when the style writes "," between values and "."
// in them; otherwise "." and "," are both decimal marks. Anything else refuses the whole file.
[[nodiscard]] TableImport ReadTableText(int type, std::span<const uint8_t> data, std::string_view text,
                                        const TableTextStyle& style = {});

// "FILE line N: REASON - nothing was changed", in the language asked for.
[[nodiscard]] std::string TableImportMessage(const TableImport& refused, std::string_view file, bool german);

} // namespace kelvara
