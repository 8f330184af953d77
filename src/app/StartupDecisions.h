// What start-up, shutdown and file-mode opening decide, apart from any window: the mode, the
// simulator folder, where the window goes, what is remembered at exit, when a restart is due,
// and the steps of opening an ".air" file by name. The editor's windows call these.
#pragma once

#include "AirFileReader.h"
#include "DictionaryLocation.h"
#include "Settings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

class ChangeTracker;
class DebugLog;
class RecordDictionary;
class RecordTree;
class UserPrompts;

// ---- Mode -------------------------------------------------------------------------------

// arguments: the command line without the program name. The first one, unless it holds
// ".air" somewhere other than at its end ("b.air.bak"); empty when there is none.
[[nodiscard]] std::string StartFileFromArguments(const std::vector<std::string>& arguments);

struct StartupMode {
    std::string startFile;
    bool fileMode = false;
};
// A start file selects file mode for this run only; showaircraft changes only through the
// configuration dialog, so that one "Open with" does not turn every later start into file mode.
[[nodiscard]] StartupMode DecideStartupMode(const std::vector<std::string>& arguments,
                                            const Settings& settings);

// The first argument that looks like an option ("-x", "--x") but is none of known; empty when
// there is none. Arguments after a lone "--" are files. An option named in takesValue skips the
// argument after it.
[[nodiscard]] std::string FirstUnknownOption(const std::vector<std::string>& arguments,
                                             const std::vector<std::string>& known,
                                             const std::vector<std::string>& takesValue);

// ---- Simulator folder -------------------------------------------------------------------

// What the search for the simulator depends on, from the process environment in the program.
struct LookupEnvironment {
    std::string home;
    std::string winePrefix;  // $WINEPREFIX
    std::string xdgDataHome; // $XDG_DATA_HOME, where Steam keeps its default library
};
[[nodiscard]] LookupEnvironment LookupEnvironmentFromProcess();

// One folder where a simulator may be installed.
struct SimulatorPlace {
    std::string folder;
    std::string simulator;     // "FSX", "Prepar3D v5", "MSFS 2020": what the welcome lists
    bool settingsFile = false; // an MSFS UserCfg.opt pattern: named as searched, never taken
};

// Every place looked at, in this order: for $WINEPREFIX, then ~/.wine, the German, English and
// 64-bit program folders of drive_c; then for each Steam library (Steam's own folders, then the
// libraries its libraryfolders.vdf names) FSX Steam Edition and Proton's prefix for it, which is
// searched like a Wine prefix. After all FSX places, for $WINEPREFIX, ~/.wine and each library's
// Proton prefixes of MSFS 2020 and 2024: the Prepar3D v4-v6 default folders and the MSFS
// packages folders that the prefix's UserCfg.opt files name.
[[nodiscard]] std::vector<SimulatorPlace> SimulatorPlaces(const LookupEnvironment& environment);

// The library folders that Steam's libraryfolders.vdf text names ("path" entries, and the
// older form where a number names the folder directly), in file order.
[[nodiscard]] std::vector<std::string> SteamLibraryFolders(std::string_view vdf);

struct SimulatorLookup {
    std::vector<SimulatorPlace> searched;
    // The places that are folders, in search order; a folder reached twice comes once.
    std::vector<SimulatorPlace> found;
};
[[nodiscard]] SimulatorLookup FindSimulators(const LookupEnvironment& environment);

enum class SimulatorFolderSource { FromSettings, FoundDefault, PickFound, AskUser };
// When fspath is empty and exactly one simulator is found, takes it. Several found: PickFound,
// the welcome lists them and TakeFoundSimulator stores the one picked; none: AskUser, the
// welcome's other ways. The caller saves the settings after FoundDefault and a pick.
SimulatorFolderSource ResolveSimulatorFolder(Settings& settings, const SimulatorLookup& lookup);
// Stores the found simulator at index as fspath; false (nothing stored) when there is none.
bool TakeFoundSimulator(Settings& settings, const SimulatorLookup& lookup, size_t index);

// The bundled sample simulator folder and the user's writable copy of it.
struct SampleFolders {
    std::string bundled; // <data>/samples/FSX beside the program
    std::string copy;    // $XDG_DATA_HOME/kelvara/samples/FSX
};
[[nodiscard]] SampleFolders SampleSimulatorFolders(std::string_view programFolder,
                                                   const LookupEnvironment& environment);
// Copies the bundled samples to the copy's folder unless that exists already (a copy the user
// may have edited is never overwritten). Empty on success, else what went wrong.
[[nodiscard]] std::string CopySamples(const SampleFolders& folders);

// The scan loop of the first show: scan until it finds aircraft, asking for the folder after
// each empty scan. false: the user cancelled and the program quits.
bool RunScanLoop(const std::function<bool()>& scan, const std::function<bool()>& runConfiguration,
                 DebugLog& log);

// ---- Window -----------------------------------------------------------------------------

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};

inline constexpr int kMinWindowWidth = 320;
inline constexpr int kMinWindowHeight = 240;

// screen: the available area of the screen to place on; design: the window's built-in size.
// Negative left/top centre the window with the design size; -2 in windowleft also maximises.
// The result always lies on the screen and is no larger than it.
[[nodiscard]] WindowPlacement PlaceWindow(const Settings& settings, const ScreenRect& screen,
                                          int designWidth, int designHeight);

struct PanelSizes {
    int treeWidth = 0;            // splitter1
    int upperHeight = 0;          // splitter2
    int helpWidth = 0;            // splitter3
    int manufacturerWidth = 0;    // splitter5
    int perManufacturerWidth = 0; // splitter6
};
inline constexpr int kMaxPanelSize = 16384;
// Settings' splitter values, each kept within 0 .. kMaxPanelSize.
[[nodiscard]] PanelSizes PanelSizesFromSettings(const Settings& settings);

struct WindowLayout {
    bool maximised = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    PanelSizes panels;
};
// At exit: geometry (maximised stores -2, -2 and keeps the old size), the pending show-aircraft
// change, the five panel sizes; splitter4 and moptions stay. Then saves the settings.
bool StoreWindowLayout(Settings& settings, const WindowLayout& layout, bool browserChangePending);

inline constexpr int kMinGraphHeight = 100;
inline constexpr int kWindowMinusUpperMax = 150;
// Height of the upper record-page area after the graph-area rules: the graph keeps at least
// 100 pixels; on resize the upper area also stays within window height - 150. Never negative.
[[nodiscard]] int UpperAreaHeight(int upperHeight, int graphHeight, int windowHeight,
                                  bool resizing);

// ---- Texts of the main window -----------------------------------------------------------

// The window caption: the file or aircraft shown, then the program's name once. marker: where
// the window puts its unsaved mark, right after the subject.
[[nodiscard]] std::string WindowCaption(std::string_view subject, std::string_view marker);
// The user manual installed beside the program's data; empty when it is not there.
[[nodiscard]] std::string ManualPath(std::string_view programFolder);
[[nodiscard]] std::string GetManualText(int32_t language, std::string_view manualPath);
[[nodiscard]] std::string AboutVersionLine();

// ---- Configuration dialog results -------------------------------------------------------

struct ConfigurationValues {
    std::string fspath;
    uint8_t aalines = 0;
    uint8_t datatypes = 1;
    uint8_t showaircraft = 1;
    int32_t language = 'E';
    int32_t delimiter = 3;
    int32_t decimal = 1;
    std::array<uint32_t, 8> colors{};
    std::vector<SearchPath> searchPaths;
};
// The dialog's values as they stand in the settings, to fill the dialog.
[[nodiscard]] ConfigurationValues CurrentConfiguration(const Settings& settings);

// Due when language, data types or show-aircraft change: the texts, the record captions and
// the window's mode are made at start. A new folder or new search paths are read at once.
[[nodiscard]] bool RestartMessageDue(const Settings& settings, const ConfigurationValues& chosen);

struct ConfigurationOutcome {
    bool restartMessageDue = false;
    bool restartMessageGerman = false; // in the language in force before the dialog
    bool rescanDue = false;            // the folder or the search paths changed
};
// Takes back a confirmed dialog and saves. showaircraft itself stays for this run; a change
// sets browserChangePending, which StoreWindowLayout applies at exit. A new simulator folder
// drops the search paths inside the old one and asks the next scan to discover its own; the
// user's other paths stay with their flags.
ConfigurationOutcome ApplyConfiguration(Settings& settings, const ConfigurationValues& chosen,
                                        bool& browserChangePending);

// ---- Opening an ".air" file by name -----------------------------------------------------

// The path up to and including its last "/"; empty when it has none.
[[nodiscard]] std::string FolderOfPath(std::string_view path);

// The question before unsaved edits are left, naming the file.
[[nodiscard]] std::string SaveQuestionText(std::string_view path, int32_t language);

struct OpenAirFileResult {
    bool opened = false;
    ReadResult read;
};
// Remembers the folder as opendir and saves the settings (also when reading then fails),
// reads the file into tree, and on success clears the changed flag. A failure leaves the tree
// as it was and shows "could not open .air file", for a damaged file with the place of damage.
OpenAirFileResult OpenAirFile(const std::string& path, Settings& settings,
                              const RecordDictionary& dictionary, const ReadOptions& options,
                              RecordTree& tree, ChangeTracker& changes, UserPrompts& prompts);

} // namespace kelvara
