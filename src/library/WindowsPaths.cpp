#include "WindowsPaths.h"

#include "FolderNames.h"

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace kelvara {

namespace {

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

std::string RealFolder(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

std::string FindWinePrefix(const std::string& folder) {
    std::string at = RealFolder(folder);
    while (!at.empty()) {
        if (IsFolder(JoinFolder(at, "drive_c"))) {
            return at;
        }
        const size_t slash = at.rfind('/');
        if (slash == std::string::npos || at == "/") {
            break;
        }
        at.resize(slash == 0 ? 1 : slash);
    }
    return {};
}

std::string MapWindowsPath(const std::string& prefix, std::string_view path, const std::string& base) {
    std::string rest = FromConfigPath(path);
    std::string root;
    if (rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == ':') {
        if (rest.size() > 2 && rest[2] != '/') {
            return {}; // relative to the drive's current folder, which no file records
        }
        const char letter = static_cast<char>(rest[0] | 0x20);
        root = letter == 'c' ? JoinFolder(prefix, "drive_c")
                             : JoinFolder(JoinFolder(prefix, "dosdevices"), std::string{letter, ':'});
        rest.erase(0, 2);
    } else if (!rest.empty() && rest.front() == '/') {
        return {};
    } else {
        root = base;
    }
    while (!rest.empty() && rest.front() == '/') {
        rest.erase(0, 1);
    }
    while (!rest.empty() && rest.back() == '/') {
        rest.pop_back();
    }
    return ResolveNoCase(rest.empty() ? root : JoinFolder(root, rest));
}

std::string ChildNoCase(const std::string& folder, std::string_view name) {
    const std::string exact = JoinFolder(folder, name);
    if (Exists(exact)) {
        return exact;
    }
    const std::string found = ResolveNoCase(exact);
    return Exists(found) ? found : std::string();
}

} // namespace kelvara
