// The table commands of kelvara-cli: a table record to a table text file and back.
#pragma once

#include "AirFileReader.h"

#include <string>
#include <vector>

namespace kelvara {

struct TableCommandInput {
    std::vector<std::string> args; // the command and its arguments
    std::string ini;
    ReadOptions read;
    int delimiter = 3;
    bool cfgFormat = false; // one configuration line instead of a table text file
};

[[nodiscard]] bool IsTableCommand(const std::string& command);
// The exit code: 0 done, 1 usage or not a table, 2 a file not read or written, 3 a line that
// is no number (nothing changed or saved).
[[nodiscard]] int RunTableCommand(const TableCommandInput& input);

} // namespace kelvara
