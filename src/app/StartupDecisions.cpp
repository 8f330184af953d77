// Start-up, shutdown and file-mode opening rules, free of any toolkit so they can be tested.
#include "StartupDecisions.h"

#include "ChangeTracker.h"
#include "DebugLog.h"
#include "LanguageTable.h"
#include "PackageFolders.h"
#include "UserPrompts.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

StartupMode DecideStartupMode(const std::vector<std::string>& arguments,
                              const Settings& settings) {
    StartupMode mode;
    mode.startFile = StartFileFromArguments(arguments);
    mode.fileMode = !mode.startFile.empty() || settings.showaircraft == 0;
    return mode;
}

std::string FirstUnknownOption(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& known,
                               const std::vector<std::string>& takesValue) {
    const auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            break;
        }
        if (argument.size() < 2 || argument.front() != '-') {
            continue; // a file, or "-"
        }
        if (listed(takesValue, argument)) {
            ++i;
        } else if (!listed(known, argument)) {
            return argument;
        }
    }
    return {};
}

LookupEnvironment LookupEnvironmentFromProcess() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return {HomeFolder(), variable("WINEPREFIX"), variable("XDG_DATA_HOME")};
}

namespace {

bool IsAbsolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string Joined(std::string_view folder, std::string_view relative) {
    return (std::filesystem::path(folder) / relative).lexically_normal().string();
}

// Without "." and ".." parts and without a trailing "/".
std::string NormalFolder(std::string_view folder) {
    std::string normal = Joined(folder, ".");
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

void AddWinePrefix(std::vector<SimulatorPlace>& places, std::string_view prefix) {
    for (const char* programs : {"Programme", "Program Files", "Program Files (x86)"}) {
        places.push_back({Joined(prefix, std::string("drive_c/") + programs +
                                             "/Microsoft Games/Microsoft Flight Simulator X"),
                          "FSX"});
    }
}

std::string ReadSmallFile(const std::string& path) {
    constexpr size_t kMaxVdfBytes = 1u << 20;
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxVdfBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return text;
}

// The folder itself when it is a link (~/.steam/steam usually points at the real library), so
// that one library is searched once.
std::string SameFolderKey(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(folder, error);
    return error ? folder : real.string();
}

} // namespace

std::vector<std::string> SteamLibraryFolders(std::string_view vdf) {
    // Quoted tokens with backslash escapes; braces only nest.
    std::vector<std::string> tokens;
    std::vector<bool> followedByBrace;
    for (size_t i = 0; i < vdf.size(); ++i) {
        if (vdf[i] == '{' && !followedByBrace.empty()) {
            followedByBrace.back() = true;
        }
        if (vdf[i] != '"') {
            continue;
        }
        std::string token;
        for (++i; i < vdf.size() && vdf[i] != '"'; ++i) {
            if (vdf[i] == '\\' && i + 1 < vdf.size()) {
                ++i;
            }
            token += vdf[i];
        }
        if (i >= vdf.size()) {
            break; // cut off inside a quote: what it held is not a whole name
        }
        tokens.push_back(std::move(token));
        followedByBrace.push_back(false);
    }
    std::vector<std::string> folders;
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        const std::string& key = tokens[i];
        const bool numbered =
            !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
        if ((key == "path" || numbered) && !followedByBrace[i] && IsAbsolute(tokens[i + 1])) {
            folders.push_back(tokens[i + 1]);
            ++i;
        }
    }
    return folders;
}

std::vector<SimulatorPlace> SimulatorPlaces(const LookupEnvironment& environment) {
    std::vector<SimulatorPlace> places;
    std::vector<std::string> prefixes;
    const bool home = IsAbsolute(environment.home);
    if (IsAbsolute(environment.winePrefix)) {
        prefixes.push_back(NormalFolder(environment.winePrefix));
    }
    if (home) {
        const std::string wine = Joined(environment.home, ".wine");
        if (prefixes.empty() || SameFolderKey(prefixes.front()) != SameFolderKey(wine)) {
            prefixes.push_back(wine);
        }
    }
    for (const std::string& prefix : prefixes) {
        AddWinePrefix(places, prefix);
    }

    std::vector<std::string> roots;
    roots.push_back(IsAbsolute(environment.xdgDataHome)
                        ? Joined(environment.xdgDataHome, "Steam")
                        : (home ? Joined(environment.home, ".local/share/Steam") : std::string()));
    if (home) {
        roots.push_back(Joined(environment.home, ".steam/steam"));
        roots.push_back(Joined(environment.home, ".var/app/com.valvesoftware.Steam/.local/share/Steam"));
    }
    std::vector<std::string> libraries;
    std::vector<std::string> seen;
    const auto addLibrary = [&](const std::string& folder) {
        if (!IsAbsolute(folder)) {
            return;
        }
        const std::string key = SameFolderKey(folder);
        if (std::find(seen.begin(), seen.end(), key) == seen.end()) {
            seen.push_back(key);
            libraries.push_back(Joined(folder, "."));
        }
    };
    for (const std::string& root : roots) {
        addLibrary(root);
    }
    for (const std::string& root : roots) {
        if (root.empty()) {
            continue;
        }
        for (const char* vdf : {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"}) {
            for (const std::string& folder : SteamLibraryFolders(ReadSmallFile(Joined(root, vdf)))) {
                addLibrary(folder);
            }
        }
    }
    for (const std::string& library : libraries) {
        places.push_back({Joined(library, "steamapps/common/FSX"), "FSX"});
        AddWinePrefix(places, Joined(library, "steamapps/compatdata/314160/pfx"));
    }

    // The newer simulators after every FSX place, so that an FSX found first stays first.
    for (const std::string& library : libraries) {
        for (const char* game : {"1250410", "2537590"}) { // MSFS 2020, MSFS 2024
            prefixes.push_back(Joined(library, std::string("steamapps/compatdata/") + game + "/pfx"));
        }
    }
    for (const std::string& prefix : prefixes) {
        for (PrefixSimulator& simulator : SimulatorsInPrefix(prefix)) {
            places.push_back({std::move(simulator.folder), std::move(simulator.simulator)});
        }
        for (PrefixSimulator& settings : MsfsSettingsPlaces(prefix)) {
            places.push_back({std::move(settings.folder), std::move(settings.simulator), true});
        }
    }
    return places;
}

SimulatorLookup FindSimulators(const LookupEnvironment& environment) {
    SimulatorLookup lookup;
    lookup.searched = SimulatorPlaces(environment);
    std::vector<std::string> seen;
    for (const SimulatorPlace& place : lookup.searched) {
        std::error_code ignored;
        if (place.settingsFile || !std::filesystem::is_directory(place.folder, ignored)) {
            continue;
        }
        // One install reached twice (two settings files, a prefix linked to another) comes once.
        const std::string key = SameFolderKey(place.folder);
        if (std::find(seen.begin(), seen.end(), key) == seen.end()) {
            seen.push_back(key);
            lookup.found.push_back(place);
        }
    }
    return lookup;
}

SimulatorFolderSource ResolveSimulatorFolder(Settings& settings, const SimulatorLookup& lookup) {
    if (!settings.fspath.empty()) {
        return SimulatorFolderSource::FromSettings;
    }
    if (lookup.found.size() > 1) {
        return SimulatorFolderSource::PickFound;
    }
    return TakeFoundSimulator(settings, lookup, 0) ? SimulatorFolderSource::FoundDefault
                                                   : SimulatorFolderSource::AskUser;
}

bool TakeFoundSimulator(Settings& settings, const SimulatorLookup& lookup, size_t index) {
    if (index >= lookup.found.size()) {
        return false;
    }
    settings.fspath = lookup.found[index].folder;
    return true;
}

SampleFolders SampleSimulatorFolders(std::string_view programFolder,
                                     const LookupEnvironment& environment) {
    SampleFolders folders;
    const std::string data = DataFolder(programFolder);
    if (!data.empty()) {
        folders.bundled = Joined(data, "samples/FSX");
    }
    if (IsAbsolute(environment.xdgDataHome)) {
        folders.copy = Joined(environment.xdgDataHome, "kelvara/samples/FSX");
    } else if (IsAbsolute(environment.home)) {
        folders.copy = Joined(environment.home, ".local/share/kelvara/samples/FSX");
    }
    return folders;
}

std::string CopySamples(const SampleFolders& folders) {
    namespace fs = std::filesystem;
    if (folders.copy.empty()) {
        return "no home folder to copy the samples to";
    }
    std::error_code error;
    if (fs::exists(folders.copy, error)) {
        return {};
    }
    if (folders.bundled.empty() || !fs::is_directory(folders.bundled, error)) {
        return "the sample aircraft are not installed: " + folders.bundled;
    }
    // Copied beside the target and renamed into place, so that a failed copy leaves no half
    // folder that a later start would take for the user's own.
    const fs::path target(folders.copy);
    const fs::path partial = target.parent_path() / (target.filename().string() + ".partial");
    fs::remove_all(partial, error);
    fs::create_directories(target.parent_path(), error);
    if (!error) {
        fs::copy(folders.bundled, partial, fs::copy_options::recursive, error);
    }
    if (!error) {
        // The installed files are read-only; the copy is the user's to edit.
        for (auto it = fs::recursive_directory_iterator(partial, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            fs::permissions(it->path(), fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::add, error);
        }
    }
    if (!error) {
        fs::rename(partial, target, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        return "could not copy the sample aircraft to " + folders.copy + ": " + error.message();
    }
    return {};
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

std::string ManualPath(std::string_view programFolder) {
    const std::string data = DataFolder(programFolder);
    if (data.empty()) {
        return {};
    }
    const std::string manual = Joined(data, "manual.html");
    std::error_code ignored;
    return std::filesystem::is_regular_file(manual, ignored) ? manual : std::string();
}

std::string GetManualText(int32_t language, std::string_view manualPath) {
    return std::string(Text(TextId::GetManualPrefix, language)) + std::string(manualPath);
}

std::string AboutVersionLine() {
    // The program's own name; the stored version text keeps the name files were made with.
    return "Kelvara " + std::string(Settings::kVersion).substr(4);
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
    if (chosen.language != settings.language) {
        settings.languageFromLocale = false;
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
