// The plug-in libraries ("*.kvr") of the program's folder: loaded and introduced to at start,
// listed for the plug-ins window, and told to exit when the program ends.
#pragma once

#include "KelvaraPlugin.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kelvara {

struct PluginEntry {
    std::string file;        // the library's file name
    void* module = nullptr;  // null when loading failed; never unloaded
    SP_InitFunction init = nullptr;
    SP_ExitFunction exit = nullptr;
    SP_MenuFunction firstMenu = nullptr;
    SP_MenuFunction nextMenu = nullptr;
    std::string PluginName;
    std::string PluginVendor;
    std::string PluginVersion;
    std::string PluginComment;
};

inline constexpr size_t kMaxPlugins = 100;
// Longest plug-in text copied; a text without its zero is cut there.
inline constexpr size_t kMaxPluginText = 4096;

class PluginList {
public:
    PluginList() = default;
    ~PluginList() { FreePluginList(); }
    PluginList(const PluginList&) = delete;
    PluginList& operator=(const PluginList&) = delete;

    // Loads the "*.kvr" files of the folders, folder by folder in name order, at most
    // kMaxPlugins. Only these folders are searched, never the working folder. A file that
    // does not load, or lacks functions, keeps its entry without them.
    void ScanPlugins(const std::vector<std::string>& folders, char languageLetter);
    // Calls every SP_Exit in list order, then empties the list; a second call does nothing.
    void FreePluginList();
    // Four lines per plug-in: name, version, vendor, comment.
    [[nodiscard]] std::vector<std::string> ListPlugins() const;

    [[nodiscard]] const std::vector<PluginEntry>& Entries() const { return mEntries; }

private:
    std::vector<PluginEntry> mEntries;
};

} // namespace kelvara
