#include "FolderNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace kelvara {

namespace {

// Closes the listing on every way out.
class Listing {
  public:
    explicit Listing(const std::string& folder) : mDir(::opendir(folder.c_str())) {}
    ~Listing() {
        if (mDir != nullptr) {
            ::closedir(mDir);
        }
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    [[nodiscard]] bool Open() const { return mDir != nullptr; }
    // Skips "." and "..".
    const dirent* Next() {
        while (const dirent* entry = ::readdir(mDir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                return entry;
            }
        }
        return nullptr;
    }

  private:
    DIR* mDir;
};

enum class Kind { Folder, File, Other, Unknown };

// The entry's type, following links; Unknown with errno set when stat fails.
Kind KindOf(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return Kind::Folder;
    }
    if (entry.d_type == DT_REG) {
        return Kind::File;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return Kind::Other;
    }
    struct stat info {};
    if (::stat(JoinFolder(folder, entry.d_name).c_str(), &info) != 0) {
        return Kind::Unknown;
    }
    return S_ISDIR(info.st_mode) ? Kind::Folder : S_ISREG(info.st_mode) ? Kind::File : Kind::Other;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name without regard to letter case, only a regular
// file when filesOnly; the smallest such name when several differ only in case. Empty when
// there is none.
std::string MatchNoCase(const std::string& folder, std::string_view name, bool filesOnly = false) {
    Listing listing(folder.empty() ? std::string(".") : folder);
    if (!listing.Open()) {
        return {};
    }
    const std::string wanted = FoldCase(name);
    std::string best;
    while (const dirent* entry = listing.Next()) {
        const std::string_view candidate = entry->d_name;
        if (candidate.size() == wanted.size() && FoldCase(candidate) == wanted &&
            (best.empty() || candidate < best) && (!filesOnly || KindOf(folder, *entry) == Kind::File)) {
            best = candidate;
        }
    }
    return best;
}

std::string_view WithoutTrailingDots(std::string_view name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
    return name;
}

} // namespace

std::string FromConfigPath(std::string_view value) {
    std::string path(value);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string JoinFolder(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/') {
        out += '/';
    }
    out += name;
    return out;
}

std::string ResolveNoCase(const std::string& path) {
    if (path.empty() || Exists(path)) {
        return path;
    }
    std::string resolved = path.front() == '/' ? "/" : "";
    bool matching = true;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string_view component = std::string_view(path).substr(start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        std::string name(component);
        if (matching && component != "." && component != "..") {
            const std::string here = JoinFolder(resolved, name);
            if (!Exists(here)) {
                std::string found = MatchNoCase(resolved, component);
                const std::string_view trimmed = WithoutTrailingDots(component);
                if (found.empty() && !trimmed.empty() && trimmed.size() < component.size()) {
                    found = Exists(JoinFolder(resolved, trimmed)) ? std::string(trimmed)
                                                                   : MatchNoCase(resolved, trimmed);
                }
                if (found.empty()) {
                    matching = false; // nothing below a missing folder can be found
                } else {
                    name = found;
                }
            }
        }
        resolved = resolved.empty() || resolved == "/" ? resolved + name : JoinFolder(resolved, name);
    }
    if (!path.empty() && path.back() == '/' && !resolved.empty() && resolved.back() != '/') {
        resolved += '/';
    }
    return resolved;
}

std::string FindFileNoCase(const std::string& folder, std::string_view name) {
    const std::string exact = JoinFolder(folder, name);
    if (IsRegularFile(exact)) {
        return exact;
    }
    // An empty folder names no listing here, unlike in a path being resolved.
    const std::string best = folder.empty() ? std::string() : MatchNoCase(folder, name, true);
    return best.empty() ? std::string() : JoinFolder(folder, best);
}

ConfigFiles FindConfigFiles(const std::string& folder) {
    ConfigFiles files;
    Listing listing(folder);
    if (!listing.Open()) {
        files.error = std::strerror(errno);
        return files;
    }
    std::string aircraftName;
    std::string simName;
    while (const dirent* entry = listing.Next()) {
        const std::string_view name = entry->d_name;
        if (name.size() != 12 && name.size() != 7) {
            continue;
        }
        const std::string folded = FoldCase(name);
        std::string* slot = folded == "aircraft.cfg" ? &aircraftName
                            : folded == "sim.cfg"    ? &simName
                                                     : nullptr;
        if (slot != nullptr && (slot->empty() || name < *slot) &&
            KindOf(folder, *entry) == Kind::File) {
            *slot = name;
        }
    }
    if (!aircraftName.empty()) {
        files.aircraftCfg = JoinFolder(folder, aircraftName);
    }
    if (!simName.empty()) {
        files.simCfg = JoinFolder(folder, simName);
    }
    return files;
}

FolderListing ListSubfolders(const std::string& folder) {
    FolderListing result;
    Listing listing(folder);
    if (!listing.Open()) {
        result.error = std::strerror(errno);
        return result;
    }
    while (const dirent* entry = listing.Next()) {
        errno = 0;
        switch (KindOf(folder, *entry)) {
        case Kind::Folder:
            result.folders.emplace_back(entry->d_name);
            break;
        case Kind::Unknown:
            result.skipped.push_back({JoinFolder(folder, entry->d_name), std::strerror(errno)});
            break;
        default:
            break;
        }
    }
    std::sort(result.folders.begin(), result.folders.end());
    return result;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FoldCase(std::string_view utf8) {
    std::string out(utf8);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00C0..U+00DE, the capitals of Latin-1, except the multiplication sign.
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                out[i + 1] = static_cast<char>(next + 32);
            }
            ++i;
        }
    }
    return out;
}

} // namespace kelvara
