// kvr.cfg reading, writing and placement.
#include "Settings.h"
#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <random>

namespace kelvara {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

Settings Read(const std::string& text) {
    Settings settings;
    settings.ReadText(text);
    return settings;
}

// Loads from a folder holding kvr.cfg with the given text.
Settings LoadWith(const TempFolder& folder, const std::string& text) {
    WriteFile(folder.File("kvr.cfg"), text);
    Settings settings;
    settings.Load(folder.Path());
    return settings;
}

// Root ignores permission bits; then the check runs in a child process as "nobody".
template <typename Check> void RunUnprivileged(const Check& check) {
    if (!test::PermissionsIgnored()) {
        EXPECT_TRUE(check());
        return;
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const gid_t nobody = 65534;
            const bool dropped =
                ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
            std::_Exit(dropped && check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

const std::string kDefaultFile = "fspath = \n"
                                 "asciidir = \n"
                                 "opendir = \n"
                                 "aalines = 0\n"
                                 "newsearch = 0\n"
                                 "datatypes = 1\n"
                                 "showaircraft = 1\n"
                                 "language = E\n"
                                 "delimiter = 3\n"
                                 "decimal = 1\n"
                                 "windowleft = -1\n"
                                 "windowtop = -1\n"
                                 "windowwidth = 0\n"
                                 "windowheight = 0\n"
                                 "splitter1 = 260\n"
                                 "splitter2 = 370\n"
                                 "splitter3 = 238\n"
                                 "splitter4 = 238\n"
                                 "splitter5 = 350\n"
                                 "splitter6 = 260\n"
                                 "moptions = 0\n"
                                 "color1 = 0\n"
                                 "color2 = 39578\n"
                                 "color3 = 65535\n"
                                 "color4 = 23039\n"
                                 "color5 = 12632256\n"
                                 "bgcolor = 16776960\n"
                                 "color6 = 130643\n"
                                 "color7 = 4227072\n";

TEST(Settings, DefaultsAreWrittenExactlyInKeyOrder) {
    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadFile(folder.File("kvr.cfg")), kDefaultFile);
    EXPECT_EQ(Read(kDefaultFile).SaveText(), kDefaultFile);
}

TEST(Settings, DebugIsReadButNeverWrittenBack) {
    TempFolder folder;
    Settings first = LoadWith(folder, "debug = 1\n");
    EXPECT_EQ(first.debug, 1);
    ASSERT_TRUE(first.Save());
    const std::string saved = ReadFile(folder.File("kvr.cfg")).value_or("");
    EXPECT_EQ(saved.find("debug"), std::string::npos);

    Settings next;
    next.Load(folder.Path());
    EXPECT_EQ(next.debug, 0);
}

struct FlagCase {
    const char* line;
    uint8_t Settings::*member;
    uint8_t expected;
};

TEST(Settings, FlagReadRules) {
    const FlagCase cases[] = {
        {"aalines = 1", &Settings::aalines, 1},
        {"aalines = yes", &Settings::aalines, 0},
        {"aalines = 2", &Settings::aalines, 0},
        {"newsearch = 1", &Settings::newsearch, 1},
        {"newsearch = true", &Settings::newsearch, 0},
        {"debug = 01", &Settings::debug, 0},
        {"datatypes = 0", &Settings::datatypes, 0},
        {"datatypes = no", &Settings::datatypes, 1},
        {"datatypes = ", &Settings::datatypes, 1},
        {"showaircraft = 0", &Settings::showaircraft, 0},
        {"showaircraft = off", &Settings::showaircraft, 1},
    };
    for (const FlagCase& c : cases) {
        const Settings settings = Read(std::string(c.line) + "\n");
        EXPECT_EQ(settings.*c.member, c.expected) << c.line;
    }
}

TEST(Settings, LanguageOnlyCapitalEIsEnglish) {
    const std::pair<const char*, bool> cases[] = {{"E", false}, {"e", true}, {"D", true},
                                                  {"X", true},  {"", true},  {"English", true}};
    for (const auto& [value, german] : cases) {
        const Settings settings = Read(std::string("language = ") + value + "\n");
        EXPECT_EQ(settings.German(), german) << value;
        EXPECT_EQ(settings.language, german ? 'D' : 'E') << value;
    }
}

TEST(Settings, IntegerReadRules) {
    const std::pair<const char*, int32_t> cases[] = {
        {"12", 12}, {"-2", -2},   {"+7", 7},     {"0xFF", 0}, {"abc", 0},
        {"", 0},    {"42px", 42}, {"  \t 5", 5}, {"- 3", 0},  {"2147483648", INT32_MIN},
    };
    for (const auto& [value, expected] : cases) {
        const Settings settings = Read(std::string("windowleft = ") + value + "\n");
        EXPECT_EQ(settings.windowleft, expected) << value;
    }
}

TEST(Settings, HexadecimalColourReadsAsZero) {
    const Settings settings = Read("color1 = 0xFF\nbgcolor = 255\n");
    EXPECT_EQ(settings.colors[0], 0u);
    EXPECT_EQ(settings.colors[5], 255u);
}

TEST(Settings, EveryKeyIsReadAndWrittenBack) {
    Settings original;
    original.fspath = "C:\\Games\\FSX";
    original.asciidir = "C:\\export\\";
    original.opendir = "/home/pilot/air/";
    original.searchPaths = {{"D:\\addons", 1}};
    original.aalines = 1;
    original.newsearch = 1;
    original.datatypes = 0;
    original.showaircraft = 0;
    original.language = 'D';
    original.delimiter = 2;
    original.decimal = 2;
    original.windowleft = 10;
    original.windowtop = 20;
    original.windowwidth = 800;
    original.windowheight = 600;
    original.splitter = {1, 2, 3, 4, 5, 6};
    original.moptions = 9;
    original.colors = {1, 2, 3, 4, 5, 6, 7, 0xFFFFFFFFu};
    const std::string text = original.SaveText();
    EXPECT_NE(text.find("color7 = -1\n"), std::string::npos);
    EXPECT_EQ(Read(text).SaveText(), text);
}

TEST(Settings, TwoSearchPathsTheSecondInactiveAreFourLines) {
    Settings settings;
    settings.searchPaths = {{"C:\\first", 1}, {"C:\\second", 0}};
    const std::string text = settings.SaveText();
    EXPECT_NE(text.find("opendir = \n"
                        "searchpath = C:\\first\n"
                        "searchpathactive = 1\n"
                        "searchpath = C:\\second\n"
                        "searchpathactive = 0\n"
                        "aalines = 0\n"),
              std::string::npos);
}

TEST(Settings, SearchPathPairing) {
    struct Case {
        const char* text;
        std::vector<std::pair<std::string, int>> expected;
    };
    const Case cases[] = {
        {"searchpath = a\nsearchpathactive = 1\nsearchpath = b\nsearchpathactive = 0\n",
         {{"a", 1}, {"b", 0}}},
        {"searchpathactive = 1\n", {{"", 1}}},
        {"searchpath = a\nsearchpathactive = 1\nsearchpathactive = no\n", {{"a", 1}, {"a", 1}}},
        {"searchpath = a\n", {}},
        {"searchpath = a\nsearchpathactive = 00\n", {{"a", 1}}},
        {"searchpath = a\nsearchpathactive = \n", {{"a", 1}}},
    };
    for (const Case& c : cases) {
        const Settings settings = Read(c.text);
        std::vector<std::pair<std::string, int>> got;
        for (const SearchPath& path : settings.searchPaths) {
            got.emplace_back(path.folder, path.active);
        }
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST(Settings, LineShapes) {
    struct Case {
        std::string text;
        std::string fspath;
    };
    const Case cases[] = {
        {"fspath=C:\\FSX\n", "C:\\FSX"},
        {"fspath = C:\\FSX\r\n", "C:\\FSX"},
        {"  fspath \t=\t C:\\My FSX  \n", "C:\\My FSX"},
        {"fspath = a=b\n", "a=b"},
        {"fspath = first\nfspath = last\n", "last"},
        {"Fspath = x\n", "old"},
        {"fspath C:\\FSX\n", "old"},
        {"fspath =\n", ""},
        {"fspath =", "old"}, // "=" ends a last line without line end
        {"fspath = x", "x"},
        {std::string("fspath = a\0b\nopendir = z\n", 25), "a"},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.fspath = "old";
        settings.ReadText(c.text);
        EXPECT_EQ(settings.fspath, c.fspath) << c.text;
    }
}

TEST(Settings, LongLinesAreReadInPiecesOf999) {
    // The tail of an overlong line is a line of its own and may hold a key.
    const std::string head = "fspath = " + std::string(990, 'a');
    ASSERT_EQ(head.size(), 999u);
    const Settings settings = Read(head + "asciidir = tail\n" + "opendir = x\n");
    EXPECT_EQ(settings.fspath, std::string(990, 'a'));
    EXPECT_EQ(settings.asciidir, "tail");
    EXPECT_EQ(settings.opendir, "x");

    const Settings exact = Read("fspath = " + std::string(989, 'b') + "\n" + "opendir = y\n");
    EXPECT_EQ(exact.fspath, std::string(989, 'b'));
    EXPECT_EQ(exact.opendir, "y");
}

TEST(Settings, LineBreakInsideAValueCannotInjectAKey) {
    Settings settings;
    settings.fspath = "C:\\FSX\ndebug = 1";
    const Settings back = Read(settings.SaveText());
    EXPECT_EQ(back.fspath, "C:\\FSX");
    EXPECT_EQ(back.debug, 0);
}

TEST(Settings, ColourComponents) {
    Settings settings;
    settings.colors[1] = 39578;       // red 154, green 154, blue 0
    settings.colors[7] = 0xABFF0080u; // the fourth byte is ignored
    settings.RefreshColorComponents();
    EXPECT_FLOAT_EQ(settings.colorComponents[1].red, 154.0f / 255);
    EXPECT_FLOAT_EQ(settings.colorComponents[1].green, 154.0f / 255);
    EXPECT_FLOAT_EQ(settings.colorComponents[1].blue, 0.0f);
    EXPECT_FLOAT_EQ(settings.colorComponents[7].red, 128.0f / 255);
    EXPECT_FLOAT_EQ(settings.colorComponents[7].green, 0.0f);
    EXPECT_FLOAT_EQ(settings.colorComponents[7].blue, 1.0f);

    TempFolder folder;
    const Settings loaded = LoadWith(folder, "color3 = 255\n");
    EXPECT_FLOAT_EQ(loaded.colorComponents[2].red, 1.0f);
    EXPECT_FLOAT_EQ(loaded.colorComponents[2].green, 0.0f);
}

TEST(Settings, HostileInputIsBounded) {
    std::string text = "searchpath = " + std::string(900, 'p') + "\n";
    for (int i = 0; i < 50000; ++i) {
        text += "searchpathactive=1\n";
    }
    EXPECT_EQ(Read(text).searchPaths.size(), Settings::kMaxSearchPaths);

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string noise(static_cast<size_t>(random() % 3000), '\0');
        for (char& c : noise) {
            const char alphabet[] = "=\n\r \t\0abcsearchpathactive0123456789-";
            c = alphabet[random() % (sizeof alphabet - 1)];
        }
        Settings settings;
        settings.ReadText(noise);
        (void)settings.SaveText();
    }
}

TEST(Settings, OversizedFileIsReadOnlyToTheLimit) {
    TempFolder folder;
    std::string text(Settings::kMaxFileBytes, '\n');
    text += "language = D\n";
    const Settings settings = LoadWith(folder, text);
    EXPECT_EQ(settings.language, 'E');
}

TEST(Settings, MissingFileKeepsDefaultsAndSaveCreatesIt) {
    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    EXPECT_EQ(settings.ConfigFolder(), folder.Path());
    EXPECT_EQ(settings.SaveText(), kDefaultFile);
    EXPECT_FALSE(ReadFile(folder.File("kvr.cfg")));
    ASSERT_TRUE(settings.Save());
    EXPECT_TRUE(ReadFile(folder.File("kvr.cfg")));
    EXPECT_FALSE(ReadFile(folder.File("kvr.cfg.new"))) << "no temporary file is left";
}

TEST(Settings, UnwritableFileIsSilentlyNotSaved) {
    Settings neverLoaded;
    EXPECT_FALSE(neverLoaded.Save());

    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0777);
    WriteFile(folder.File("kvr.cfg"), "fspath = old\n");
    ::chmod(folder.File("kvr.cfg").c_str(), 0444);
    RunUnprivileged([&] {
        Settings settings;
        settings.Load(folder.Path());
        settings.fspath = "new";
        return !settings.Save() && ReadFile(folder.File("kvr.cfg")) == "fspath = old\n";
    });
}

TEST(Settings, MissingProgramFolderFallsBackToXdgConfigHome) {
    TempFolder folder;
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", folder.File("config"));
    Settings settings;
    settings.Load(folder.File("no/such/bin"));
    EXPECT_EQ(settings.ConfigFolder(), folder.File("config/kelvara"));
    EXPECT_EQ(settings.ConfigPath(), folder.File("config/kelvara/kvr.cfg"));
    settings.fspath = "C:\\FSX";
    ASSERT_TRUE(settings.Save());

    Settings next;
    next.Load(folder.File("no/such/bin"));
    EXPECT_EQ(next.fspath, "C:\\FSX");
}

TEST(Settings, XdgDefaultIsDotConfigUnderHome) {
    TempFolder folder;
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", std::string("relative/ignored"));
    const test::ScopedEnv home("HOME", folder.Path());
    Settings settings;
    settings.Load(folder.File("missing"));
    EXPECT_EQ(settings.ConfigFolder(), folder.File(".config/kelvara"));
    EXPECT_TRUE(settings.Save());
}

// Read-only program folder holding an old kvr.cfg: it is read, and saving goes to the XDG
// folder.
TEST(Settings, ReadOnlyProgramFolderReadsOldFileAndSavesToXdg) {
    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0755);
    const std::string program = folder.MakeFolder("bin");
    const std::string config = folder.MakeFolder("config");
    ::chmod(config.c_str(), 0777);
    WriteFile(program + "/kvr.cfg", "fspath = C:\\Old\n");
    ::chmod(program.c_str(), 0555);
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", config);

    const auto check = [&] {
        Settings settings;
        settings.Load(program);
        const bool read =
            settings.fspath == "C:\\Old" && settings.ConfigFolder() == config + "/kelvara";
        settings.fspath = "C:\\New";
        const bool saved = settings.Save();
        Settings next;
        next.Load(program);
        return read && saved && next.fspath == "C:\\New" &&
               ReadFile(program + "/kvr.cfg") == "fspath = C:\\Old\n";
    };
    RunUnprivileged(check);
}

} // namespace
} // namespace kelvara
