// Small file helpers for the app tests.
#pragma once

#include "ScriptedPrompts.h"
#include "TempFolder.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace kelvara::test {

inline std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace kelvara::test

// Every app test works in temporary folders.
namespace kelvara {
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
} // namespace kelvara
