// kvr.cfg reading, writing and placement; the language a setting chooses and the caption table.
#include "Settings.h"
#include "FaultySystem.h"
#include "LanguageTable.h"
#include "TempFolder.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include <unistd.h>

namespace kelvara {
namespace {

using namespace test;

Settings Read(const std::string& text) {
    Settings settings;
    settings.ReadText(text);
    return settings;
}

const std::string kDefaultFile =
    "fspath = \nasciidir = \nopendir = \naalines = 0\nnewsearch = 0\ndatatypes = 1\n"
    "showaircraft = 1\ndelimiter = 3\ndecimal = 1\n"
    "windowleft = -1\nwindowtop = -1\nwindowwidth = 0\nwindowheight = 0\n"
    "splitter1 = 340\nsplitter2 = 370\nsplitter3 = 238\nsplitter4 = 238\n"
    "splitter5 = 350\nsplitter6 = 260\nmoptions = 0\n"
    "color1 = 0\ncolor2 = 39578\ncolor3 = 65535\ncolor4 = 23039\ncolor5 = 12632256\n"
    "bgcolor = 16776960\ncolor6 = 130643\ncolor7 = 4227072\n";

TEST(Settings, MissingFileIsSavedWithTheDefaultsExactly) {
    TempFolder folder;
    Settings settings;
    settings.Load(folder.Path());
    EXPECT_EQ(settings.ConfigFolder(), folder.Path());
    EXPECT_FALSE(ReadText(folder.File("kvr.cfg")));
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadText(folder.File("kvr.cfg")), kDefaultFile);
    EXPECT_FALSE(ReadText(folder.File("kvr.cfg.new"))) << "no temporary file is left";
}

// Without a language line the language follows the locale's first set variable and is not
// written back, so that a later locale still counts; a line, or a choice in the dialog, fixes it.
TEST(Settings, LanguageFollowsTheLocaleUntilChosen) {
    // LC_ALL, LC_MESSAGES, LANG, kvr.cfg's line, the language, whether a line is written
    const std::tuple<const char*, const char*, const char*, const char*, int32_t, bool> cases[] = {
        {"", "", "de_DE.UTF-8", "", 'D', false},
        {"", "", "de_AT", "", 'D', false},
        {"", "", "en_GB.UTF-8", "", 'E', false},
        {"", "", "", "", 'E', false},
        {"C", "", "de_DE.UTF-8", "", 'E', false},
        {"", "de_CH.UTF-8", "en_US.UTF-8", "", 'D', false},
        {"", "", "dev", "", 'D', false},
        {"", "", "de_DE.UTF-8", "language = E\n", 'E', true},
        {"", "", "en_US.UTF-8", "language = D\n", 'D', true}};
    for (const auto& [all, messages, lang, line, language, written] : cases) {
        const auto set = [](const char* value) {
            return *value ? std::optional<std::string>(value) : std::nullopt;
        };
        const ScopedEnv a("LC_ALL", set(all)), m("LC_MESSAGES", set(messages)), l("LANG", set(lang));
        TempFolder folder;
        WriteFile(folder.File("kvr.cfg"), line);
        Settings settings;
        settings.Load(folder.Path());
        EXPECT_EQ(settings.language, language) << all << messages << lang << line;
        EXPECT_EQ(settings.SaveText().find("language = ") != std::string::npos, written) << lang;
    }
}

TEST(Settings, EveryKeyIsReadAndWrittenBackInOrder) {
    const std::string text =
        "fspath = C:\\Games\\FSX\nasciidir = C:\\export\\\nopendir = /home/pilot/air/\n"
        "searchpath = C:\\first\nsearchpathactive = 1\nsearchpath = C:\\second\n"
        "searchpathactive = 0\naalines = 1\nnewsearch = 1\ndatatypes = 0\nshowaircraft = 0\n"
        "language = D\ndelimiter = 2\ndecimal = 2\nwindowleft = 10\nwindowtop = 20\n"
        "windowwidth = 800\nwindowheight = 600\nsplitter1 = 1\nsplitter2 = 2\nsplitter3 = 3\n"
        "splitter4 = 4\nsplitter5 = 5\nsplitter6 = 6\nmoptions = 9\ncolor1 = 1\ncolor2 = 2\n"
        "color3 = 3\ncolor4 = 4\ncolor5 = 5\nbgcolor = 6\ncolor6 = 7\ncolor7 = -1\n";
    // debug is read but never written back, so it lasts one run.
    const Settings settings = Read("debug = 1\n" + text);
    EXPECT_EQ(std::pair(settings.debug, settings.colors[7]), std::pair(uint8_t{1}, 0xFFFFFFFFu));
    EXPECT_EQ(settings.SaveText(), text);
}

#define FIELD(expression) [](const Settings& s) -> int64_t { return s.expression; }

// Flags take only "1" (or "0" where the default is 1), language only a capital E as
// English, numbers as leading decimal digits.
TEST(Settings, ValueReadRules) {
    using Values = std::vector<std::pair<std::string, int64_t>>; // value read, field's value
    const std::tuple<const char*, int64_t (*)(const Settings&), Values> cases[] = {
        {"aalines", FIELD(aalines), {{"1", 1}, {"yes", 0}, {"2", 0}}},
        {"newsearch", FIELD(newsearch), {{"1", 1}, {"true", 0}}},
        {"debug", FIELD(debug), {{"01", 0}}},
        {"datatypes", FIELD(datatypes), {{"0", 0}, {"no", 1}, {"", 1}}},
        {"showaircraft", FIELD(showaircraft), {{"0", 0}, {"off", 1}}},
        {"language", FIELD(language), {{"E", 'E'}, {"e", 'D'}, {"X", 'D'}, {"", 'D'}, {"English", 'D'}}},
        {"language", FIELD(German()), {{"E", false}, {"e", true}}},
        {"windowleft", FIELD(windowleft),
         {{"-2", -2}, {"+7", 7}, {"0xFF", 0}, {"abc", 0}, {"42px", 42}, {" \t 5", 5}, {"- 3", 0},
          {"2147483648", INT32_MIN}}},
        {"color1", FIELD(colors[0]), {{"0xFF", 0}}},
        {"bgcolor", FIELD(colors[5]), {{"255", 255}}}};
    for (const auto& [key, field, values] : cases) {
        for (const auto& [value, expected] : values) {
            const std::string line = std::string(key) + " = " + value + "\n";
            EXPECT_EQ(field(Read(line)), expected) << line;
        }
    }
}

TEST(Settings, SearchPathPairingAndBound) {
    const std::pair<const char*, std::vector<std::pair<std::string, int>>> cases[] = {
        {"searchpath = a\nsearchpathactive = 1\nsearchpath = b\nsearchpathactive = 0\n",
         {{"a", 1}, {"b", 0}}},
        {"searchpathactive = 1\n", {{"", 1}}},
        {"searchpath = a\nsearchpathactive = 1\nsearchpathactive = no\n", {{"a", 1}, {"a", 1}}},
        {"searchpath = a\n", {}},
        {"searchpath = a\nsearchpathactive = 00\n", {{"a", 1}}}};
    for (const auto& [text, expected] : cases) {
        std::vector<std::pair<std::string, int>> got;
        for (const SearchPath& path : Read(text).searchPaths) {
            got.emplace_back(path.folder, path.active);
        }
        EXPECT_EQ(got, expected) << text;
    }
    // A long line of flags cannot make the list grow without end.
    std::string text = "searchpath = " + std::string(900, 'p') + "\n";
    for (int i = 0; i < 50000; ++i) {
        text += "searchpathactive=1\n";
    }
    EXPECT_EQ(Read(text).searchPaths.size(), Settings::kMaxSearchPaths);
}

TEST(Settings, LineShapes) {
    const std::pair<std::string, std::string> cases[] = {
        {"  fspath \t=\t C:\\My FSX  \r\n", "C:\\My FSX"},
        {"fspath=a=b\n", "a=b"},
        {"fspath = first\nfspath = last\n", "last"},
        {"Fspath = x\n", "old"},
        {"fspath C:\\FSX\n", "old"},
        {"fspath =\n", ""},
        {"fspath =", "old"}, // "=" ends a last line without line end
        {"fspath = x", "x"},
        {std::string("fspath = a\0b\n", 13), "a"},
        // Lines are read in pieces of 999 bytes; the tail is a line of its own.
        {"fspath = " + std::string(990, 'a') + "fspath = tail\n", "tail"}};
    for (const auto& [text, fspath] : cases) {
        Settings settings;
        settings.fspath = "old";
        settings.ReadText(text);
        EXPECT_EQ(settings.fspath, fspath) << text;
    }
}

TEST(Settings, LineBreakInsideAValueCannotInjectAKey) {
    Settings settings;
    settings.fspath = "C:\\FSX\ndebug = 1";
    const Settings back = Read(settings.SaveText());
    EXPECT_EQ(std::pair(back.fspath, back.debug), std::pair(std::string("C:\\FSX"), uint8_t{0}));
    // Found by fuzzing: a blank before a lone carriage return was written, then trimmed on reading.
    const Settings first = Read("fspath = c= \r2\r4\r\n");
    EXPECT_EQ(Read(first.SaveText()).SaveText(), first.SaveText());
}

// Saving what the file already holds touches nothing; any difference, even one of the same
// length or a file that only starts with the text, is written.
TEST(Settings, UnchangedFileIsNotWrittenAgain) {
    using Edit = std::string (*)(std::string);
    const struct {
        const char* name;
        Edit onDisk; // from the text the settings would write
        bool written;
    } cases[] = {
        {"same text", [](std::string t) { return t; }, false},
        {"same length, other text", [](std::string t) { return t.replace(t.find("new"), 3, "old"); }, true},
        {"longer file", [](std::string t) { return t + "extra = 1\n"; }, true},
        {"shorter file", [](std::string t) { return t.substr(0, t.size() - 1); }, true},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        Settings settings;
        settings.Load(folder.Path());
        settings.fspath = "new";
        const std::string onDisk = c.onDisk(settings.SaveText());
        WriteFile(folder.File("kvr.cfg"), onDisk);
        test::FaultySystem counting(test::Call::Any, 0);
        test::ScopedSaveSystem scoped(counting);
        EXPECT_TRUE(settings.Save()) << c.name;
        EXPECT_EQ(counting.Steps() > 0, c.written) << c.name;
        EXPECT_EQ(ReadText(folder.File("kvr.cfg")), settings.SaveText()) << c.name;
    }
}

// Any failing step of the save, or a kill before any step, leaves the old kvr.cfg whole.
TEST(Settings, FaultsAndKillsDuringSaveLeaveAWholeFile) {
    const std::string oldText = "fspath = old\n";
    const auto prepare = [&](TempFolder& folder) {
        WriteFile(folder.File("kvr.cfg"), oldText);
        Settings settings;
        settings.Load(folder.Path());
        settings.fspath = std::string(200, 'n'); // several write pieces
        return settings;
    };
    const std::vector<std::pair<Call, int>> faults = {{Call::Open, 1},  {Call::Write, 1}, {Call::Write, 3},
                                                      {Call::Fsync, 1}, {Call::Close, 1}, {Call::Rename, 1}};
    for (const auto& [call, occurrence] : faults) {
        TempFolder folder;
        Settings settings = prepare(folder);
        FaultySystem system(call, occurrence, ENOSPC);
        test::ScopedSaveSystem scoped(system);
        EXPECT_FALSE(settings.Save());
        EXPECT_EQ(ReadText(folder.File("kvr.cfg")), oldText);
        EXPECT_FALSE(ReadText(folder.File("kvr.cfg.new")));
    }

    TempFolder counted;
    Settings settings = prepare(counted);
    const int steps = test::CountSteps([&] { ASSERT_TRUE(settings.Save()); });
    const std::string newText = settings.SaveText();
    for (int step = 1; step <= steps; ++step) {
        TempFolder folder;
        Settings killed = prepare(folder);
        EXPECT_TRUE(test::KilledBefore(step, [&] { (void)killed.Save(); }));
        const auto text = ReadText(folder.File("kvr.cfg"));
        EXPECT_TRUE(text == oldText || text == newText) << "killed before step " << step;
    }
}

// Settings live beside the program unless it is installed or its folder is missing; then in
// $XDG_CONFIG_HOME/kelvara, or ~/.config/kelvara when that is not an absolute path.
TEST(Settings, ConfigFolderAndXdgFallback) {
    // program folder, installed, XDG_CONFIG_HOME (in the temporary folder, or as it stands when
    // relative), relative, the folder chosen
    const std::tuple<const char*, bool, const char*, bool, const char*> cases[] = {
        {"no/such/bin", false, "config", false, "config/kelvara"},
        {"no/such/bin", false, "relative/ignored", true, ".config/kelvara"},
        {"prefix/bin", true, "config", false, "config/kelvara"}};
    for (const auto& [programName, installed, xdgName, relative, expected] : cases) {
        TempFolder folder;
        const std::string program = installed ? folder.MakeFolder(programName) : folder.File(programName);
        const test::ScopedEnv home("HOME", folder.Path());
        const std::string xdgValue = relative ? std::string(xdgName) : folder.File(xdgName);
        const test::ScopedEnv xdg("XDG_CONFIG_HOME", xdgValue);
        Settings settings;
        settings.Load(program, installed);
        EXPECT_EQ(settings.ConfigPath(), folder.File(expected) + "/kvr.cfg");
        settings.fspath = xdgValue;
        ASSERT_TRUE(settings.Save());
        Settings next;
        next.Load(program, installed);
        EXPECT_EQ(next.fspath, xdgValue);
        EXPECT_FALSE(ReadText(program + "/kvr.cfg")) << "an installed program's folder stays clean";
    }
}

// A read-only program folder holding an old kvr.cfg: it is read, and saving goes to XDG.
TEST(Settings, ReadOnlyProgramFolderReadsOldFileAndSavesToXdg) {
    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0755);
    const std::string program = folder.MakeFolder("bin");
    const std::string config = folder.MakeFolder("config");
    ::chmod(config.c_str(), 0777);
    WriteFile(program + "/kvr.cfg", "fspath = C:\\Old\n");
    ::chmod(program.c_str(), 0555);
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", config);

    RunUnprivileged([&] {
        Settings settings;
        settings.Load(program);
        const bool read = settings.fspath == "C:\\Old" && settings.ConfigFolder() == config + "/kelvara";
        settings.fspath = "C:\\New";
        const bool saved = settings.Save();
        Settings next;
        next.Load(program);
        return read && saved && next.fspath == "C:\\New" &&
               ReadText(program + "/kvr.cfg") == "fspath = C:\\Old\n";
    });
}

// Only a capital E is English, except that the restart notice is German only for a D.
TEST(LanguageTable, LanguageRule) {
    const std::tuple<int32_t, bool, bool> cases[] = {
        {'E', false, false}, {'D', true, true}, {'e', true, false}, {0, true, false}};
    for (const auto& [language, german, germanRestartNotice] : cases) {
        EXPECT_EQ(UsesGerman(TextId::SaveComplete, language), german) << language;
        EXPECT_EQ(UsesGerman(TextId::RestartNotice, language), germanRestartNotice) << language;
    }
    Settings settings;
    settings.language = 'Q';
    EXPECT_EQ(Text(TextId::RestartNotice, settings), Text(TextId::RestartNotice, false));
    EXPECT_EQ(Text(TextId::CaptionWarning, settings), Text(TextId::CaptionWarning, true));
}

TEST(LanguageTable, EveryMessageExistsInBothLanguages) {
    for (int i = 0; i < kTextIdCount; ++i) {
        EXPECT_FALSE(Text(static_cast<TextId>(i), false).empty() || Text(static_cast<TextId>(i), true).empty()) << i;
    }
    EXPECT_TRUE(Text(static_cast<TextId>(kTextIdCount), true).empty());
}

} // namespace
} // namespace kelvara
