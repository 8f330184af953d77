// One aircraft container folder of the scan, as kvr.cfg stores it.
#pragma once

#include <string>

namespace kelvara {

struct SearchPath {
    std::string folder;
    int active = 1; // 0: skipped by the scan
    bool operator==(const SearchPath&) const = default;
};

} // namespace kelvara
