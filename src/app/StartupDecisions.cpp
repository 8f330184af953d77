// Start-up, shutdown and file-mode opening rules, free of any toolkit so they can be tested.
#include "StartupDecisions.h"

#include "ChangeTracker.h"
#include "DebugLog.h"
#include "LanguageTable.h"
#include "UserPrompts.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace kelvara {

namespace {

int ClampInt(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// One axis of the placement: stored position and size, or centred with the design size.
void PlaceAxis(int stored, int storedSize, int screenStart, int screenSize, int designSize,
               int minSize, int& start, int& size) {
    const bool centred = stored < 0;
    size = centred || storedSize <= 0 ? designSize : storedSize;
    const int room = std::max(screenSize, 1);
    size = ClampInt(size, std::min(minSize, room), room);
    start = centred ? screenStart + (screenSize - size) / 2 : stored;
    start = ClampInt(start, screenStart, screenStart + room - size);
}

// Whether path is folder or lies below it.
bool InsideFolder(std::string_view path, std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.remove_suffix(1);
    }
    return path.starts_with(folder) &&
           (path.size() == folder.size() || path[folder.size()] == '/' || folder == "/");
}

} // namespace

std::string StartFileFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string& first = arguments.front();
    const size_t air = first.find(".air");
    if (air != std::string::npos && air + 4 != first.size()) {
        return {};
    }
    return first;
}

StartupMode DecideStartupMode(const std::vector<std::string>& arguments, Settings& settings) {
    StartupMode mode;
    mode.startFile = StartFileFromArguments(arguments);
    if (!mode.startFile.empty()) {
        settings.showaircraft = 0;
    }
    mode.fileMode = settings.showaircraft == 0;
    return mode;
}

std::array<std::string, 2> DefaultSimulatorFolders(std::string_view home) {
    std::string prefix(home);
    if (!prefix.empty() && prefix.back() == '/') {
        prefix.pop_back();
    }
    prefix += "/.wine/drive_c/";
    const std::string rest = "/Microsoft Games/Microsoft Flight Simulator X";
    return {prefix + "Programme" + rest, prefix + "Program Files" + rest};
}

SimulatorFolderSource ResolveSimulatorFolder(Settings& settings, std::string_view home) {
    if (!settings.fspath.empty()) {
        return SimulatorFolderSource::FromSettings;
    }
    if (!home.empty()) {
        for (const std::string& folder : DefaultSimulatorFolders(home)) {
            std::error_code ignored;
            if (std::filesystem::is_directory(folder, ignored)) {
                settings.fspath = folder;
                return SimulatorFolderSource::FoundDefault;
            }
        }
    }
    return SimulatorFolderSource::AskUser;
}

bool RunScanLoop(const std::function<bool()>& scan, const std::function<bool()>& runConfiguration,
                 DebugLog& log) {
    while (!scan()) {
        log.WriteDebugPoint("main1");
        const bool confirmed = runConfiguration();
        log.WriteDebugPoint("main2");
        if (!confirmed) {
            log.WriteDebugPoint("main3");
            log.WriteDebugPoint("main4");
            return false;
        }
    }
    log.WriteDebugPoint("main5");
    return true;
}

WindowPlacement PlaceWindow(const Settings& settings, const ScreenRect& screen, int designWidth,
                            int designHeight) {
    WindowPlacement placement;
    PlaceAxis(settings.windowleft, settings.windowwidth, screen.left, screen.width, designWidth,
              kMinWindowWidth, placement.left, placement.width);
    PlaceAxis(settings.windowtop, settings.windowheight, screen.top, screen.height, designHeight,
              kMinWindowHeight, placement.top, placement.height);
    placement.maximised = settings.windowleft == -2;
    return placement;
}

PanelSizes PanelSizesFromSettings(const Settings& settings) {
    const auto size = [&](size_t index) {
        return ClampInt(settings.splitter[index], 0, kMaxPanelSize);
    };
    return {size(0), size(1), size(2), size(4), size(5)};
}

bool StoreWindowLayout(Settings& settings, const WindowLayout& layout, bool browserChangePending) {
    if (layout.maximised) {
        settings.windowleft = -2;
        settings.windowtop = -2;
    } else {
        settings.windowleft = layout.left;
        settings.windowtop = layout.top;
        settings.windowwidth = layout.width;
        settings.windowheight = layout.height;
    }
    if (browserChangePending) {
        settings.showaircraft = settings.showaircraft == 0 ? 1 : 0;
    }
    settings.splitter[0] = layout.panels.treeWidth;
    settings.splitter[1] = layout.panels.upperHeight;
    settings.splitter[2] = layout.panels.helpWidth;
    settings.splitter[4] = layout.panels.manufacturerWidth;
    settings.splitter[5] = layout.panels.perManufacturerWidth;
    return settings.Save();
}

int UpperAreaHeight(int upperHeight, int graphHeight, int windowHeight, bool resizing) {
    int upper = upperHeight;
    if (graphHeight < kMinGraphHeight) {
        upper -= kMinGraphHeight - graphHeight;
    }
    if (resizing && upper > windowHeight - kWindowMinusUpperMax) {
        upper = windowHeight - kWindowMinusUpperMax;
    }
    return std::max(upper, 0);
}

std::string WindowCaption(std::string_view subject, std::string_view marker) {
    // A desktop adds the program's name to a caption that does not already end with it.
    const std::string name = "Kelvara";
    if (subject.empty()) {
        return name + std::string(marker);
    }
    return std::string(subject) + std::string(marker) + " \u2014 " + name;
}

std::string GetManualText(int32_t language) {
    return std::string(Text(TextId::GetManualPrefix, language)) + kMakerWebAddress;
}

std::string AboutVersionLine() {
    // The program's own name; the stored version text keeps the name files were made with.
    return "Kelvara " + std::string(Settings::kVersion).substr(4) + " " + kMakerWebAddress;
}

ConfigurationValues CurrentConfiguration(const Settings& settings) {
    ConfigurationValues values;
    values.fspath = settings.fspath;
    values.aalines = settings.aalines;
    values.datatypes = settings.datatypes;
    values.showaircraft = settings.showaircraft;
    values.language = settings.language;
    values.delimiter = settings.delimiter;
    values.decimal = settings.decimal;
    values.colors = settings.colors;
    values.searchPaths = settings.searchPaths;
    return values;
}

bool RestartMessageDue(const Settings& settings, const ConfigurationValues& chosen) {
    return chosen.language != settings.language || chosen.datatypes != settings.datatypes ||
           chosen.showaircraft != settings.showaircraft;
}

ConfigurationOutcome ApplyConfiguration(Settings& settings, const ConfigurationValues& chosen,
                                        bool& browserChangePending) {
    ConfigurationOutcome outcome;
    settings.aalines = chosen.aalines;
    outcome.restartMessageDue = RestartMessageDue(settings, chosen);
    outcome.restartMessageGerman = UsesGerman(TextId::RestartNotice, settings.language);
    outcome.rescanDue = chosen.fspath != settings.fspath || chosen.searchPaths != settings.searchPaths;
    std::vector<SearchPath> paths = chosen.searchPaths;
    if (chosen.fspath != settings.fspath) {
        settings.newsearch = 1;
        if (!settings.fspath.empty()) {
            std::erase_if(paths, [&](const SearchPath& path) {
                return InsideFolder(path.folder, settings.fspath);
            });
        }
    }
    settings.fspath = chosen.fspath;
    settings.datatypes = chosen.datatypes;
    if (chosen.showaircraft != settings.showaircraft) {
        browserChangePending = true;
    }
    settings.language = chosen.language;
    // No choice, or one the dialog does not offer, is the first option.
    settings.delimiter = chosen.delimiter >= 1 && chosen.delimiter <= 3 ? chosen.delimiter : 1;
    settings.decimal = chosen.decimal == 2 ? 2 : 1;
    settings.colors = chosen.colors;
    settings.searchPaths = std::move(paths);
    settings.Save();
    return outcome;
}

std::string FolderOfPath(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string SaveQuestionText(std::string_view path, int32_t language) {
    return std::string(Text(TextId::ChangesSaveAirfile, language)) + "\n" + std::string(path);
}

OpenAirFileResult OpenAirFile(const std::string& path, Settings& settings,
                              const RecordDictionary& dictionary, const ReadOptions& options,
                              RecordTree& tree, ChangeTracker& changes, UserPrompts& prompts) {
    OpenAirFileResult result;
    settings.opendir = FolderOfPath(path);
    settings.Save();
    result.read = ReadAirFile(path, dictionary, options, tree);
    if (result.read.code != ReadResultCode::Ok) {
        std::string text = std::string(Text(TextId::CouldNotOpenAirFile, settings)) + "\n" + path;
        if (!result.read.message.empty()) {
            text += "\n" + result.read.message;
        }
        prompts.Error(std::string(Text(TextId::CaptionWarning, settings)), text);
        return result;
    }
    result.opened = true;
    changes.SetChanged(false);
    return result;
}

} // namespace kelvara
