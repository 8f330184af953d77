// Temporary folders and small file helpers for the app tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "ScriptedPrompts.h"

namespace kelvara::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvara-app-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            mPath = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        // Read-only subfolders made by a test must be writable again before they can go.
        for (auto it = std::filesystem::recursive_directory_iterator(mPath, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            ::chmod(it->path().c_str(), 0700);
        }
        std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::string& Path() const { return mPath; }
    [[nodiscard]] std::string File(const std::string& name) const { return mPath + "/" + name; }
    std::string MakeFolder(const std::string& name) const {
        std::filesystem::create_directories(File(name));
        return File(name);
    }

  private:
    std::string mPath;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Root ignores permission bits, so read-only folders cannot be simulated.
inline bool PermissionsIgnored() {
    return ::geteuid() == 0;
}

// Sets an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : mName(name) {
        if (const char* old = std::getenv(name)) {
            mOld = old;
        }
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (mOld) {
            ::setenv(mName.c_str(), mOld->c_str(), 1);
        } else {
            ::unsetenv(mName.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string mName;
    std::optional<std::string> mOld;
};

} // namespace kelvara::test
