// Start-up, shutdown and open-by-name decisions.
#include "StartupDecisions.h"
#include "AppTestSupport.h"
#include "ChangeTracker.h"
#include "DebugLog.h"
#include "RecordDictionary.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using Shown = test::ScriptedPrompts::Shown;

TEST(StartupDecisions, StartFileRule) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, ""},
        {{"/home/pilot/c172.air"}, "/home/pilot/c172.air"},
        {{"b.air.bak"}, ""},
        {{"C:\\a\\b.air.old"}, ""},
        {{"B.AIR"}, "B.AIR"},
        {{"notes.txt"}, "notes.txt"},
        {{"a.air.air"}, ""},
        {{".air"}, ".air"},
        {{""}, ""},
        {{"first.air", "second.air"}, "first.air"},
        {{"x.bak", "second.air"}, "x.bak"},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(StartFileFromArguments(arguments), expected)
            << (arguments.empty() ? "(none)" : arguments.front());
    }
}

TEST(StartupDecisions, ModeChoice) {
    struct Case {
        std::vector<std::string> arguments;
        uint8_t showaircraft;
        bool fileMode;
        uint8_t storedShowaircraft;
    };
    const Case cases[] = {
        {{}, 1, false, 1},
        {{}, 0, true, 0},
        {{"plane.air"}, 1, true, 0},
        {{"plane.air.old"}, 1, false, 1},
        {{"plane.air.old"}, 0, true, 0},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.showaircraft = c.showaircraft;
        const StartupMode mode = DecideStartupMode(c.arguments, settings);
        EXPECT_EQ(mode.fileMode, c.fileMode);
        EXPECT_EQ(settings.showaircraft, c.storedShowaircraft);
        EXPECT_EQ(settings.SaveText().find(c.storedShowaircraft
                                               ? "showaircraft = 1\n"
                                               : "showaircraft = 0\n") != std::string::npos,
                  true);
    }
}

TEST(StartupDecisions, DefaultSimulatorFolders) {
    TempFolder home;
    const auto folders = DefaultSimulatorFolders(home.Path() + "/");
    EXPECT_EQ(folders[0],
              home.Path() +
                  "/.wine/drive_c/Programme/Microsoft Games/Microsoft Flight Simulator X");
    EXPECT_EQ(folders[1],
              home.Path() +
                  "/.wine/drive_c/Program Files/Microsoft Games/Microsoft Flight Simulator X");

    Settings none;
    EXPECT_EQ(ResolveSimulatorFolder(none, home.Path()), SimulatorFolderSource::AskUser);
    EXPECT_EQ(none.fspath, "");
    Settings noHome;
    EXPECT_EQ(ResolveSimulatorFolder(noHome, ""), SimulatorFolderSource::AskUser);

    // A file of that name is not an installation.
    std::filesystem::create_directories(std::filesystem::path(folders[0]).parent_path());
    WriteFile(folders[0], "");
    std::filesystem::create_directories(folders[1]);
    Settings english;
    EXPECT_EQ(ResolveSimulatorFolder(english, home.Path()), SimulatorFolderSource::FoundDefault);
    EXPECT_EQ(english.fspath, folders[1]);

    std::filesystem::remove(folders[0]);
    std::filesystem::create_directories(folders[0]);
    Settings both;
    EXPECT_EQ(ResolveSimulatorFolder(both, home.Path()), SimulatorFolderSource::FoundDefault);
    EXPECT_EQ(both.fspath, folders[0]) << "the German folder wins";

    Settings known;
    known.fspath = "/mnt/fsx";
    EXPECT_EQ(ResolveSimulatorFolder(known, home.Path()), SimulatorFolderSource::FromSettings);
    EXPECT_EQ(known.fspath, "/mnt/fsx");
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
        {{false, true}, {true}, true, "main1\nmain2\nmain5\n"},
        {{false, false, true}, {true, true}, true, "main1\nmain2\nmain1\nmain2\nmain5\n"},
        {{false}, {false}, false, "main1\nmain2\nmain3\nmain4\n"},
    };
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

TEST(StartupDecisions, WindowPlacement) {
    struct Case {
        const char* name;
        int left, top, width, height;
        ScreenRect screen;
        WindowPlacement expected;
    };
    const ScreenRect hd{0, 0, 1920, 1080};
    const Case cases[] = {
        {"centred", -1, -1, 0, 0, hd, {460, 240, 1000, 600, false}},
        {"centred ignores stored size", -1, -1, 50, 50, hd, {460, 240, 1000, 600, false}},
        {"odd room rounds toward zero", -1, -1, 0, 0, {0, 0, 1001, 601}, {0, 0, 1000, 600, false}},
        {"maximised", -2, -2, 700, 500, hd, {460, 240, 1000, 600, true}},
        {"stored", 100, 50, 800, 600, hd, {100, 50, 800, 600, false}},
        {"mixed", 100, -1, 800, 900, hd, {100, 240, 800, 600, false}},
        {"second screen origin",
         -1,
         -1,
         0,
         0,
         {1920, 0, 1280, 1024},
         {2060, 212, 1000, 600, false}},
        {"off screen moves back", 5000, 900, 800, 600, hd, {1120, 480, 800, 600, false}},
        {"any negative centres", -7, -300, 800, 600, hd, {460, 240, 1000, 600, false}},
        {"larger than screen", 0, 0, 4000, 3000, hd, {0, 0, 1920, 1080, false}},
        {"no stored size", 10, 10, 0, -5, hd, {10, 10, 1000, 600, false}},
        {"tiny stored size", 10, 10, 3, 3, hd, {10, 10, 320, 240, false}},
        {"empty screen", -1, -1, 0, 0, {0, 0, 0, 0}, {0, 0, 1, 1, false}},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.windowleft = c.left;
        settings.windowtop = c.top;
        settings.windowwidth = c.width;
        settings.windowheight = c.height;
        const WindowPlacement got = PlaceWindow(settings, c.screen, 1000, 600);
        EXPECT_EQ(got.left, c.expected.left) << c.name;
        EXPECT_EQ(got.top, c.expected.top) << c.name;
        EXPECT_EQ(got.width, c.expected.width) << c.name;
        EXPECT_EQ(got.height, c.expected.height) << c.name;
        EXPECT_EQ(got.maximised, c.expected.maximised) << c.name;
    }
}

TEST(StartupDecisions, StoreWindowLayout) {
    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    settings.windowwidth = 640;
    settings.windowheight = 480;
    settings.splitter[3] = 111;
    settings.moptions = 7;
    const PanelSizes panels{300, 400, 200, 330, 250};

    ASSERT_TRUE(StoreWindowLayout(settings, {true, 5, 6, 1900, 1000, panels}, false));
    Settings saved;
    saved.Load(folder.Path());
    EXPECT_EQ(saved.windowleft, -2);
    EXPECT_EQ(saved.windowtop, -2);
    EXPECT_EQ(saved.windowwidth, 640);
    EXPECT_EQ(saved.windowheight, 480);
    EXPECT_EQ(saved.splitter, (std::array<int32_t, 6>{300, 400, 200, 111, 330, 250}));
    EXPECT_EQ(saved.moptions, 7);
    EXPECT_EQ(saved.showaircraft, 1);

    ASSERT_TRUE(StoreWindowLayout(settings, {false, 5, 6, 1024, 768, panels}, true));
    saved = Settings();
    saved.Load(folder.Path());
    EXPECT_EQ(saved.windowleft, 5);
    EXPECT_EQ(saved.windowtop, 6);
    EXPECT_EQ(saved.windowwidth, 1024);
    EXPECT_EQ(saved.windowheight, 768);
    EXPECT_EQ(saved.showaircraft, 0) << "the pending browser change takes effect at exit";
}

TEST(StartupDecisions, GraphAreaRules) {
    struct Case {
        int upper, graph, window;
        bool resizing;
        int expected;
    };
    const Case cases[] = {
        {370, 200, 800, true, 370}, {370, 60, 800, false, 330},  {370, 60, 800, true, 330},
        {700, 150, 800, true, 650}, {700, 150, 800, false, 700}, {30, 0, 800, false, 0},
        {370, 200, 100, true, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpperAreaHeight(c.upper, c.graph, c.window, c.resizing), c.expected)
            << c.upper << " " << c.graph << " " << c.window;
    }
}

TEST(StartupDecisions, RestartMessageRule) {
    struct Case {
        const char* name;
        std::string oldFolder;
        std::string newFolder;
        int32_t newLanguage;
        uint8_t newDatatypes;
        uint8_t newShowaircraft;
        bool due;
    };
    const Case cases[] = {
        {"nothing changed", "/fsx", "/fsx", 'E', 1, 1, false},
        {"folder empty to set", "", "/fsx", 'E', 1, 1, true},
        {"folder to another", "/fsx", "/other", 'E', 1, 1, false},
        {"folder cleared", "/fsx", "", 'E', 1, 1, false},
        {"language", "/fsx", "/fsx", 'D', 1, 1, true},
        {"data types", "/fsx", "/fsx", 'E', 0, 1, true},
        {"show aircraft", "/fsx", "/fsx", 'E', 1, 0, true},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.fspath = c.oldFolder;
        ConfigurationValues chosen = CurrentConfiguration(settings);
        chosen.fspath = c.newFolder;
        chosen.language = c.newLanguage;
        chosen.datatypes = c.newDatatypes;
        chosen.showaircraft = c.newShowaircraft;
        EXPECT_EQ(RestartMessageDue(settings, chosen), c.due) << c.name;
    }
}

TEST(StartupDecisions, ApplyConfiguration) {
    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    settings.fspath = "/fsx";
    ConfigurationValues chosen = CurrentConfiguration(settings);
    chosen.fspath = "/other";
    chosen.language = 'D';
    chosen.showaircraft = 0;
    chosen.aalines = 1;
    chosen.delimiter = 0;
    chosen.decimal = 2;
    chosen.searchPaths = {{"/addons", 0}};
    bool pending = false;

    const ConfigurationOutcome outcome = ApplyConfiguration(settings, chosen, pending);
    EXPECT_TRUE(outcome.restartMessageDue);
    EXPECT_FALSE(outcome.restartMessageGerman) << "shown in the language before the dialog";
    EXPECT_TRUE(pending);
    EXPECT_EQ(settings.showaircraft, 1) << "applies only from the next start";

    Settings saved;
    saved.Load(folder.Path());
    EXPECT_EQ(saved.fspath, "/other");
    EXPECT_EQ(saved.newsearch, 1);
    EXPECT_EQ(saved.language, 'D');
    EXPECT_EQ(saved.aalines, 1);
    EXPECT_EQ(saved.delimiter, 1);
    EXPECT_EQ(saved.decimal, 2);
    EXPECT_EQ(saved.showaircraft, 1);
    ASSERT_EQ(saved.searchPaths.size(), 1u);
    EXPECT_EQ(saved.searchPaths[0].active, 0);
}

TEST(StartupDecisions, FolderOfPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/pilot/c172.air", "/home/pilot/"},
        {"c172.air", ""},
        {"/c172.air", "/"},
        {"dir/", "dir/"},
        {"", ""},
    };
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    }
}

TEST(StartupDecisions, GoBackForSavingQuestion) {
    test::ScriptedPrompts prompts;
    EXPECT_FALSE(WantsToGoBackForSaving(false, prompts, 'E'));
    EXPECT_TRUE(prompts.shown.empty());

    prompts.answers = {true, false};
    EXPECT_TRUE(WantsToGoBackForSaving(true, prompts, 'E'));
    EXPECT_FALSE(WantsToGoBackForSaving(true, prompts, 'D'));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0],
              (Shown{"ask", "", "Changes made: Do you want to go back for saving?"}));
    EXPECT_EQ(prompts.shown[1].text.rfind("\xC3\x84nderungen vorhanden", 0), 0u);
}

std::string AirBytes(std::initializer_list<uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(StartupDecisions, OpenAirFile) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes; // none: the file does not exist
        int32_t language;
        bool opened;
        std::string message;
    };
    const std::string good = AirBytes({0x01, 0x10, 0, 0, 2, 0, 0, 0, 'a', 0});
    const std::string damaged = good + AirBytes({0x02, 0x10, 0, 0, 9, 0, 0, 0, 1});
    const Case cases[] = {
        {"good", good, 'E', true, ""},
        {"missing", std::nullopt, 'E', false, "could not open .air file"},
        {"missing German", std::nullopt, 'D', false,
         ".air Datei konnte nicht ge\xC3\xB6"
         "ffnet werden"},
        {"damaged", damaged, 'E', false, "could not open .air file\nrecord 0x1002 at byte 10"},
    };
    RecordDictionary dictionary;
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string program = folder.MakeFolder("bin");
        const std::string path = folder.File("air/plane.air");
        if (c.bytes) {
            folder.MakeFolder("air");
            WriteFile(path, *c.bytes);
        }
        Settings settings;
        settings.Load(program);
        settings.language = c.language;
        RecordTree tree;
        auto previous = std::make_unique<RecordNode>();
        previous->record.SetData({9});
        tree.AppendRoot(std::move(previous));
        ChangeTracker changes;
        changes.SetChanged(true);
        test::ScriptedPrompts prompts;

        const OpenAirFileResult result =
            OpenAirFile(path, settings, dictionary, ReadOptions{}, tree, changes, prompts);
        EXPECT_EQ(result.opened, c.opened) << c.name;
        EXPECT_NE(ReadFile(program + "/kvr.cfg")
                      .value_or("")
                      .find("opendir = " + folder.Path() + "/air/\n"),
                  std::string::npos)
            << c.name << ": the folder is remembered even when reading fails";
        if (c.opened) {
            EXPECT_TRUE(prompts.shown.empty()) << c.name;
            EXPECT_FALSE(changes.IsChanged()) << c.name;
            EXPECT_EQ(result.windowCaption, "Kelvara V2.2 - " + path);
            EXPECT_EQ(LibraryWindowCaption("C172"), "Kelvara V2.2   -   C172");
            ASSERT_EQ(tree.RootCount(), 1u);
            EXPECT_EQ(tree.Root(0)->record.number, 0x1001u);
        } else {
            ASSERT_EQ(prompts.shown.size(), 1u) << c.name;
            EXPECT_EQ(prompts.shown[0].caption, c.language == 'E' ? "Warning" : "Warnung");
            EXPECT_EQ(prompts.shown[0].text.rfind(c.message, 0), 0u) << prompts.shown[0].text;
            EXPECT_TRUE(changes.IsChanged()) << c.name;
            ASSERT_EQ(tree.RootCount(), 1u) << c.name << ": the old tree stays";
            EXPECT_EQ(tree.Root(0)->record.data, std::vector<uint8_t>{9});
        }
    }
}

} // namespace
} // namespace kelvara
