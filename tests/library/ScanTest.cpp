// The scan over folder trees built by the tests: discovery, search paths, configuration files,
// and trees that are large or hostile; sim paths, quotes and the section rules of one
// configuration text; names matched without regard to letter case on a file system that tells
// case apart. The browser's lists: sort order, manufacturers, the aircraft of one manufacturer,
// marks. JPEG decoding of thumbnails: a real picture at several scales, and bytes that are no
// picture.
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
#include <array>
#include <fstream>
#include <iterator>
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
    ScanCounts counts;
};

ScanOutcome RunScan(ScanFolders& folders) {
    ScanOutcome out;
    ScanHooks hooks;
    hooks.counts = &out.counts;
    hooks.addLine = CollectLines(out.lines);
    hooks.problem = [&](std::string_view text) { out.problems.emplace_back(text); };
    out.result = Scan(folders, out.library, hooks);
    SortAircraftLines(out.lines);
    return out;
}

std::vector<std::string> Texts(const std::vector<AircraftLine>& lines) {
    std::vector<std::string> texts;
    for (const AircraftLine& line : lines) {
        texts.push_back(line.text);
    }
    return texts;
}

std::string SimOf(const ScanOutcome& out, size_t line) {
    return out.library.Find(out.lines.at(line).code)->sim;
}

// Entry 0: two variations sharing one sim; entry 1 with another case of that manufacturer
// and a sim that differs only in letter case; entry 2 without a manufacturer.
AircraftLibrary MakeLibrary() {
    AircraftLibrary library;
    library.Entries() = {
        {"", "/F/A", {{"Alpha", "/F/A/m", "Acme", "red", "", "", ""}, {"alpha", "/F/A/m", "Acme", "blue", "", "", ""}}},
        {"", "/F/B", {{"Beta", "/F/a/M", "ACME", "", "", "", ""}}},
        {"", "/F/C", {{"Gamma", "/F/C/g", "", "", "", "", ""}}},
    };
    return library;
}

std::vector<AircraftLine> Lines() {
    std::vector<AircraftLine> lines{{"Gamma - ", MakeAircraftCode(2, 0)},
                                    {"Alpha - red", MakeAircraftCode(0, 0)},
                                    {"alpha - blue", MakeAircraftCode(0, 1)},
                                    {"Beta - ", MakeAircraftCode(1, 0)}};
    SortAircraftLines(lines);
    return lines;
}

// A 256 x 128 thumbnail of the sample generator.
std::vector<uint8_t> SampleJpeg() {
    std::ifstream in(KELVARA_SOURCE_DIR "/tests/fuzz/corpus/jpeg/thumbnail.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
    EXPECT_EQ(Texts(out.lines), (std::vector<std::string>{"Cessna - Red", "Ferry - "}));
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
    EXPECT_EQ(Texts(out.lines), (std::vector<std::string>{"Two - ", "Two - "}));
    EXPECT_EQ(out.library.Count(), 2);

    // A new discovery adds the simulator folder's containers; the listed paths keep their flags.
    folders.newsearch = 1;
    out = RunScan(folders);
    EXPECT_EQ(Texts(out.lines), (std::vector<std::string>{"Three - ", "Two - ", "Two - "}));
    EXPECT_EQ(folders.newsearch, 0);
    EXPECT_EQ(folders.searchPaths.size(), 4u);
    EXPECT_EQ(std::tie(folders.searchPaths[1].active, folders.searchPaths[3].folder),
              std::tuple(0, tree.File("Sim/Objects/Planes")));
    folders.newsearch = 1;
    EXPECT_EQ(Texts(RunScan(folders).lines).size(), 3u) << "found once, not added again";
    EXPECT_EQ(folders.searchPaths.size(), 4u);
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

// What an empty list is explained with: the folders read, the files read, and those without
// a section that names a sim (a real package may have none).
TEST(Scan, CountsWhatItRead) {
    TempFolder tree;
    tree.Write("SimObjects/Airplanes/A321/aircraft.cfg", Section(0, "A321", "") + Section(1, "A321 b", ""));
    tree.Write("SimObjects/Airplanes/C172/aircraft.cfg", Section(0, "C172", "c172"));
    tree.Write("SimObjects/Airplanes/Docs/readme.txt", "none");
    // counts: folders searched, files read, files without sim; lines
    const std::pair<ScanFolders, std::tuple<std::vector<std::string>, size_t, size_t, size_t>> cases[] = {
        {{tree.Path(), {}, 0}, {{tree.File("SimObjects/Airplanes")}, 2, 1, 1}},
        {{tree.Path(), {{tree.File("SimObjects/Airplanes/A321"), 1}}, 0}, {{tree.File("SimObjects/Airplanes/A321")}, 0, 0, 0}},
        {{tree.File("missing"), {}, 0}, {{tree.File("missing")}, 0, 0, 0}}};
    for (auto [folders, expected] : cases) {
        const ScanOutcome out = RunScan(folders);
        EXPECT_EQ(std::tuple(out.counts.foldersSearched, out.counts.configFilesRead,
                             out.counts.configFilesWithoutSim, out.lines.size()),
                  expected);
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
    EXPECT_EQ(Texts(out.lines), (std::vector<std::string>{"Flügel - ", "Flügel € - ", "Folder case - ",
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
    EXPECT_EQ(out.lines.back().code, MakeAircraftCode(1001, 299));
    for (const auto& [code, title] : {std::pair(out.lines.back().code, "Big 1299"), {MakeAircraftCode(1000, 0), "A11000"}}) {
        ASSERT_NE(out.library.Find(code), nullptr);
        EXPECT_EQ(out.library.Find(code)->title, title);
    }
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
    EXPECT_EQ(Texts(out.lines), expected);
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

TEST(BrowserLists, SortIgnoresLetterCaseAndKeepsScanOrderOfEqualTexts) {
    std::vector<AircraftLine> lines{{"b", 1}, {"Ä", 2}, {"a", 3}, {"A", 4}, {"ä", 5}, {"Z", 6}};
    SortAircraftLines(lines);
    std::vector<AircraftCode> order;
    for (const AircraftLine& line : lines) {
        order.push_back(line.code);
    }
    EXPECT_EQ(order, (std::vector<AircraftCode>{3, 4, 1, 6, 2, 5}));
}

TEST(BrowserLists, ManufacturersAndTheirAircraft) {
    const AircraftLibrary library = MakeLibrary();
    const std::vector<AircraftLine> lines = Lines();
    const std::vector<std::string> manufacturers = ManufacturerList(library, lines);
    EXPECT_EQ(manufacturers, (std::vector<std::string>{" ", "Acme", "ACME"}));
    EXPECT_EQ(ManufacturerToSelect(manufacturers, "ACME"), 2);
    EXPECT_EQ(ManufacturerToSelect(manufacturers, ""), 0); // stored empty is not " "
    EXPECT_EQ(ManufacturerToSelect({}, "Acme"), -1);

    // "alpha - blue" comes first in the all-aircraft list.
    const std::vector<AircraftLine> acme = AircraftOfManufacturer(library, lines, "Acme");
    EXPECT_EQ(Texts(acme), (std::vector<std::string>{"alpha", "Alpha"}));
    EXPECT_EQ(acme[1].code, MakeAircraftCode(0, 0));
    EXPECT_EQ(Texts(AircraftOfManufacturer(library, lines, " ")), std::vector<std::string>{"Gamma"});
}

TEST(BrowserLists, RoundMarkAndShownFolder) {
    const AircraftLibrary library = MakeLibrary();
    EXPECT_TRUE(SharesFlightModel(library, MakeAircraftCode(0, 0), MakeAircraftCode(0, 1)));
    EXPECT_TRUE(SharesFlightModel(library, MakeAircraftCode(0, 0), MakeAircraftCode(1, 0)));
    EXPECT_FALSE(SharesFlightModel(library, MakeAircraftCode(0, 0), MakeAircraftCode(2, 0)));
    EXPECT_FALSE(SharesFlightModel(library, MakeAircraftCode(0, 0), MakeAircraftCode(5, 0)));

    EXPECT_EQ(ShownAircraftFolder("/Home/FSX/SimObjects/A", "/home/fsx"), "<FSX>/SimObjects/A");
    EXPECT_EQ(ShownAircraftFolder("/other/A", "/home/fsx"), "/other/A");
    EXPECT_EQ(ShownAircraftFolder("/a", ""), "/a");
    EXPECT_EQ(ShownAircraftFolder("/home/fsx/SimObjects/A", "/home/fsx/"), "<FSX>/SimObjects/A");
    EXPECT_EQ(ShownAircraftFolder("/home/fsx2/A", "/home/fsx"), "/home/fsx2/A");
}

TEST(Thumbnail, DecodesAtTheSmallestScaleThatCoversTheShownSize) {
    const std::vector<uint8_t> jpeg = SampleJpeg();
    ASSERT_FALSE(jpeg.empty());
    // the smallest width and height asked for, the decoded ones
    for (const auto& [minWidth, minHeight, width, height] :
         {std::array{0, 0, 32, 16}, {100, 50, 128, 64}, {256, 128, 256, 128}, {1000, 1000, 256, 128}}) {
        const JpegResult result = DecodeJpeg(jpeg, minWidth, minHeight);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(std::tuple(result.image.width, result.image.height, result.image.pixels.size()),
                  std::tuple(width, height, size_t(width) * height * 3));
    }
}

TEST(Thumbnail, BytesThatAreNoPictureAreRefusedWithAReason) {
    // 65535 x 65535 pixels claimed by the frame header: refused before any pixel is decoded.
    std::vector<uint8_t> huge = SampleJpeg();
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            std::fill(huge.begin() + long(i) + 5, huge.begin() + long(i) + 9, 0xFF);
            break;
        }
    }
    const std::vector<std::vector<uint8_t>> refused = {
        {}, {'P', 'N', 'G', 0}, {0xFF, 0xD8, 0xFF, 0xD9}, {0xFF, 0xD8, 0xFF, 0xC0, 0, 0}, huge,
    };
    for (const std::vector<uint8_t>& bytes : refused) {
        const JpegResult result = DecodeJpeg(bytes);
        EXPECT_TRUE(!result.ok && !result.error.empty() && result.image.pixels.empty());
    }
    // A picture cut short shows what decodes; it never reads past its bytes.
    std::vector<uint8_t> cut = SampleJpeg();
    cut.resize(cut.size() / 2);
    const JpegResult partial = DecodeJpeg(cut, 256, 128);
    EXPECT_TRUE(partial.ok) << partial.error;
    EXPECT_EQ(partial.image.pixels.size(), 256u * 128 * 3);
    EXPECT_FALSE(DecodeJpegFile("/nonexistent/thumbnail.jpg").ok);
}
