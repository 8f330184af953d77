// "kelvara-cli diff A.air B.air": what differs between two flight-model files.
#pragma once

#include "AirFileReader.h"

#include <string>
#include <vector>

namespace kelvara {

// args: "diff", A, B. Exit code as diff(1) has it: 0 same records, 1 different, 2 trouble.
int RunDiff(const std::vector<std::string>& args, const std::string& ini, const ReadOptions& options);

} // namespace kelvara
