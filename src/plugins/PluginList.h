// The plug-in libraries ("*.kvr") of the program's folder: loaded and introduced to at start,
// listed for the plug-ins window, and told to exit when the program ends.
#pragma once

#include "KelvaraPlugin.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kelvara {

enum class PluginState {
    Loaded,
    NotAPlugin, // does not load as a library, or has none of the functions
    Disabled,   // did not get through its start at an earlier start of the program
    Off,        // the program was started without plug-ins
};

struct PluginEntry {
    std::string file;        // the library's file name
    std::string path;
    PluginState state = PluginState::Loaded;
    // Why it is not loaded; for a loaded one, a text of SP_Init's that could not be read.
    std::string reason;
    std::string marker;      // a disabled plug-in's marker file
    bool newlyDisabled = false; // its start failed at the last start: not told yet
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

struct PluginStart {
    char languageLetter = 'E';
    // Where the start markers go (beside kvr.cfg); empty: none are written or looked for.
    std::string markerFolder;
    bool load = true; // false: the files are listed, none is loaded
};

// The marker (kvr-plugin-start-NAME.txt) written before a plug-in is loaded and removed once
// its SP_Init returned. Found at a later start, it disables the plug-in until it is deleted or
// the plug-in file is replaced.
[[nodiscard]] std::string PluginMarkerPath(const std::string& markerFolder, const std::string& file);

class PluginList {
public:
    PluginList() = default;
    ~PluginList() { FreePluginList(); }
    PluginList(const PluginList&) = delete;
    PluginList& operator=(const PluginList&) = delete;

    // Loads the "*.kvr" files of the folders, folder by folder in name order, at most
    // kMaxPlugins. Only these folders are searched, never the working folder. Every file keeps
    // an entry; one that is not loaded says why.
    void ScanPlugins(const std::vector<std::string>& folders, const PluginStart& start);
    // Calls every SP_Exit in list order, then empties the list; a second call does nothing.
    void FreePluginList();
    // Four lines per plug-in: name, version, vendor, comment; two for a file not loaded: its
    // name and the reason.
    [[nodiscard]] std::vector<std::string> ListPlugins(bool german = false) const;

    [[nodiscard]] const std::vector<PluginEntry>& Entries() const { return mEntries; }
    // Paths of the files past kMaxPlugins, left alone.
    [[nodiscard]] const std::vector<std::string>& BeyondLimit() const { return mBeyondLimit; }

private:
    void Load(PluginEntry& entry, const PluginStart& start);

    std::vector<PluginEntry> mEntries;
    std::vector<std::string> mBeyondLimit;
};

} // namespace kelvara
