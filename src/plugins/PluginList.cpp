#include "PluginList.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>

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

std::string CopyText(const char* text) {
    if (!text) {
        return {};
    }
    return std::string(text, strnlen(text, kMaxPluginText));
}

} // namespace

void PluginList::ScanPlugins(const std::vector<std::string>& folders, char languageLetter) {
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
            break;
        }
        PluginEntry& entry = mEntries.emplace_back();
        entry.file = path.filename().string();
        // A full path: a bare name would make the loader search the system's library folders.
        entry.module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!entry.module) {
            continue;
        }
        entry.init = Lookup<SP_InitFunction>(entry.module, "SP_Init");
        entry.exit = Lookup<SP_ExitFunction>(entry.module, "SP_Exit");
        entry.firstMenu = Lookup<SP_MenuFunction>(entry.module, "SP_GetFirstMenu");
        entry.nextMenu = Lookup<SP_MenuFunction>(entry.module, "SP_GetNextMenu");
        if (!entry.init) {
            continue;
        }
        // Preset, so that a plug-in that sets only some of them gives empty texts.
        const char* name = nullptr;
        const char* vendor = nullptr;
        const char* version = nullptr;
        const char* comment = nullptr;
        entry.init(static_cast<unsigned char>(languageLetter), &name, &vendor, &version, &comment);
        entry.PluginName = CopyText(name);
        entry.PluginVendor = CopyText(vendor);
        entry.PluginVersion = CopyText(version);
        entry.PluginComment = CopyText(comment);
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

std::vector<std::string> PluginList::ListPlugins() const {
    std::vector<std::string> lines;
    for (const PluginEntry& entry : mEntries) {
        lines.push_back(entry.PluginName);
        lines.push_back("    Version = " + entry.PluginVersion);
        lines.push_back("    Vendor  = " + entry.PluginVendor);
        lines.push_back("    Comment = " + entry.PluginComment);
    }
    return lines;
}

} // namespace kelvara
