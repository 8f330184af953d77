// The user's preferences and remembered window layout, kept in kvr.cfg in the program's
// own folder (or the XDG config folder when that one is not writable).
#pragma once

#include "SearchPath.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct ColorComponents {
    float red = 0;
    float green = 0;
    float blue = 0;
};

// 'D' when the locale's language (LC_ALL, else LC_MESSAGES, else LANG) is German, else 'E'.
[[nodiscard]] int32_t LanguageOfLocale(std::string_view lcAll, std::string_view lcMessages,
                                       std::string_view lang);

class Settings {
  public:
    static constexpr const char* kVersion = "KVR V2.2";
    static constexpr const char* kFileName = "kvr.cfg";
    // A real kvr.cfg is a few kilobytes; more than this is not read.
    static constexpr size_t kMaxFileBytes = 1u << 20;
    // Guards against a file that repeats "searchpathactive" millions of times.
    static constexpr size_t kMaxSearchPaths = 1000;

    // Defaults only; Load reads kvr.cfg.
    Settings();

    // programFolder: the folder of the program file. Settings live there when it is writable,
    // otherwise in $XDG_CONFIG_HOME/kelvara (default ~/.config/kelvara). An installed program
    // always uses the latter, so that neither root nor a user's own prefix gets a kvr.cfg in bin/.
    void Load(const std::string& programFolder, bool installed = false);
    // kvr.cfg and the debug log in settingsFolder instead (created when missing), for runs that
    // must leave the user's own choices alone; KVR.ini is found as usual.
    void LoadWithSettingsFolder(const std::string& programFolder, const std::string& settingsFolder);
    // Rewrites the whole file; a file that cannot be written is silently not saved.
    // Returns false then, for callers that want to know.
    bool Save();
    void RefreshColorComponents();

    // The reading rules on text already in memory; Load applies them to the file.
    void ReadText(std::string_view text);
    // Exactly what Save writes.
    [[nodiscard]] std::string SaveText() const;

    [[nodiscard]] const std::string& ConfigPath() const { return mConfigPath; }
    [[nodiscard]] const std::string& ConfigFolder() const { return mConfigFolder; }
    [[nodiscard]] const std::string& ProgramFolder() const { return mProgramFolder; }

    std::string fspath;
    std::string asciidir;
    std::string opendir;
    std::vector<SearchPath> searchPaths;

    uint8_t aalines = 0;
    uint8_t datatypes = 1;
    uint8_t showaircraft = 1;
    uint8_t newsearch = 0;
    uint8_t debug = 0;
    int32_t language = 'E';
    // No language line was read: the language follows the system's locale and is not written,
    // until the configuration dialog sets one.
    bool languageFromLocale = true;

    static constexpr int32_t kDefaultTreeWidth = 340;
    int32_t windowleft = -1;
    int32_t windowtop = -1;
    int32_t windowwidth = 0;
    int32_t windowheight = 0;
    // splitter1..splitter6. The tree is wide enough for a caption such as
    // "316 (INT32) System value 0316, 2048" with its value.
    std::array<int32_t, 6> splitter{kDefaultTreeWidth, 370, 238, 238, 350, 260};
    int32_t moptions = 0;
    int32_t delimiter = 3;
    int32_t decimal = 1;

    // color1..color5, bgcolor, color6, color7 as 0x00BBGGRR.
    std::array<uint32_t, 8> colors{0, 39578, 65535, 23039, 12632256, 16776960, 130643, 4227072};
    std::array<ColorComponents, 8> colorComponents{};

    [[nodiscard]] bool German() const { return language != 'E'; }

  private:
    void ReadFile(const std::string& path);
    void ReadFileText(const std::string& path);
    void ApplyLine(std::string_view line, std::string& rememberedPath);
    std::string mProgramFolder;
    std::string mConfigFolder;
    std::string mConfigPath;
};

} // namespace kelvara
