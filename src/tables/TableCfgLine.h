// A table as one line of the MSFS configuration files (flight_model.cfg, engines.cfg): point
// pairs "x:y, x:y", a matrix as comma-separated rows of colon-separated cells whose first row
// holds the corner and the column keys. Which configuration key matches which record is left
// to the user: no public source says.
#pragma once

#include "ValueEncoding.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// The shortest of the 15- and 17-digit texts that reads back to the same double, with ".".
[[nodiscard]] std::string RoundTripNumberText(double value);

struct CfgLineWrite {
    enum class Status { Ok, NotATable, TooShort, NotFinite };
    Status status = Status::Ok;
    std::string line; // Ok: without "key =" and without a line end
};

// "tbldb" as x:y pairs, "tbl16"/"tbl16_2" as index:value as the grid shows them, a matrix as
// the grid shows it (rows of the record's second index) with the corner as its leading cell.
// Only what the record holds: pairs and whole columns inside it.
[[nodiscard]] CfgLineWrite WriteCfgLine(int type, std::span<const uint8_t> data);

struct CfgLineRead {
    enum class Status { Ok, NotATable, TooShort, TwoLines, WrongShape, NotANumber, NotWhole, WrongIndex, OutOfRange };
    Status status = Status::Ok;
    // WrongShape: groups found and wanted, or (group set) cells found and wanted in it.
    int group = 0; // 1-based; 0 for the group count
    int found = 0;
    int wanted = 0;
    std::string text;   // NotANumber, NotWhole, WrongIndex, OutOfRange: the cell as written
    RangeLimits limits; // OutOfRange
    int values = 0;     // Ok: values read
    std::vector<uint8_t> bytes; // Ok: the record's new bytes, same size as before
};

// One line, with or without "key =" and "; comment". Its shape must be the table's exactly;
// any refusal leaves bytes empty, so nothing is half applied.
[[nodiscard]] CfgLineRead ReadCfgLine(int type, std::span<const uint8_t> data, std::string_view text);

// Why a line was refused, in a sentence (German when asked).
[[nodiscard]] std::string DescribeCfgLineRefusal(const CfgLineRead& read, bool german = false);

} // namespace kelvara
