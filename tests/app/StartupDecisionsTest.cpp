// Start-up, shutdown and open-by-name decisions.
#include "StartupDecisions.h"
#include "AppTestSupport.h"
#include "DebugLog.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvara {
namespace {

// A start file is the first argument unless it holds ".air" not at its end; a start file
// switches the aircraft browser off for good.
TEST(StartupDecisions, StartFileAndMode) {
    struct Case {
        std::vector<std::string> arguments;
        uint8_t showaircraft;
        std::string startFile;
        bool fileMode;
    };
    const Case cases[] = {{{}, 1, "", false},
                          {{}, 0, "", true},
                          {{"/home/pilot/c172.air"}, 1, "/home/pilot/c172.air", true},
                          {{"b.air.bak"}, 1, "", false},
                          {{"C:\\a\\b.air.old"}, 0, "", true},
                          {{"a.air.air"}, 1, "", false},
                          {{"B.AIR"}, 1, "B.AIR", true},
                          {{".air"}, 1, ".air", true},
                          {{"first.air", "second.air"}, 1, "first.air", true},
                          {{"x.bak", "second.air"}, 1, "x.bak", true}};
    for (const Case& c : cases) {
        Settings settings;
        settings.showaircraft = c.showaircraft;
        const StartupMode mode = DecideStartupMode(c.arguments, settings);
        const std::string name = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(mode.startFile, c.startFile) << name;
        EXPECT_EQ(mode.fileMode, c.fileMode) << name;
        EXPECT_EQ(settings.showaircraft, c.fileMode ? 0 : 1) << name;
    }
}

// No fspath: the German install folder wins over the English one, a file is no install.
TEST(StartupDecisions, SimulatorFolder) {
    TempFolder home;
    const auto folders = DefaultSimulatorFolders(home.Path() + "/");
    const auto resolve = [&](const std::string& fspath, const std::string& homePath) {
        Settings settings;
        settings.fspath = fspath;
        const SimulatorFolderSource source = ResolveSimulatorFolder(settings, homePath);
        return std::pair(source, settings.fspath);
    };
    using enum SimulatorFolderSource;
    EXPECT_EQ(resolve("", home.Path()), std::pair(AskUser, std::string()));
    EXPECT_EQ(resolve("", ""), std::pair(AskUser, std::string()));
    std::filesystem::create_directories(std::filesystem::path(folders[0]).parent_path());
    WriteFile(folders[0], "");
    std::filesystem::create_directories(folders[1]);
    EXPECT_EQ(resolve("", home.Path()), std::pair(FoundDefault, folders[1]));
    std::filesystem::remove(folders[0]);
    std::filesystem::create_directories(folders[0]);
    EXPECT_EQ(resolve("", home.Path()), std::pair(FoundDefault, folders[0]));
    EXPECT_EQ(resolve("/mnt/fsx", home.Path()), std::pair(FromSettings, std::string("/mnt/fsx")));
}

TEST(StartupDecisions, ScanLoopDebugPoints) {
    struct Case {
        std::vector<bool> scans;
        std::vector<bool> dialogAnswers;
        bool proceeds;
        std::string log;
    };
    const Case cases[] = {
        {{true}, {}, true, "main5\n"},
        {{false, false, true}, {true, true}, true, "main1\nmain2\nmain1\nmain2\nmain5\n"},
        {{false}, {false}, false, "main1\nmain2\nmain3\nmain4\n"}};
    for (const Case& c : cases) {
        TempFolder folder;
        DebugLog log(true, folder.Path());
        size_t scan = 0;
        size_t dialog = 0;
        const bool proceeds = RunScanLoop([&] { return c.scans.at(scan++); },
                                          [&] { return c.dialogAnswers.at(dialog++); }, log);
        EXPECT_EQ(proceeds, c.proceeds);
        EXPECT_EQ(scan, c.scans.size());
        EXPECT_EQ(ReadFile(folder.File("_debug.txt")), c.log);
    }
}

// Stored left/top -1 (any negative) centres, -2/-2 maximises; windows are kept on screen.
TEST(StartupDecisions, WindowPlacement) {
    struct Case {
        const char* name;
        int left, top, width, height;
        ScreenRect screen;
        std::tuple<int, int, int, int, bool> expected;
    };
    const ScreenRect hd{0, 0, 1920, 1080};
    const Case cases[] = {
        {"centred", -1, -1, 50, 50, hd, {460, 240, 1000, 600, false}},
        {"maximised", -2, -2, 700, 500, hd, {460, 240, 1000, 600, true}},
        {"stored", 100, 50, 800, 600, hd, {100, 50, 800, 600, false}},
        {"mixed", 100, -1, 800, 900, hd, {100, 240, 800, 600, false}},
        {"second screen", -1, -1, 0, 0, {1920, 0, 1280, 1024}, {2060, 212, 1000, 600, false}},
        {"off screen", 5000, 900, 800, 600, hd, {1120, 480, 800, 600, false}},
        {"any negative", -7, -300, 800, 600, hd, {460, 240, 1000, 600, false}},
        {"too large", 0, 0, 4000, 3000, hd, {0, 0, 1920, 1080, false}},
        {"no size", 10, 10, 0, -5, hd, {10, 10, 1000, 600, false}},
        {"tiny size", 10, 10, 3, 3, hd, {10, 10, 320, 240, false}},
        {"empty screen", -1, -1, 0, 0, {0, 0, 0, 0}, {0, 0, 1, 1, false}}};
    for (const Case& c : cases) {
        Settings settings;
        settings.windowleft = c.left;
        settings.windowtop = c.top;
        settings.windowwidth = c.width;
        settings.windowheight = c.height;
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
    EXPECT_EQ(saved.showaircraft, 0);
    EXPECT_EQ(saved.splitter, (std::array<int32_t, 6>{300, 400, 200, 111, 330, 250}));
    EXPECT_EQ(saved.moptions, 7);
}

TEST(StartupDecisions, GraphAreaRules) {
    struct Case {
        int upper, graph, window;
        bool resizing;
        int expected;
    };
    const Case cases[] = {{370, 200, 800, true, 370},  {370, 60, 800, false, 330},
                          {370, 60, 800, true, 330},   {700, 150, 800, true, 650},
                          {700, 150, 800, false, 700}, {30, 0, 800, false, 0},
                          {370, 200, 100, true, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(UpperAreaHeight(c.upper, c.graph, c.window, c.resizing), c.expected)
            << c.upper << " " << c.graph << " " << c.window;
    }
}

// The restart notice is due when the folder is first set or language, data types or the
// aircraft browser change; the choices are saved at once, the browser switch only at exit.
TEST(StartupDecisions, ApplyConfiguration) {
    struct Case {
        const char* name;
        std::string oldFolder, newFolder;
        int32_t language;
        uint8_t datatypes, showaircraft;
        bool due;
    };
    const Case cases[] = {{"nothing changed", "/fsx", "/fsx", 'E', 1, 1, false},
                          {"folder empty to set", "", "/fsx", 'E', 1, 1, true},
                          {"folder to another", "/fsx", "/other", 'E', 1, 1, false},
                          {"language", "/fsx", "/fsx", 'D', 1, 1, true},
                          {"data types", "/fsx", "/fsx", 'E', 0, 1, true},
                          {"show aircraft", "/fsx", "/fsx", 'E', 1, 0, true}};
    for (const Case& c : cases) {
        Settings settings;
        settings.fspath = c.oldFolder;
        ConfigurationValues chosen = CurrentConfiguration(settings);
        chosen.fspath = c.newFolder;
        chosen.language = c.language;
        chosen.datatypes = c.datatypes;
        chosen.showaircraft = c.showaircraft;
        EXPECT_EQ(RestartMessageDue(settings, chosen), c.due) << c.name;
    }

    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    settings.fspath = "/fsx";
    ConfigurationValues chosen = CurrentConfiguration(settings);
    chosen.fspath = "/other";
    chosen.language = 'D';
    chosen.showaircraft = 0;
    chosen.delimiter = 0;
    bool pending = false;
    const ConfigurationOutcome outcome = ApplyConfiguration(settings, chosen, pending);
    EXPECT_FALSE(outcome.restartMessageGerman) << "shown in the language before the dialog";
    EXPECT_TRUE(pending);
    EXPECT_EQ(settings.showaircraft, 1) << "applies only from the next start";
    Settings saved;
    saved.Load(folder.Path());
    EXPECT_EQ(std::tuple(saved.fspath, saved.newsearch, saved.language, saved.delimiter),
              std::tuple(std::string("/other"), 1, 'D', 1));
}

} // namespace
} // namespace kelvara
