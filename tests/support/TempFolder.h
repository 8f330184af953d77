// A fresh folder for a test's files, files written and read whole, and an environment variable
// set for one scope.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace kelvara::test {

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
inline std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Made under the system's temporary folder and removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvara-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            mPath = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        // Read-only folders made by a test must be writable again before they can go.
        ::chmod(mPath.c_str(), 0700);
        for (auto it = std::filesystem::recursive_directory_iterator(mPath, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                ::chmod(it->path().c_str(), 0700);
            }
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
    // Writes the file, making its folders.
    void Write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(File(name)).parent_path());
        WriteFile(File(name), bytes);
    }

  private:
    std::string mPath;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : mName(name) {
        if (const char* old = std::getenv(name)) {
            mOld = old;
        }
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { mOld ? ::setenv(mName.c_str(), mOld->c_str(), 1) : ::unsetenv(mName.c_str()); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string mName;
    std::optional<std::string> mOld;
};

} // namespace kelvara::test
