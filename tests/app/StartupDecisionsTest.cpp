// Start-up, shutdown and open-by-name decisions; the folders searched for plug-ins (the
// program's own and the installed prefix's, never the current folder); the debug trace file
// (off, fresh per run, text as it stands, an unwritable one left alone). "Save aircraft":
// written only when changed, and the outcome reported in the user's language.
#include "StartupDecisions.h"
#include "ChangeTracker.h"
#include "DebugLog.h"
#include "FaultySystem.h"
#include "PluginFolders.h"
#include "SaveCurrentFile.h"
#include "ScriptedPrompts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <tuple>

#include <sys/stat.h>

namespace kelvara {
namespace {

using namespace test;

// A start file is the first argument unless it holds ".air" not at its end; it selects file
// mode for this run and leaves showaircraft as it was.
TEST(StartupDecisions, StartFileAndMode) {
    // arguments, showaircraft, start file, file mode
    const std::tuple<std::vector<std::string>, uint8_t, std::string, bool> cases[] = {
        {{}, 1, "", false},
        {{}, 0, "", true},
        {{"/home/pilot/c172.air"}, 1, "/home/pilot/c172.air", true},
        {{"b.air.bak"}, 1, "", false},
        {{"C:\\a\\b.air.old"}, 0, "", true},
        {{"a.air.air"}, 1, "", false},
        {{"B.AIR"}, 1, "B.AIR", true},
        {{".air"}, 1, ".air", true},
        {{"first.air", "second.air"}, 1, "first.air", true},
        {{"x.bak", "second.air"}, 1, "x.bak", true}};
    for (const auto& [arguments, showaircraft, startFile, fileMode] : cases) {
        Settings settings;
        settings.showaircraft = showaircraft;
        const StartupMode mode = DecideStartupMode(arguments, settings);
        EXPECT_EQ(std::tuple(mode.startFile, mode.fileMode, settings.showaircraft),
                  std::tuple(startFile, fileMode, showaircraft))
            << (arguments.empty() ? "(none)" : arguments.front());
    }
}

// A typo is refused rather than opened as a file named "--verison"; a value is never taken for
// an option, nor is anything after "--".
TEST(StartupDecisions, UnknownOptions) {
    const std::vector<std::string> known{"--overlay", "--help", "-h"};
    const std::vector<std::string> takesValue{"--select"};
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, ""},
        {{"plane.air", "--overlay"}, ""},
        {{"--verison"}, "--verison"},
        {{"plane.air", "-x"}, "-x"},
        {{"--select", "-1503", "a.air"}, ""},
        {{"--select"}, ""},
        {{"--", "--odd-name.air"}, ""},
        {{"-", "-h"}, ""},
        {{"--overlay=1"}, "--overlay=1"}};
    for (const auto& [arguments, unknown] : cases) {
        EXPECT_EQ(FirstUnknownOption(arguments, known, takesValue), unknown)
            << (arguments.empty() ? "(none)" : arguments.front());
    }
}

std::vector<std::string> Folders(const std::vector<SimulatorPlace>& places) {
    std::vector<std::string> folders;
    for (const SimulatorPlace& place : places) {
        folders.push_back(place.folder);
    }
    return folders;
}

// Steam's library list, in its current and its older form; junk and relative paths name nothing.
TEST(StartupDecisions, SteamLibraryFolders) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/p/.local/share/Steam\"\n"
         "\t\t\"apps\"\n\t\t{\n\t\t\t\"314160\"\t\t\"1234\"\n\t\t}\n\t}\n"
         "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/mnt/games/Steam Library\"\n\t}\n}\n",
         {"/home/p/.local/share/Steam", "/mnt/games/Steam Library"}},
        {"\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1600000000\"\n"
         "\t\"1\"\t\"/mnt/old\"\n}\n",
         {"/mnt/old"}},
        {"\"path\" \"/with \\\"quote\\\\\"", {"/with \"quote\\"}},
        {"\"path\" \"relative/lib\" \"path\"", {}},
        {"\"path\" \"/cut off", {}},
        {"", {}}};
    for (const auto& [vdf, folders] : cases) {
        EXPECT_EQ(SteamLibraryFolders(vdf), folders) << vdf;
    }
}

// A home with a Wine prefix, Steam's default library reached also through ~/.steam/steam, and a
// second library named in libraryfolders.vdf.
struct LookupTree {
    TempFolder home;
    const std::string fsx = "Microsoft Games/Microsoft Flight Simulator X";
    const std::string prefix = home.File("prefix/drive_c/");
    const std::string steam = home.File(".local/share/Steam/");
    const std::string library = home.File("games/");
    const std::string proton = library + "steamapps/compatdata/314160/pfx/drive_c/";
    const std::string msfs2020 = library + "steamapps/compatdata/1250410/pfx/";
    const std::string p3d = "Program Files/Lockheed Martin/Prepar3D v";
    const std::string roaming = "drive_c/users/steamuser/AppData/Roaming/Microsoft Flight Simulator/UserCfg.opt";
    LookupEnvironment environment{home.Path(), home.File("prefix"), ""};

    LookupTree() {
        std::filesystem::create_directories(home.File(".steam"));
        std::filesystem::create_directory_symlink(steam, home.File(".steam/steam"));
        home.Write(".local/share/Steam/steamapps/libraryfolders.vdf",
                   "\"libraryfolders\" { \"0\" { \"path\" \"" + home.File(".local/share/Steam") +
                       "\" } \"1\" { \"path\" \"" + home.File("games") + "\" } }");
    }
};

std::vector<std::string> Found(const SimulatorLookup& lookup) {
    std::vector<std::string> found;
    for (const SimulatorPlace& place : lookup.found) {
        found.push_back(place.simulator + " " + place.folder);
    }
    return found;
}

// The places are looked at in a fixed order: every FSX place first, then the newer simulators'
// places of the same Wine prefixes and of the MSFS Proton prefixes. A Steam library reached
// twice (through ~/.steam/steam) is searched once.
TEST(StartupDecisions, SimulatorPlacesInOrder) {
    const LookupTree t;
    const std::string& fsx = t.fsx;
    const std::vector<SimulatorPlace> places = SimulatorPlaces(t.environment);
    const std::vector<std::string> order = Folders(places);
    const std::vector<std::string> firstPlaces{
        t.prefix + "Programme/" + fsx, t.prefix + "Program Files/" + fsx,
        t.prefix + "Program Files (x86)/" + fsx, t.home.File(".wine/drive_c/Programme/") + fsx,
        t.home.File(".wine/drive_c/Program Files/") + fsx,
        t.home.File(".wine/drive_c/Program Files (x86)/") + fsx, t.steam + "steamapps/common/FSX"};
    ASSERT_GE(order.size(), firstPlaces.size());
    EXPECT_EQ(std::vector(order.begin(), order.begin() + 7), firstPlaces);
    EXPECT_EQ(std::count(order.begin(), order.end(), t.steam + "steamapps/common/FSX"), 1);

    const auto lastFsx = std::find_if(places.rbegin(), places.rend(),
                                      [](const SimulatorPlace& place) { return place.simulator == "FSX"; });
    ASSERT_NE(lastFsx, places.rend());
    EXPECT_EQ(lastFsx->folder, t.proton + "Program Files (x86)/" + fsx);
    const std::vector<SimulatorPlace> newer(lastFsx.base(), places.end());
    // Per prefix (two Wine prefixes, two of each of three libraries): the three Prepar3D
    // folders and the four UserCfg.opt places.
    ASSERT_EQ(newer.size(), (2 + 3 * 2) * 7);
    const std::string flatpak = t.home.File(".var/app/com.valvesoftware.Steam/.local/share/Steam/");
    const std::string msfs2024 = "steamapps/compatdata/2537590/pfx/drive_c/";
    const std::vector<std::string> prefixes{
        t.prefix, t.home.File(".wine/drive_c/"), t.steam + "steamapps/compatdata/1250410/pfx/drive_c/",
        t.steam + msfs2024, flatpak + "steamapps/compatdata/1250410/pfx/drive_c/", flatpak + msfs2024,
        t.msfs2020 + "drive_c/", t.library + msfs2024};
    for (size_t k = 0; k < prefixes.size(); ++k) {
        const size_t i = 7 * k;
        EXPECT_EQ(std::tie(newer[i].simulator, newer[i].folder),
                  std::tuple(std::string("Prepar3D v4"), prefixes[k] + t.p3d + "4"));
        EXPECT_EQ(std::make_tuple(newer[i + 3].simulator, newer[i + 3].settingsFile, newer[i + 2].settingsFile),
                  std::make_tuple(std::string("MSFS 2020"), true, false));
    }
    EXPECT_EQ(newer[3].folder, t.home.File("prefix/drive_c/users/*/AppData/Roaming/Microsoft Flight Simulator/UserCfg.opt"));

    // $WINEPREFIX set to ~/.wine itself is one prefix.
    const std::vector<std::string> same = Folders(SimulatorPlaces({t.home.Path(), t.home.File(".wine/"), ""}));
    EXPECT_EQ(std::count(same.begin(), same.end(), t.home.File(".wine/drive_c/Programme/") + fsx), 1);
}

// One simulator found is taken; several are listed for the user to pick from, each folder once
// however it was reached; none leads to the welcome's other ways.
TEST(StartupDecisions, SimulatorFolder) {
    // the folders made, the UserCfg.opt files written (path below home, its text), what is found
    struct Case {
        std::vector<std::string> made;
        std::vector<std::pair<std::string, std::string>> userCfgs;
        std::vector<std::pair<std::string, std::string>> found; // simulator, folder below home
    };
    const LookupTree names;
    const auto in = [&](const std::string& path) { return path.substr(names.home.Path().size() + 1); };
    const std::string fsx = names.fsx;
    const std::string steamFsx = in(names.library) + "steamapps/common/FSX";
    const std::string protonFsx = in(names.proton) + "Program Files/" + fsx;
    const std::string p3d5 = "prefix/drive_c/" + names.p3d + "5";
    const std::string msfsCfg = in(names.msfs2020) + names.roaming;
    const Case cases[] = {
        {{}, {}, {}},
        {{protonFsx}, {}, {{"FSX", protonFsx}}},
        {{protonFsx, steamFsx}, {}, {{"FSX", steamFsx}, {"FSX", protonFsx}}},
        {{p3d5}, {}, {{"Prepar3D v5", p3d5}}},
        // Letter case of the install folder does not matter.
        {{"prefix/drive_c/PROGRAM FILES/lockheed martin/PREPAR3D V6"}, {},
         {{"Prepar3D v6", "prefix/drive_c/PROGRAM FILES/lockheed martin/PREPAR3D V6"}}},
        // The packages folder named with spaces on D:, inside MSFS 2020's Proton prefix.
        {{p3d5, ".wine/drive_c/Programme/" + fsx, "d/MSFS Packages/Community"},
         {{msfsCfg, "InstalledPackagesPath \"D:\\MSFS Packages\"\r\n"}},
         {{"FSX", ".wine/drive_c/Programme/" + fsx}, {"Prepar3D v5", p3d5},
          {"MSFS 2020", in(names.msfs2020) + "dosdevices/d:/MSFS Packages"}}},
        // The Steam and the Store settings name one folder; a named folder that is missing is
        // no simulator.
        {{"prefix/drive_c/MSFS"},
         {{"prefix/" + names.roaming, "InstalledPackagesPath \"C:\\MSFS\""},
          {"prefix/drive_c/users/u/AppData/Local/Packages/Microsoft.FlightSimulator_8wekyb3d8bbwe/LocalCache/UserCfg.opt",
           "InstalledPackagesPath \"c:\\msfs\""},
          {"prefix/drive_c/users/u/AppData/Roaming/Microsoft Flight Simulator 2024/UserCfg.opt",
           "InstalledPackagesPath \"C:\\Gone\""}},
         {{"MSFS 2020", "prefix/drive_c/MSFS"}}},
    };
    for (const Case& c : cases) {
        const LookupTree t;
        for (const std::string& folder : c.made) {
            t.home.MakeFolder(folder);
        }
        std::filesystem::create_directories(t.msfs2020 + "dosdevices");
        std::filesystem::create_directory_symlink(t.home.File("d"), t.msfs2020 + "dosdevices/d:");
        for (const auto& [path, text] : c.userCfgs) {
            t.home.Write(path, text);
        }
        std::vector<std::string> wanted;
        for (const auto& [simulator, folder] : c.found) {
            wanted.push_back(simulator + " " + t.home.File(folder));
        }
        const SimulatorLookup lookup = FindSimulators(t.environment);
        EXPECT_EQ(Found(lookup), wanted) << (c.made.empty() ? "(none)" : c.made.front());
        Settings settings;
        const SimulatorFolderSource source = ResolveSimulatorFolder(settings, lookup);
        EXPECT_EQ(source, wanted.empty()       ? SimulatorFolderSource::AskUser
                          : wanted.size() == 1 ? SimulatorFolderSource::FoundDefault
                                               : SimulatorFolderSource::PickFound);
        EXPECT_EQ(settings.fspath, wanted.size() == 1 ? lookup.found.front().folder : "");
        if (wanted.size() > 1) {
            EXPECT_FALSE(TakeFoundSimulator(settings, lookup, wanted.size()));
            EXPECT_EQ(settings.fspath, "");
            EXPECT_TRUE(TakeFoundSimulator(settings, lookup, 1));
            EXPECT_EQ(settings.fspath, lookup.found[1].folder);
        }
    }

    // A file of the right name is no install, and a chosen folder is never replaced.
    TempFolder other;
    other.Write(".wine/drive_c/Programme/" + fsx, "");
    other.Write(".wine/drive_c/" + names.p3d + "4", "");
    Settings settings;
    EXPECT_EQ(ResolveSimulatorFolder(settings, FindSimulators({other.Path(), "", ""})),
              SimulatorFolderSource::AskUser);
    other.MakeFolder(".wine/drive_c/Program Files/" + fsx);
    settings.fspath = "/mnt/fsx";
    EXPECT_EQ(ResolveSimulatorFolder(settings, FindSimulators({other.Path(), "", ""})),
              SimulatorFolderSource::FromSettings);
    EXPECT_EQ(settings.fspath, "/mnt/fsx");
}

// The samples are copied once, writable; an existing copy (maybe edited) is kept as it is.
TEST(StartupDecisions, SampleCopy) {
    TempFolder folder;
    folder.Write("bundled/SimObjects/Airplanes/A/a.air", "bytes");
    ::chmod(folder.File("bundled/SimObjects/Airplanes/A/a.air").c_str(), 0444);
    const SampleFolders samples{folder.File("bundled"), folder.File("data/kelvara/samples/FSX")};
    const std::string copied = samples.copy + "/SimObjects/Airplanes/A/a.air";
    EXPECT_EQ(CopySamples(samples), "");
    EXPECT_EQ(ReadText(copied), "bytes");
    EXPECT_EQ(::access(copied.c_str(), W_OK), 0);
    WriteFile(copied, "edited");
    EXPECT_EQ(CopySamples(samples), "");
    EXPECT_EQ(ReadText(copied), "edited");
    EXPECT_NE(CopySamples({folder.File("missing"), folder.File("elsewhere")}), "");
    EXPECT_FALSE(std::filesystem::exists(folder.File("elsewhere")));

    const SampleFolders where = SampleSimulatorFolders("/opt/k/bin", {"/home/p", "", ""});
    EXPECT_EQ(where.copy, "/home/p/.local/share/kelvara/samples/FSX");
    EXPECT_EQ(SampleSimulatorFolders("/opt/k/bin", {"/home/p", "", "/x/data"}).copy,
              "/x/data/kelvara/samples/FSX");
}

TEST(StartupDecisions, ScanLoopDebugPoints) {
    // scan results, dialog answers, whether the start goes on, the debug points logged
    const std::tuple<std::vector<bool>, std::vector<bool>, bool, std::string> cases[] = {
        {{true}, {}, true, "main5\n"},
        {{false, false, true}, {true, true}, true, "main1\nmain2\nmain1\nmain2\nmain5\n"},
        {{false}, {false}, false, "main1\nmain2\nmain3\nmain4\n"}};
    for (const auto& [scans, answers, proceeds, logged] : cases) {
        TempFolder folder;
        DebugLog log(true, folder.Path());
        size_t scan = 0, dialog = 0;
        EXPECT_EQ(RunScanLoop([&, &scans = scans] { return scans.at(scan++); },
                              [&, &answers = answers] { return answers.at(dialog++); }, log),
                  proceeds);
        EXPECT_EQ(scan, scans.size());
        EXPECT_EQ(ReadText(folder.File("_debug.txt")), logged);
    }
}

// Stored left/top -1 (any negative) centres, -2/-2 maximises; windows are kept on screen.
TEST(StartupDecisions, WindowPlacement) {
    struct Case {
        const char* name;
        std::tuple<int, int, int, int> stored;
        ScreenRect screen;
        std::tuple<int, int, int, int, bool> expected;
    };
    const ScreenRect hd{0, 0, 1920, 1080};
    const Case cases[] = {
        {"centred", {-1, -1, 50, 50}, hd, {460, 240, 1000, 600, false}},
        {"maximised", {-2, -2, 700, 500}, hd, {460, 240, 1000, 600, true}},
        {"stored", {100, 50, 800, 600}, hd, {100, 50, 800, 600, false}},
        {"mixed", {100, -1, 800, 900}, hd, {100, 240, 800, 600, false}},
        {"second screen", {-1, -1, 0, 0}, {1920, 0, 1280, 1024}, {2060, 212, 1000, 600, false}},
        {"off screen", {5000, 900, 800, 600}, hd, {1120, 480, 800, 600, false}},
        {"any negative", {-7, -300, 800, 600}, hd, {460, 240, 1000, 600, false}},
        {"too large", {0, 0, 4000, 3000}, hd, {0, 0, 1920, 1080, false}},
        {"no size", {10, 10, 0, -5}, hd, {10, 10, 1000, 600, false}},
        {"tiny size", {10, 10, 3, 3}, hd, {10, 10, 320, 240, false}},
        {"empty screen", {-1, -1, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 1, false}}};
    for (const Case& c : cases) {
        Settings settings;
        std::tie(settings.windowleft, settings.windowtop, settings.windowwidth, settings.windowheight) =
            c.stored;
        const WindowPlacement got = PlaceWindow(settings, c.screen, 1000, 600);
        EXPECT_EQ(std::tuple(got.left, got.top, got.width, got.height, got.maximised), c.expected)
            << c.name;
    }
}

// The window tests store geometry; here what they cannot see: the pending browser switch
// and the two values that are never touched.
TEST(StartupDecisions, StoreWindowLayout) {
    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    settings.splitter[3] = 111;
    settings.moptions = 7;
    ASSERT_TRUE(StoreWindowLayout(settings, {false, 5, 6, 1024, 768, {300, 400, 200, 330, 250}}, true));
    Settings saved;
    saved.Load(folder.Path());
    EXPECT_EQ(std::tuple(saved.showaircraft, saved.splitter, saved.moptions),
              std::tuple(uint8_t{0}, std::array<int32_t, 6>{300, 400, 200, 111, 330, 250}, 7));
}

TEST(StartupDecisions, GraphAreaRules) {
    // upper area, graph, window height, resizing, the upper area's height
    const std::tuple<int, int, int, bool, int> cases[] = {
        {370, 200, 800, true, 370},  {370, 60, 800, false, 330}, {370, 60, 800, true, 330},
        {700, 150, 800, true, 650},  {700, 150, 800, false, 700}, {30, 0, 800, false, 0},
        {370, 200, 100, true, 0}};
    for (const auto& [upper, graph, window, resizing, expected] : cases) {
        EXPECT_EQ(UpperAreaHeight(upper, graph, window, resizing), expected)
            << upper << " " << graph << " " << window;
    }
}

// The restart notice is due when language, data types or the aircraft browser change (a new
// folder is read at once); the choices are saved at once, the browser switch only at exit.
TEST(StartupDecisions, ApplyConfiguration) {
    // old and new folder, language, data types, show aircraft, restart notice due
    const std::tuple<const char*, std::string, std::string, int32_t, uint8_t, uint8_t, bool> cases[] = {
        {"nothing changed", "/fsx", "/fsx", 'E', 1, 1, false},
        {"folder empty to set", "", "/fsx", 'E', 1, 1, false},
        {"folder to another", "/fsx", "/other", 'E', 1, 1, false},
        {"language", "/fsx", "/fsx", 'D', 1, 1, true},
        {"data types", "/fsx", "/fsx", 'E', 0, 1, true},
        {"show aircraft", "/fsx", "/fsx", 'E', 1, 0, true}};
    for (const auto& [name, oldFolder, newFolder, language, datatypes, showaircraft, due] : cases) {
        Settings settings;
        settings.fspath = oldFolder;
        ConfigurationValues chosen = CurrentConfiguration(settings);
        std::tie(chosen.fspath, chosen.language, chosen.datatypes, chosen.showaircraft) =
            std::tuple(newFolder, language, datatypes, showaircraft);
        EXPECT_EQ(RestartMessageDue(settings, chosen), due) << name;
    }

    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    settings.fspath = "/fsx/";
    // The simulator folder's own paths go with it; the user's stay with their flags.
    settings.searchPaths = {{"/fsx/SimObjects/Airplanes", 0}, {"/home/me/Planes", 0},
                            {"/fsx2/SimObjects/Boats", 1}, {"/fsx", 1}};
    ConfigurationValues chosen = CurrentConfiguration(settings);
    std::tie(chosen.fspath, chosen.language, chosen.showaircraft, chosen.delimiter) =
        std::tuple("/other", 'D', 0, 0);
    bool pending = false;
    const ConfigurationOutcome outcome = ApplyConfiguration(settings, chosen, pending);
    EXPECT_FALSE(outcome.restartMessageGerman) << "shown in the language before the dialog";
    EXPECT_TRUE(pending && outcome.rescanDue);
    EXPECT_EQ(settings.showaircraft, 1) << "applies only from the next start";
    Settings saved;
    saved.Load(folder.Path());
    EXPECT_EQ(std::tuple(saved.fspath, saved.newsearch, saved.language, saved.delimiter),
              std::tuple(std::string("/other"), 1, 'D', 1));
    EXPECT_EQ(saved.searchPaths,
              (std::vector<SearchPath>{{"/home/me/Planes", 0}, {"/fsx2/SimObjects/Boats", 1}}));

    // A changed flag alone is read again at once, and nothing needs a restart.
    chosen = CurrentConfiguration(settings);
    chosen.searchPaths[0].active = 1;
    const ConfigurationOutcome flag = ApplyConfiguration(settings, chosen, pending);
    EXPECT_TRUE(flag.rescanDue && !flag.restartMessageDue);
    EXPECT_EQ(settings.newsearch, 1) << "still due: no scan ran in between";
    EXPECT_FALSE(ApplyConfiguration(settings, CurrentConfiguration(settings), pending).rescanDue);
}

TEST(PluginFolders, ProgramFolderThenInstalledFolder) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"/usr/bin", {"/usr/bin", "/usr/lib/kelvara/plugins"}},
        {"/home/u/k/./bin/", {"/home/u/k/bin", "/home/u/k/lib/kelvara/plugins"}},
        {"", {}},
        {".", {}},
        {"bin", {}},
    };
    for (const auto& [programFolder, expected] : cases) {
        EXPECT_EQ(PluginFolders(programFolder), expected) << programFolder;
    }
}

TEST(DebugLog, EachRunStartsANewFileWithTheTextAsItStands) {
    TempFolder folder;
    WriteFile(folder.File("_debug.txt"), "left from before\n");
    DebugLog(false, folder.Path()).WriteDebugPoint("main1");
    EXPECT_EQ(ReadText(folder.File("_debug.txt")), "left from before\n") << "off touches nothing";

    const std::string texts[] = {"aircraftlist3 /sim/100%s %n %d folder", "", "tab\there",
                                 std::string("nul\0byte", 8)};
    for (int run = 0; run < 2; ++run) {
        DebugLog log(true, folder.Path() + "/");
        std::string expected;
        for (const std::string& text : texts) {
            log.WriteDebugPoint(text);
            expected += text + "\n";
        }
        EXPECT_EQ(ReadText(folder.File("_debug.txt")), expected);
    }
}

// A log that cannot be written is left exactly as it is, even in a writable folder: a folder
// in the file's place (which root cannot open either) or a write-protected file.
TEST(DebugLog, UnwritableLogIsLeftAlone) {
    for (const bool protectedFile : {false, true}) {
        TempFolder folder;
        const std::string path = folder.File("_debug.txt");
        protectedFile ? WriteFile(path, "kept\n") : (void)folder.MakeFolder("_debug.txt/inside");
        ::chmod(path.c_str(), protectedFile ? 0444 : 0755);
        struct stat before;
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        DebugLog log(true, folder.Path());
        log.WriteDebugPoint("main1");
        log.WriteDebugPoint("main2");
        struct stat after;
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << protectedFile;
        EXPECT_TRUE(protectedFile ? ReadText(path) == "kept\n"
                                  : std::filesystem::is_directory(path + "/inside"));
    }
}

using Shown = test::ScriptedPrompts::Shown;

RecordTree OneRecordTree() {
    RecordTree tree;
    auto node = std::make_unique<RecordNode>();
    node->record.number = 0x1001;
    node->record.lookupNumber = 0x1001;
    node->record.SetData({1, 2, 3});
    tree.AppendRoot(std::move(node));
    return tree;
}

// Failures name the file and leave it, and the changed flag, as they were.
TEST(SaveCurrentFile, OutcomeMessagesAndChangedFlag) {
    // changed, German, where it fails ("" nowhere, "target" or "backup" in a missing folder),
    // result, caption and text shown (the failures end in the file name)
    const std::tuple<bool, bool, std::string, int, std::vector<std::string>> cases[] = {
        {false, false, "", 0, {}},
        {true, false, "", 0, {"Info", "Save complete"}},
        {true, true, "", 0, {"Info", "Speichern beendet"}},
        {true, false, "target", -1, {"Error", "Could not open outputfile, .air is unchanged\n"}},
        {true, true, "target", -1,
         {"Fehler", "Ausgabedatei konnte nicht geöffnet werden, .air bleibt unverändert\n"}},
        {true, true, "backup", -3,
         {"Fehler", "Sicherungsdatei konnte nicht geschrieben werden, .air bleibt unverändert\n"}}};
    for (const auto& [changed, german, where, result, messages] : cases) {
        test::TempFolder folder;
        const std::string path = folder.File(where == "target" ? "missing/a.air" : "a.air");
        SaveNames names = SaveNamesForFile(path);
        if (where == "backup") {
            test::WriteFile(path, "old");
            names.backups[0] = folder.File("missing/a.kvr1.air");
        }
        ChangeTracker changes;
        changes.SetChanged(changed);
        test::ScriptedPrompts prompts;
        EXPECT_EQ(SaveCurrentFile(OneRecordTree(), names, changes, prompts, german), result);
        std::vector<std::string> shown;
        for (const Shown& message : prompts.shown) {
            shown.insert(shown.end(), {message.caption, message.text});
        }
        std::vector<std::string> expected = messages;
        if (result != 0) {
            expected[1] += path;
        }
        EXPECT_EQ(shown, expected) << where;
        EXPECT_EQ(changes.IsChanged(), result != 0) << "cleared only by a successful save";
        EXPECT_EQ(ReadText(path).has_value(), changed && where != "target");
        if (where == "backup") {
            EXPECT_EQ(ReadText(path), "old");
        }
    }
}

// A read-only file or folder is named in plain words, and Save As is offered where the caller
// has one; the old file stays as it was either way.
TEST(SaveCurrentFile, ReadOnlyOffersSaveAs) {
    // read-only "file" or "folder", German, Save As given, the answer, the message shown
    const std::tuple<std::string, bool, bool, bool, std::string> cases[] = {
        {"file", false, true, true, "ask|The file was not saved: it is read-only.\n%\nSave it under another name (Save As…)?"},
        {"file", false, true, false, "ask|The file was not saved: it is read-only.\n%\nSave it under another name (Save As…)?"},
        {"file", true, false, false, "error|Die Datei wurde nicht gespeichert: sie ist schreibgeschützt.\n%\nDie Datei bleibt unverändert."},
        {"folder", false, true, true, "ask|The file was not saved: its folder is read-only.\n%\nSave it under another name (Save As…)?"},
        {"folder", false, false, false, "error|The file was not saved: its folder is read-only.\n%\nThe file is unchanged."}};
    for (const auto& [what, german, offered, answer, message] : cases) {
        TempFolder folder;
        const std::string path = folder.File("a.air");
        WriteFile(path, "old");
        ::chmod((what == "file" ? path : folder.Path()).c_str(), what == "file" ? 0444 : 0555);
        // Root may create files in a read-only folder; the failed open stands in for the refusal.
        test::FaultySystem refusing(test::Call::Open, 1, EACCES);
        SetSaveSystem(what == "folder" ? &refusing : nullptr);
        ChangeTracker changes;
        changes.SetChanged(true);
        test::ScriptedPrompts prompts;
        prompts.answers = {answer};
        int savedAs = 0;
        const std::function<void()> saveAs = [&] { ++savedAs; };
        const int result = SaveCurrentFile(OneRecordTree(), SaveNamesForFile(path), changes, prompts,
                                           german, offered ? saveAs : std::function<void()>());
        SetSaveSystem(nullptr);
        std::string expected = message;
        expected.replace(expected.find('%'), 1, what == "file" ? path : folder.Path());
        ASSERT_EQ(prompts.shown.size(), 1u) << what;
        EXPECT_EQ(prompts.shown[0].kind + "|" + prompts.shown[0].text, expected);
        EXPECT_EQ(std::tuple(result, savedAs, changes.IsChanged(), ReadText(path)),
                  std::tuple(what == "file" ? -4 : -1, answer ? 1 : 0, true, std::optional<std::string>("old")));
    }
}

TEST(ChangeTracker, FileModeAndVariations) {
    ChangeTracker file;
    EXPECT_FALSE(file.IsChanged());
    file.SetChanged(true);
    EXPECT_EQ(std::pair(file.IsChanged(), file.AnyChanged()), std::pair(true, true));

    ChangeTracker library;
    library.SetLibraryMode(true);
    library.SetCurrent(3, 1);
    library.SetChanged(true);
    library.SetCurrent(3, 2);
    EXPECT_EQ(std::pair(library.IsChanged(), library.AnyChanged()), std::pair(false, false));
    // Another aircraft whose variation has the same number as a changed one.
    library.SetCurrent(7, 1);
    EXPECT_EQ(std::pair(library.IsChanged(), library.AnyChanged()), std::pair(false, true));
    library.SetCurrent(3, 1);
    library.SetChanged(false);
    EXPECT_FALSE(library.AnyChanged());
}

} // namespace
} // namespace kelvara
