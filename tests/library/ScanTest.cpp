// The scan over folder trees built by the tests: discovery, search paths, configuration files,
// and trees that are large or hostile; sim paths, quotes and the section rules of one
// configuration text; names matched without regard to letter case on a file system that tells
// case apart.
#include "AircraftConfig.h"
#include "BrowserLists.h"
#include "FolderNames.h"
#include "Scan.h"
#include "TempFolder.h"
#include "Thumbnail.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace kelvara;
using namespace kelvara::test;

namespace {

// One [fltsim.N] section.
std::string Section(int n, const std::string& title, const std::string& sim, const std::string& extra = {}) {
    std::string text = "[fltsim." + std::to_string(n) + "]\r\n";
    if (!title.empty()) {
        text += "title=" + title + "\r\n";
    }
    if (!sim.empty()) {
        text += "sim=" + sim + "\r\n";
    }
    return text + extra;
}

struct ScanOutcome {
    int result = 0;
    std::vector<AircraftLine> lines; // sorted
    AircraftLibrary library;
    std::vector<std::string> problems;
};

ScanOutcome RunScan(ScanFolders& folders) {
    ScanOutcome out;
    ScanHooks hooks;
    hooks.addLine = CollectLines(out.lines);
    hooks.problem = [&](std::string_view text) { out.problems.emplace_back(text); };
    out.result = Scan(folders, out.library, hooks);
    SortAircraftLines(out.lines);
    return out;
}

std::vector<std::string> Texts(const ScanOutcome& out) {
    std::vector<std::string> texts;
    for (const AircraftLine& line : out.lines) {
        texts.push_back(line.text);
    }
    return texts;
}

std::string SimOf(const ScanOutcome& out, size_t line) {
    return out.library.Find(out.lines.at(line).code)->sim;
}

} // namespace

TEST(Scan, DiscoversContainersTwoLevelsDownIncludingSimCfgBoats) {
    TempFolder tree;
    tree.Write("SimObjects/Airplanes/C172/aircraft.cfg", Section(0, "Cessna", "c172", "ui_variation=Red\r\n"));
    tree.Write("SimObjects/Boats/Ferry/sim.cfg", Section(0, "Ferry", "ferry"));
    tree.Write("Aircraft/Shallow/aircraft.cfg", Section(0, "Too shallow", "x")); // two levels only
    tree.Write("SimObjects/Empty/Nothing/readme.txt", "no configuration");
    ScanFolders folders{tree.Path(), {}, 0};
    const ScanOutcome out = RunScan(folders);
    ASSERT_EQ(out.result, ScanResultCode::Ok);
    EXPECT_EQ(Texts(out), (std::vector<std::string>{"Cessna - Red", "Ferry - "}));
    ASSERT_EQ(folders.searchPaths.size(), 2u);
    const std::vector<SearchPath>& paths = folders.searchPaths;
    EXPECT_EQ(std::tie(paths[0].folder, paths[0].active, paths[1].folder, paths[1].active),
              std::tuple(tree.File("SimObjects/Airplanes"), 1, tree.File("SimObjects/Boats"), 1));
    EXPECT_EQ(SimOf(out, 0), tree.File("SimObjects/Airplanes/C172/c172"));
}

TEST(Scan, SearchPathsInListOrderAndNewsearchRediscovers) {
    TempFolder tree;
    tree.Write("A/One/aircraft.cfg", Section(0, "One", "one"));
    tree.Write("B/Two/aircraft.cfg", Section(0, "Two", "two"));
    tree.Write("Sim/Objects/Planes/Three/aircraft.cfg", Section(0, "Three", "three"));
    ScanFolders folders{tree.File("Sim"), {{tree.File("B"), 1}, {tree.File("A"), 0}, {tree.File("B"), 1}}, 0};
    ScanOutcome out = RunScan(folders);
    // Inactive paths are skipped; a path listed twice lists its aircraft twice.
    EXPECT_EQ(Texts(out), (std::vector<std::string>{"Two - ", "Two - "}));
    EXPECT_EQ(out.library.Count(), 2);

    folders.newsearch = 1;
    out = RunScan(folders);
    EXPECT_EQ(Texts(out), (std::vector<std::string>{"Three - "}));
    EXPECT_EQ(folders.newsearch, 0);
    ASSERT_EQ(folders.searchPaths.size(), 1u);
}

TEST(Scan, NoCandidateFolder) {
    TempFolder tree;
    tree.Write("A/One/aircraft.cfg", Section(0, "One", "one"));
    std::pair<const char*, ScanFolders> cases[] = {
        {"all search paths inactive", {tree.Path(), {{tree.File("A"), 0}}, 0}},
        {"discovery finds nothing", {tree.Path(), {}, 0}},
        {"missing simulator folder", {tree.File("missing"), {}, 0}}};
    for (auto& [name, folders] : cases) {
        const ScanOutcome out = RunScan(folders);
        EXPECT_EQ(std::pair(out.result, out.library.Count()), std::pair(ScanResultCode::NoCandidate, 0))
            << name;
    }
}

TEST(Scan, ConfigurationFilesAndSectionRules) {
    TempFolder tree;
    // Both files: aircraft.cfg alone is read. Names in any letter case.
    tree.Write("P/Both/Aircraft.CFG", Section(0, "From aircraft.cfg", "both"));
    tree.Write("P/Both/sim.cfg", Section(0, "From sim.cfg", "both"));
    tree.Write("P/Upper/SIM.CFG", Section(0, "Upper sim", "upper"));
    // A folder named aircraft.cfg is not a file: sim.cfg is read instead.
    tree.MakeFolder("P/Folder/aircraft.cfg");
    tree.Write("P/Folder/sim.cfg", Section(0, "Folder case", "f"));
    // Sections without sim, with an empty title, with quotes, climbing folders.
    tree.Write("P/Mine/aircraft.cfg",
               Section(0, "\"\"Quoted\"\"", "..\\..\\Other\\Base", "ui_manufacturer=Acme\r\n") +
                   Section(1, "No sim", "", "ui_createdby=Kept\r\n") +
                   Section(2, "Second", "mine", "ui_variation=B\r\n") + Section(3, "", "mine") +
                   "[General]\r\ntitle=not a variation\r\n");
    // Broken bytes and no sections at all contribute nothing.
    tree.Write("P/Broken/aircraft.cfg", std::string("\0\xff[fltsim.0\r\n=\r\n", 15));
    // Titles in Windows-1252, or in UTF-8 after a byte order mark.
    tree.Write("P/Cp/aircraft.cfg", Section(0, "Fl\xfcgel \x80", "cp"));
    tree.Write("P/Utf/aircraft.cfg", "\xef\xbb\xbf" + Section(0, "Fl\xc3\xbcgel", "utf"));
    ScanFolders folders{tree.Path(), {{tree.File("P"), 1}}, 0};
    const ScanOutcome out = RunScan(folders);
    EXPECT_EQ(Texts(out), (std::vector<std::string>{"Flügel - ", "Flügel € - ", "Folder case - ",
                                                    "From aircraft.cfg - ", "Quoted - ", "Second - B",
                                                    "Upper sim - "}));
    EXPECT_EQ(out.library.Count(), 6);
    EXPECT_EQ(SimOf(out, 4), tree.File("Other/Base"));

    const AircraftEntry* mine = out.library.Entry(DecodeAircraftCode(out.lines[5].code).entry);
    ASSERT_NE(mine, nullptr);
    ASSERT_EQ(mine->variations.size(), 3u); // the untitled one is a variation without a line
    // The section without sim leaves its creator to the next one.
    EXPECT_EQ(std::tie(mine->variations[1].title, mine->variations[1].createdBy, mine->configPath),
              std::tuple("Second", "Kept", tree.File("P/Mine/aircraft.cfg")));
}

TEST(Scan, LargeLibraryKeepsEveryEntryAndVariation) {
    TempFolder tree;
    std::string many;
    for (int v = 0; v < 300; ++v) {
        many += Section(v, "Big " + std::to_string(1000 + v), "big");
    }
    tree.Write("P/Big/aircraft.cfg", many);
    for (int i = 0; i < 1001; ++i) {
        tree.Write("P/A" + std::to_string(10000 + i) + "/aircraft.cfg", Section(0, "A" + std::to_string(10000 + i), "a"));
    }
    ScanFolders folders{tree.Path(), {{tree.File("P"), 1}}, 0};
    const ScanOutcome out = RunScan(folders);
    ASSERT_EQ(out.lines.size(), 1301u);
    EXPECT_EQ(out.library.Count(), 1002);
    // The last aircraft and the last variation decode to their own texts.
    const Variation* last = out.library.Find(out.lines.back().code);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->title, "Big 1299");
    EXPECT_EQ(out.lines.back().code, MakeAircraftCode(1001, 299));
    const Variation* entry1000 = out.library.Find(MakeAircraftCode(1000, 0));
    ASSERT_NE(entry1000, nullptr);
    EXPECT_EQ(entry1000->title, "A11000");
}

TEST(Scan, HostileTreesAreReportedNotFatal) {
    TempFolder tree;
    tree.Write("P/Good/aircraft.cfg", Section(0, "Good", "good"));
    ASSERT_EQ(::symlink(tree.File("P/Loop").c_str(), tree.File("P/Loop").c_str()), 0);
    ASSERT_EQ(::symlink(tree.File("P").c_str(), tree.File("P/Parent").c_str()), 0);
    tree.MakeFolder("P/Fifo");
    ASSERT_EQ(::mkfifo(tree.File("P/Fifo/aircraft.cfg").c_str(), 0600), 0);
    tree.Write("P/Locked/aircraft.cfg", Section(0, "Locked", "locked"));
    ::chmod(tree.File("P/Locked/aircraft.cfg").c_str(), 0);
    ScanFolders folders{tree.Path(), {{tree.File("P"), 1}}, 0};
    const ScanOutcome out = RunScan(folders);
    EXPECT_EQ(out.result, ScanResultCode::Ok);
    // P/Parent leads back to P, an aircraft folder without a configuration file.
    std::vector<std::string> expected{"Good - "};
    if (::geteuid() == 0) {
        expected.push_back("Locked - "); // root reads it anyway
    }
    EXPECT_EQ(Texts(out), expected);
    const auto namesLoop = [](const std::string& text) { return text.find("P/Loop") != std::string::npos; };
    EXPECT_TRUE(std::any_of(out.problems.begin(), out.problems.end(), namesLoop));
}

TEST(AircraftConfig, SimPathFromValue) {
    // aircraft folder, sim value, flight model path
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/F/SimObjects/Airplanes/Mine", "Mine", "/F/SimObjects/Airplanes/Mine/Mine"},
        {"/F/SimObjects/Airplanes/Mine", "..\\C172\\Cessna172SP", "/F/SimObjects/Airplanes/C172/Cessna172SP"},
        {"/F/SimObjects/Airplanes/Mine", "..\\..\\Other\\Base", "/F/SimObjects/Other/Base"},
        {"/F/SimObjects/Airplanes/Mine", "..\\", "/F/SimObjects/Airplanes/Mine/../"},
        {"/F/SimObjects/Airplanes/Mine", "sub\\Model", "/F/SimObjects/Airplanes/Mine/sub/Model"},
        {"Mine", "..\\..\\X", "Mine/X"}, // no folder left to climb
        {"/Mine", "..\\Xy", "/Xy"},
        {"/F/Mine", "", ""}};
    for (const auto& [folder, value, path] : cases) {
        EXPECT_EQ(SimPathFromValue(folder, value), path) << folder << " + " << value;
    }
}

TEST(AircraftConfig, SectionRules) {
    AircraftEntry entry;
    const int count = ReadAircraftConfigText(
        entry, "/F/A", "[FLTSIM.7]\n[ignored header]\ntitle = T0 ; comment\nsim=m\nTEXTURE=Red\n"
        "ui_thumbnailfile=\"t\\p.jpg\"\n"
        "[general]\nsim=not me\n"
        "[fltsim.8]\ntitle=T1\nsim=m2\nui_manufacturer=\n");
    ASSERT_EQ(count, 2);
    EXPECT_EQ(entry.folder, "/F/A");
    // The line after a header belongs to the section even when it is a header itself.
    const std::vector<Variation>& v = entry.variations;
    EXPECT_EQ(std::tie(v[0].title, v[0].texture, v[0].thumbnailFile, v[1].sim, v[1].manufacturer),
              std::tuple("T0", "Red", "t\\p.jpg", "/F/A/m2", ""));
}

TEST(FolderNames, ResolveNoCaseAndThumbnailPaths) {
    TempFolder tree;
    tree.Write("Air/Texture.X/Thumbnail.JPG", "x");
    tree.Write("Air/texture/thumbnail.jpg", "y");
    tree.Write("Air/Model.air", "z");
    const std::pair<const char*, const char*> cases[] = {
        {"air/texture.x/thumbnail.jpg", "Air/Texture.X/Thumbnail.JPG"},
        {"AIR/TEXTURE./THUMBNAIL.JPG", "Air/texture/thumbnail.jpg"}, // "texture." is "texture"
        {"Air/model.AIR", "Air/Model.air"},
        {"air/missing/model.air", "Air/missing/model.air"}, // as written below a missing folder
        {"Air/../air/Model.air", "Air/../Air/Model.air"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(ResolveNoCase(tree.File(in)), tree.File(out)) << in;
    }

    tree.Write("A/Texture.Red/THUMBNAIL.jpg", "r");
    tree.Write("A/texture/thumbnail.jpg", "d");
    tree.Write("A/Pics/Club.jpg", "c");
    // texture, ui_thumbnailfile, the picture shown
    const std::tuple<const char*, const char*, const char*> thumbnails[] = {
        {"red", "", "A/Texture.Red/THUMBNAIL.jpg"},
        {"", "", "A/texture/thumbnail.jpg"},
        {"red", "pics\\club.JPG", "A/Pics/Club.jpg"},
        {"blue", "", "A/texture.blue/thumbnail.jpg"}};
    for (const auto& [texture, thumbnailFile, path] : thumbnails) {
        Variation variation;
        variation.texture = texture;
        variation.thumbnailFile = thumbnailFile;
        EXPECT_EQ(ThumbnailPath(tree.File("A"), variation), tree.File(path)) << texture;
    }
}
