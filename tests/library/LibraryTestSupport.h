// Folder trees for the library tests, built in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelvara::test {

class TempTree {
  public:
    TempTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvlib-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            mRoot = pattern;
        }
        EXPECT_FALSE(mRoot.empty());
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(mRoot, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    [[nodiscard]] std::string Path(const std::string& relative = {}) const {
        return relative.empty() ? mRoot : mRoot + "/" + relative;
    }
    // Writes the file, creating its folders.
    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path path = Path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Folder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
    }

  private:
    std::string mRoot;
};

// One [fltsim.N] section.
inline std::string Section(int n, const std::string& title, const std::string& sim,
                           const std::string& extra = {}) {
    std::string text = "[fltsim." + std::to_string(n) + "]\r\n";
    if (!title.empty()) {
        text += "title=" + title + "\r\n";
    }
    if (!sim.empty()) {
        text += "sim=" + sim + "\r\n";
    }
    return text + extra;
}

} // namespace kelvara::test
