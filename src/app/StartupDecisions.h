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
// A start file selects file mode and stores showaircraft = 0 for the exit's save.
StartupMode DecideStartupMode(const std::vector<std::string>& arguments, Settings& settings);

// ---- Simulator folder -------------------------------------------------------------------

// The Wine prefix's German install folder first, then the English one.
[[nodiscard]] std::array<std::string, 2> DefaultSimulatorFolders(std::string_view home);

enum class SimulatorFolderSource { FromSettings, FoundDefault, AskUser };
// When fspath is empty, takes the first default folder that exists. The caller saves the
// settings unless the source is FromSettings (after the dialog when it is AskUser).
SimulatorFolderSource ResolveSimulatorFolder(Settings& settings, std::string_view home);

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

inline constexpr const char* kMakerWebAddress = "https://example.org/kelvara";
inline constexpr const char* kSupportAddress = "kelvara-support@example.org";

// The window caption: the file or aircraft shown, then the program's name once. marker: where
// the window puts its unsaved mark, right after the subject.
[[nodiscard]] std::string WindowCaption(std::string_view subject, std::string_view marker);
[[nodiscard]] std::string GetManualText(int32_t language);
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
