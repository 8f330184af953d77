#include "PluginList.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace kelvara {

namespace {

template <typename Function> Function Lookup(void* module, const char* name) {
    // dlsym returns an object pointer; the cast to a function pointer is how POSIX intends it.
    void* symbol = dlsym(module, name);
    Function function = nullptr;
    static_assert(sizeof function == sizeof symbol);
    std::memcpy(&function, &symbol, sizeof function);
    return function;
}

// A text pointer handed back by a plug-in may point anywhere. Before a page of it is read, the
// kernel copies one byte of that page into a pipe: it answers EFAULT where memory cannot be
// read, where reading it here would crash. Readability is per page, so the rest of the page
// is then read directly, up to the text's zero.
class TextProbe {
public:
    TextProbe() {
        if (::pipe2(mPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            mPipe[0] = mPipe[1] = -1;
        }
    }
    ~TextProbe() {
        for (const int fd : mPipe) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    TextProbe(const TextProbe&) = delete;
    TextProbe& operator=(const TextProbe&) = delete;

    // Empty for null; nullopt when not even the first byte can be read. A text that runs into
    // unreadable memory before its zero is cut there.
    std::optional<std::string> Copy(const char* text) {
        if (text == nullptr) {
            return std::string();
        }
        static const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        std::string out;
        auto at = reinterpret_cast<uintptr_t>(text);
        while (out.size() < kMaxPluginText) {
            const auto* here = reinterpret_cast<const char*>(at);
            if (!Readable(here)) {
                return out.empty() ? std::nullopt : std::optional(out);
            }
            const size_t want = std::min(page - at % page, kMaxPluginText - out.size());
            const size_t length = strnlen(here, want);
            out.append(here, length);
            if (length < want) {
                break;
            }
            at += want;
        }
        return out;
    }

private:
    bool Readable(const char* at) {
        char byte = 0;
        return mPipe[0] >= 0 && ::write(mPipe[1], at, 1) == 1 && ::read(mPipe[0], &byte, 1) == 1;
    }

    int mPipe[2] = {-1, -1};
};

bool WriteMarker(const std::string& marker, const std::string& text, bool append) {
    const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && written;
}

std::string ReadMarker(const std::string& marker) {
    std::string text(512, '\0');
    const int fd = ::open(marker.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const ssize_t got = fd >= 0 ? ::read(fd, text.data(), text.size()) : -1;
    if (fd >= 0) {
        ::close(fd);
    }
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

// A marker at least as new as the plug-in: that file did not get through its start. A
// replaced plug-in is tried again.
bool MarkerDisables(const std::string& marker, const std::string& plugin) {
    struct stat markerInfo {};
    struct stat pluginInfo {};
    if (::lstat(marker.c_str(), &markerInfo) != 0) {
        return false;
    }
    if (::stat(plugin.c_str(), &pluginInfo) != 0) {
        return true;
    }
    return std::tie(pluginInfo.st_mtim.tv_sec, pluginInfo.st_mtim.tv_nsec) <=
           std::tie(markerInfo.st_mtim.tv_sec, markerInfo.st_mtim.tv_nsec);
}

// dlerror names the file first; the list shows it already.
std::string LoadError(const std::string& path) {
    const char* error = dlerror();
    std::string text = error ? error : "it does not load";
    if (text.starts_with(path + ": ")) {
        text.erase(0, path.size() + 2);
    }
    return text;
}

} // namespace

std::string PluginMarkerPath(const std::string& markerFolder, const std::string& file) {
    // Not "*.kvr": beside a portable program's kvr.cfg it would be taken for a plug-in.
    return (std::filesystem::path(markerFolder) / ("kvr-plugin-start-" + file + ".txt")).string();
}

void PluginList::Load(PluginEntry& entry, const PluginStart& start) {
    const std::string marker =
        start.markerFolder.empty() ? std::string() : PluginMarkerPath(start.markerFolder, entry.file);
    if (!marker.empty() && MarkerDisables(marker, entry.path)) {
        entry.state = PluginState::Disabled;
        entry.marker = marker;
        // The marker holds the plug-in's path; a second line says it was skipped and told.
        const std::string text = ReadMarker(marker);
        entry.newlyDisabled = std::count(text.begin(), text.end(), '\n') < 2;
        if (entry.newlyDisabled) {
            (void)WriteMarker(marker, "skipped at a later start\n", true);
        }
        return;
    }
    if (!start.load) {
        entry.state = PluginState::Off;
        return;
    }
    // Unwritable: the plug-in runs without the guard, as it always did.
    const bool marked = !marker.empty() && WriteMarker(marker, entry.path + "\n", false);
    // A full path: a bare name would make the loader search the system's library folders.
    entry.module = dlopen(entry.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!entry.module) {
        entry.state = PluginState::NotAPlugin;
        entry.reason = LoadError(entry.path);
    } else {
        entry.init = Lookup<SP_InitFunction>(entry.module, "SP_Init");
        entry.exit = Lookup<SP_ExitFunction>(entry.module, "SP_Exit");
        entry.firstMenu = Lookup<SP_MenuFunction>(entry.module, "SP_GetFirstMenu");
        entry.nextMenu = Lookup<SP_MenuFunction>(entry.module, "SP_GetNextMenu");
        if (!entry.init && !entry.exit && !entry.firstMenu && !entry.nextMenu) {
            entry.state = PluginState::NotAPlugin;
            entry.reason = "it has none of the functions SP_Init, SP_Exit, SP_GetFirstMenu, SP_GetNextMenu";
        }
    }
    if (entry.init) {
        // Preset, so that a plug-in that sets only some of them gives empty texts.
        const char* name = nullptr;
        const char* vendor = nullptr;
        const char* version = nullptr;
        const char* comment = nullptr;
        entry.init(static_cast<unsigned char>(start.languageLetter), &name, &vendor, &version, &comment);
        TextProbe probe;
        bool unreadable = false;
        for (const auto& [text, field] : {std::pair(name, &entry.PluginName), std::pair(vendor, &entry.PluginVendor),
                                          std::pair(version, &entry.PluginVersion),
                                          std::pair(comment, &entry.PluginComment)}) {
            const std::optional<std::string> copy = probe.Copy(text);
            unreadable |= !copy;
            *field = copy.value_or(std::string());
        }
        if (unreadable) {
            entry.reason = "its SP_Init handed back a text that cannot be read";
        }
    }
    if (marked) {
        ::unlink(marker.c_str());
    }
}

void PluginList::ScanPlugins(const std::vector<std::string>& folders, const PluginStart& start) {
    std::vector<std::filesystem::path> files;
    for (const std::string& folder : folders) {
        const size_t first = files.size();
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            const std::filesystem::path& path = it->path();
            std::error_code typeError;
            if (path.extension() == ".kvr" && it->is_regular_file(typeError)) {
                files.push_back(path);
            }
        }
        // Directory order differs between file systems; name order is the same everywhere.
        std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end());
    }

    for (const std::filesystem::path& path : files) {
        if (mEntries.size() >= kMaxPlugins) {
            mBeyondLimit.push_back(path.string());
            continue;
        }
        PluginEntry& entry = mEntries.emplace_back();
        entry.file = path.filename().string();
        entry.path = path.string();
        Load(entry, start);
    }
}

void PluginList::FreePluginList() {
    // Moved out first, so that a plug-in that ends the program from SP_Exit is not told twice.
    std::vector<PluginEntry> entries = std::move(mEntries);
    mEntries.clear();
    for (const PluginEntry& entry : entries) {
        if (entry.exit) {
            entry.exit();
        }
    }
}

std::vector<std::string> PluginList::ListPlugins(bool german) const {
    std::vector<std::string> lines;
    for (const PluginEntry& entry : mEntries) {
        switch (entry.state) {
        case PluginState::Loaded:
            lines.push_back(entry.PluginName.empty() ? entry.file : entry.PluginName);
            lines.push_back("    Version = " + entry.PluginVersion);
            lines.push_back("    Vendor  = " + entry.PluginVendor);
            lines.push_back("    Comment = " + entry.PluginComment);
            if (!entry.reason.empty()) {
                lines.push_back("    " + entry.reason);
            }
            break;
        case PluginState::NotAPlugin:
            lines.push_back(entry.file);
            lines.push_back((german ? "    kein Plug-in: " : "    not a plug-in: ") + entry.reason);
            break;
        case PluginState::Disabled:
            lines.push_back(entry.file);
            lines.push_back(german ? "    abgeschaltet: ist bei einem früheren Start nicht fertig gestartet; "
                                     "zum erneuten Versuch " + entry.marker + " löschen"
                                   : "    disabled: did not finish starting at an earlier start; delete " +
                                         entry.marker + " to try it again");
            break;
        case PluginState::Off:
            lines.push_back(entry.file);
            lines.push_back(german ? "    nicht geladen: mit --no-plugins gestartet"
                                   : "    not loaded: started with --no-plugins");
            break;
        }
    }
    return lines;
}

} // namespace kelvara
