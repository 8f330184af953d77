// The scan over folder trees built by the tests: discovery, search paths, configuration files,
// and trees that are large or hostile; sim paths, quotes and the section rules of one
// configuration text; names matched without regard to letter case on a file system that tells
// case apart. The selection page's lists: sort order, manufacturers, the aircraft of one manufacturer,
// marks. JPEG decoding of thumbnails: a real picture at several scales, CMYK pictures, and
// each kind of fault. Packages outside the simulator folder: Prepar3D add-ons in a Wine prefix, MSFS
// package folders, and FS2004's Aircraft folder; Windows paths and add-on descriptions.
#include "AddOnXml.h"
#include "AircraftConfig.h"
#include "FolderNames.h"
#include "PackageFolders.h"
#include "Scan.h"
#include "SelectionLists.h"
#include "TempFolder.h"
#include "Thumbnail.h"
#include "Unprivileged.h"
#include "WindowsPaths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

// After <cstdio>, which it needs.
#include <jpeglib.h>

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
    ScanSummary summary;
};

ScanOutcome RunScan(ScanFolders& folders) {
    ScanOutcome out;
    ScanHooks hooks;
    hooks.addLine = CollectLines(out.lines);
    hooks.problem = [&](std::string_view text) { out.problems.emplace_back(text); };
    hooks.summary = &out.summary;
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
        {"", "/F/A", {{"Alpha", "/F/A/m", "Acme", "red", "", "", ""}, {"alpha", "/F/A/m", "Acme", "blue", "", "", ""}}, "", -1},
        {"", "/F/B", {{"Beta", "/F/a/M", "ACME", "", "", "", ""}}, "", -1},
        {"", "/F/C", {{"Gamma", "/F/C/g", "", "", "", "", ""}}, "", -1},
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

// A 16 x 16 picture of one colour written by libjpeg: three components as RGB, four as CMYK,
// stored in the given colour space, with or without the Adobe segment.
std::vector<uint8_t> MakeJpeg(const std::vector<uint8_t>& pixel, J_COLOR_SPACE stored, bool adobe) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 16;
    info.image_height = 16;
    info.input_components = static_cast<int>(pixel.size());
    info.in_color_space = pixel.size() == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, stored);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row;
    for (int x = 0; x < 16; ++x) {
        row.insert(row.end(), pixel.begin(), pixel.end());
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// The picture with both sides of its frame header set to side.
std::vector<uint8_t> WithSize(std::vector<uint8_t> jpeg, uint16_t side) {
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            for (const size_t at : {i + 5, i + 7}) {
                jpeg[at] = static_cast<uint8_t>(side >> 8);
                jpeg[at + 1] = static_cast<uint8_t>(side & 0xFF);
            }
            break;
        }
    }
    return jpeg;
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

TEST(Scan, EmptyListsAreExplainedBySummary) {
    TempFolder tree;
    tree.Write("A/One/aircraft.cfg", Section(0, "One", "one"));
    // A package whose aircraft.cfg files have no sim entry, and one section without a title.
    tree.Write("Sim/SimObjects/Airplanes/A321/aircraft.cfg", Section(0, "A321", "", "model=\r\n"));
    tree.Write("Sim/SimObjects/Airplanes/A321neo/aircraft.cfg", Section(0, "", "neo"));
    struct Case {
        const char* name;
        ScanFolders folders;
        int result;
        bool discovered;
        bool missing;
        std::vector<std::string> searched;
        size_t inactive, read, withoutSim;
    };
    Case cases[] = {
        {"all search paths inactive", {tree.Path(), {{tree.File("A"), 0}}, 0}, ScanResultCode::NoCandidate,
         false, false, {}, 1, 0, 0},
        {"discovery finds nothing", {tree.File("A"), {}, 0}, ScanResultCode::NoCandidate, true, false, {}, 0, 0, 0},
        {"missing simulator folder", {tree.File("missing"), {}, 0}, ScanResultCode::NoCandidate, true, true, {}, 0,
         0, 0},
        {"no sim entries", {tree.File("Sim"), {}, 0}, ScanResultCode::Ok, true, false,
         {tree.File("Sim/SimObjects/Airplanes")}, 0, 2, 1},
    };
    for (Case& c : cases) {
        const ScanOutcome out = RunScan(c.folders);
        const ScanSummary& s = out.summary;
        EXPECT_EQ(std::tuple(out.result, out.lines.size(), s.discovered, s.simulatorFolderMissing, s.searchedFolders,
                             s.inactiveSearchPaths, s.configFilesRead, s.configFilesWithoutSim),
                  std::tuple(c.result, size_t{0}, c.discovered, c.missing, c.searched, c.inactive, c.read,
                             c.withoutSim))
            << c.name;
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

// Latin-1 text widened to UTF-16, with or without its byte-order mark.
std::string Utf16(std::string_view latin1, const std::string& mark, bool bigEndian) {
    std::string out = mark;
    for (const char c : latin1) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

// Discovery and reading both list P: whatever cannot be read there is reported once, by name.
TEST(Scan, HostileTreesAreReportedOncePerPath) {
    TempFolder tree;
    ::chmod(tree.Path().c_str(), 0755);
    const std::string p = tree.File("FS/SimObjects/P/");
    tree.Write("FS/SimObjects/P/Good/aircraft.cfg", Section(0, "Good", "good"));
    tree.Write("FS/SimObjects/P/Le/aircraft.cfg", Utf16(Section(0, "Fl\xfcgel LE", "le"), "\xFF\xFE", false));
    tree.Write("FS/SimObjects/P/Be/aircraft.cfg", Utf16(Section(0, "Fl\xfcgel BE", "be"), "\xFE\xFF", true));
    tree.Write("FS/SimObjects/P/NoMark/aircraft.cfg", Utf16(Section(0, "No mark", "n"), "", false));
    ASSERT_EQ(::symlink((p + "Loop").c_str(), (p + "Loop").c_str()), 0);
    ASSERT_EQ(::symlink((p + "missing").c_str(), (p + "Dangling").c_str()), 0);
    ASSERT_EQ(::symlink(p.c_str(), (p + "Parent").c_str()), 0); // an aircraft folder without configuration
    tree.MakeFolder("FS/SimObjects/P/Fifo");
    ASSERT_EQ(::mkfifo((p + "Fifo/aircraft.cfg").c_str(), 0600), 0);
    tree.Write("FS/SimObjects/P/Locked/aircraft.cfg", Section(0, "Locked", "locked"));
    ::chmod((p + "Locked/aircraft.cfg").c_str(), 0);
    tree.Write("FS/SimObjects/P/Shut/aircraft.cfg", Section(0, "Shut", "shut"));
    ::chmod((p + "Shut").c_str(), 0);

    const auto want = std::tuple(
        std::vector<std::string>{"Flügel BE - ", "Flügel LE - ", "Good - "},
        std::vector<std::string>{
            p + "Dangling: " + std::strerror(ENOENT),
            p + "Loop: " + std::strerror(ELOOP),
            p + "NoMark/aircraft.cfg: holds NUL bytes: not a text file, or UTF-16 without a byte-order mark",
            p + "Shut: " + std::strerror(EACCES),
            "cannot open " + p + "Locked/aircraft.cfg: " + std::strerror(EACCES)},
        size_t{5}, size_t{4}, size_t{1});
    RunUnprivileged([&] {
        ScanFolders folders{tree.File("FS"), {}, 0};
        ScanOutcome out = RunScan(folders);
        std::sort(out.problems.begin(), out.problems.end());
        const auto got = std::tuple(Texts(out.lines), out.problems, out.summary.problems,
                                    out.summary.configFilesRead, out.summary.configFilesWithoutSim);
        if (got != want) {
            std::cerr << ::testing::PrintToString(got) << "\nwanted " << ::testing::PrintToString(want) << "\n";
        }
        return got == want;
    });
}

namespace {

std::string AddOnXml(const std::string& name, const std::string& components) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SimBase.Document Type=\"AddOnXml\" "
           "version=\"4,0\" id=\"add-on\">\r\n  <AddOn.Name>" + name + "</AddOn.Name>\r\n" +
           components + "</SimBase.Document>\r\n";
}
std::string SimObjects(const std::string& path, const std::string& category = "SimObjects") {
    return "  <AddOn.Component><Category>" + category + "</Category><Path>" + path +
           "</Path></AddOn.Component>\r\n";
}

// A tree as a user's prefix or packages folder holds it: files, links (to paths in the tree),
// the folder given as FSPATH, and what the scan makes of it.
struct PackageTree {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::pair<std::string, std::string>> links;
    std::string fspath;
    std::vector<std::string> listed; // sorted: "line text | package | [VERSION] major"
    std::vector<std::string> problems; // each names this part of a path
    size_t withoutAir = 0;
};

} // namespace

TEST(Scan, PackagesOutsideTheSimulatorFolder) {
    const std::string p3d = "pfx/drive_c/Program Files/Lockheed Martin/Prepar3D v5";
    const std::string docs = "pfx/drive_c/users/alice/Documents/";
    const std::string roaming = "pfx/drive_c/users/alice/AppData/Roaming/Lockheed Martin/Prepar3D v5/";
    const std::string programData = "pfx/drive_c/ProgramData/Lockheed Martin/Prepar3D v5/";
    const std::string airplane = Section(0, "Own", "own");
    const PackageTree trees[] = {
        {"Prepar3D prefix",
         {{p3d + "/SimObjects/Airplanes/Own/aircraft.cfg", airplane},
          // Documents: both folders; a package whose cfg names a sim.cfg container by relative path.
          {docs + "Prepar3D v5 Add-ons/Docs Pack/add-on.xml", AddOnXml("Docs Pack", SimObjects("SimObjects\\Airplanes"))},
          {docs + "Prepar3D v5 Add-ons/Docs Pack/SimObjects/Airplanes/A/aircraft.cfg", Section(0, "Docs", "a")},
          {docs + "Prepar3D v5 Files/add-ons/Files Pack/ADD-ON.XML", AddOnXml("Files Pack", SimObjects("simobjects\\BOATS") + SimObjects("Scenery", "Scenery"))},
          {docs + "Prepar3D v5 Files/add-ons/Files Pack/SimObjects/Boats/B/sim.cfg", Section(0, "Files", "b")},
          // Switched off in Roaming, though the Documents folder reaches it too.
          {docs + "Prepar3D v5 Add-ons/Off Pack/add-on.xml", AddOnXml("Off Pack", SimObjects("SimObjects\\Airplanes"))},
          {docs + "Prepar3D v5 Add-ons/Off Pack/SimObjects/Airplanes/O/aircraft.cfg", Section(0, "Off", "o")},
          {roaming + "add-ons.cfg",
           "[Package.0]\r\nPATH=D:\\Addons\\Drive D\r\nACTIVE=true\r\n\r\n"
           "[PACKAGE.1]\r\npath=c:\\USERS\\alice\\documents\\prepar3d v5 add-ons\\off pack\r\nActive=FALSE\r\n"
           // The Documents package again, by another spelling: listed once.
           "[Package.2]\r\nPATH=\"C:\\users\\alice\\Documents\\Prepar3D v5 Add-ons\\Docs Pack\\\"\r\n"
           "[Package.3]\r\nPATH=D:\\Addons\\Broken\r\n"
           "[Package.4]\r\nPATH=\\\\server\\share\r\n"},
          // D: holds its container by an absolute path on the same drive.
          {"d/Addons/Drive D/add-on.xml", AddOnXml("Drive D", SimObjects("D:\\Addons\\Drive D\\Planes"))},
          {"d/Addons/Drive D/Planes/D/aircraft.cfg", Section(0, "Drive", "d")},
          {"d/Addons/Broken/add-on.xml", "<SimBase.Document><AddOn.Name>x</AddOn"},
          {programData + "add-ons.cfg", "[DiscoveryPath.0]\r\nPATH=C:\\More Addons\r\nACTIVE=true\r\n"
                                        "[DiscoveryPath.1]\r\nPATH=C:\\Idle\r\nACTIVE=false\r\n"},
          {"pfx/drive_c/More Addons/Found/add-on.xml", AddOnXml("Found", SimObjects("SimObjects\\Airplanes"))},
          {"pfx/drive_c/More Addons/Found/SimObjects/Airplanes/F/aircraft.cfg", Section(0, "Found", "f")},
          {"pfx/drive_c/More Addons/Not a package/readme.txt", ""},
          {"pfx/drive_c/Idle/Idle/add-on.xml", AddOnXml("Idle", SimObjects("SimObjects\\Airplanes"))},
          {"pfx/drive_c/Idle/Idle/SimObjects/Airplanes/I/aircraft.cfg", Section(0, "Idle", "i")}},
         {{"pfx/dosdevices/d:", "d"}},
         p3d,
         {"Docs -  | Docs Pack | -1", "Drive -  | Drive D | -1", "Files -  | Files Pack | -1",
          "Found -  | Found | -1", "Own -  |  | -1"},
         {"Broken/add-on.xml", "\\\\server\\share"},
         {}},
        {"Prepar3D folder outside a prefix",
         {{"Prepar3D v4/SimObjects/Airplanes/Own/aircraft.cfg", airplane},
          {"Documents/Prepar3D v4 Add-ons/P/add-on.xml", AddOnXml("P", SimObjects("SimObjects\\Airplanes"))},
          {"Documents/Prepar3D v4 Add-ons/P/SimObjects/Airplanes/X/aircraft.cfg", Section(0, "X", "x")}},
         {},
         "Prepar3D v4",
         {"Own -  |  | -1"},
         {},
         0},
        {"MSFS packages",
         {{"Packages/Community/port/SimObjects/Airplanes/Port/aircraft.cfg",
           "\xef\xbb\xbf[FLTSIM.0]\r\ntitle = \"Legacy A\" ; ported\r\nsim = \"legacy\"\r\n"
           "[FLTSIM.1]\r\ntitle = \"Legacy B\"\r\nsim = gone\r\n"},
          {"Packages/Community/port/SimObjects/Airplanes/Port/legacy.air", "x"},
          {"Packages/Official/Steam/pkg-v1/SimObjects/Rotorcraft/Heli/aircraft.cfg",
           "[VERSION]\r\nmajor = 1\r\nminor = 2\r\n[FLTSIM.0]\r\ntitle = Heli\r\nsim = heli\r\n"},
          {"Packages/Official/Steam/pkg-v1/SimObjects/Rotorcraft/Heli/Heli.AIR", "x"},
          {"Packages/Official/OneStore/native/SimObjects/Airplanes/Jet/aircraft.cfg",
           "[VERSION]\r\nmajor = 1\r\n[FLTSIM.0]\r\ntitle = \"Native\"\r\nmodel = \"\"\r\n"},
          {"Packages/Community2024/locked/SimObjects/Airplanes/Enc/layout.json", "{}"},
          {"Packages/Community/scenery/scenery/world.bgl", ""}},
         {},
         "Packages",
         {"Heli -  | pkg-v1 | 1", "Legacy A -  | port | -1"},
         {},
         1},
        {"FS2004",
         {{"FS9/Aircraft/Old/aircraft.cfg", Section(0, "Old", "old")},
          {"FS9/Aircraft/Other/AIRCRAFT.CFG", Section(0, "Other", "other")}},
         {},
         "FS9",
         {"Old -  |  | -1", "Other -  |  | -1"},
         {},
         0},
    };
    for (const PackageTree& tree : trees) {
        TempFolder folder;
        for (const auto& [path, bytes] : tree.files) {
            folder.Write(path, bytes);
        }
        for (const auto& [link, target] : tree.links) {
            std::filesystem::create_directories(std::filesystem::path(folder.File(link)).parent_path());
            ASSERT_EQ(::symlink(folder.File(target).c_str(), folder.File(link).c_str()), 0) << tree.name;
        }
        ScanFolders folders{folder.File(tree.fspath), {}, 0};
        const ScanOutcome out = RunScan(folders);
        EXPECT_EQ(out.result, ScanResultCode::Ok) << tree.name;
        std::vector<std::string> listed;
        for (const AircraftLine& line : out.lines) {
            const AircraftEntry& entry = *out.library.Entry(DecodeAircraftCode(line.code).entry);
            listed.push_back(line.text + " | " + entry.package + " | " + std::to_string(entry.versionMajor));
        }
        EXPECT_EQ(listed, tree.listed) << tree.name;
        EXPECT_EQ(out.problems.size(), tree.problems.size()) << tree.name;
        for (const std::string& part : tree.problems) {
            EXPECT_TRUE(std::any_of(out.problems.begin(), out.problems.end(), [&](const std::string& problem) {
                return problem.find(part) != std::string::npos;
            })) << tree.name << ": " << part;
        }
        EXPECT_EQ(out.summary.withoutAir, tree.withoutAir) << tree.name;
        // The information strip names the simulator rather than "<FSX>".
        EXPECT_EQ(SimulatorLabel(folder.File(tree.fspath)),
                  tree.fspath == "FS9" ? "FS2004" : tree.fspath == "Packages" ? "MSFS" : "Prepar3D")
            << tree.name;
        // Packages are looked up at every scan; only FS2004's folder is kept as a search path.
        EXPECT_EQ(folders.searchPaths.size(), tree.fspath == "FS9" ? 1u : tree.fspath == "Packages" ? 0u : 1u)
            << tree.name;
    }
}

TEST(WindowsPaths, MappedThroughThePrefix) {
    TempFolder tree;
    tree.MakeFolder("pfx/drive_c/Program Files/Lockheed Martin");
    tree.MakeFolder("d/Addons/My Plane");
    tree.MakeFolder("pfx/dosdevices");
    ASSERT_EQ(::symlink(tree.File("d").c_str(), tree.File("pfx/dosdevices/d:").c_str()), 0);
    const std::string prefix = tree.File("pfx");
    const std::string base = tree.File("pfx/drive_c/Program Files");
    // path as written, mapped path relative to the tree ("" for no mapping)
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Lockheed Martin", "pfx/drive_c/Program Files/Lockheed Martin"},
        {"c:/PROGRAM FILES/lockheed martin/", "pfx/drive_c/Program Files/Lockheed Martin"},
        {"D:\\addons\\MY PLANE", "pfx/dosdevices/d:/Addons/My Plane"},
        {"Lockheed Martin", "pfx/drive_c/Program Files/Lockheed Martin"},
        {"C:\\Missing\\Folder", "pfx/drive_c/Missing/Folder"},
        {"\\\\server\\share", nullptr},
        {"\\Program Files", nullptr},
        {"C:Program Files", nullptr},
    };
    for (const auto& [written, mapped] : cases) {
        EXPECT_EQ(MapWindowsPath(prefix, written, base), mapped ? tree.File(mapped) : std::string()) << written;
    }
    EXPECT_EQ(FindWinePrefix(base), RealFolder(prefix));
    EXPECT_EQ(FindWinePrefix(tree.File("d/Addons")), "");
    EXPECT_EQ((std::array{Prepar3dVersion("/x/PREPAR3D V6/"), Prepar3dVersion("Prepar3D v3"),
                          Prepar3dVersion("Prepar3D v5 Academic")}),
              (std::array{6, 0, 0}));
}

TEST(PackageFolders, SimulatorsAPrefixHolds) {
    const std::pair<const char*, const char*> lines[] = {
        {"[GRAPHICS]\r\n\tInstalledPackagesPath \"D:\\My Games\\MSFS Packages\"\r\n", "D:\\My Games\\MSFS Packages"},
        {"installedpackagespath\"C:\\x\"", "C:\\x"},
        {"InstalledPackagesPathOld \"C:\\old\"\nVersion 1", ""},
        {"", ""},
    };
    for (const auto& [text, path] : lines) {
        EXPECT_EQ(InstalledPackagesPath(text), path) << text;
    }

    TempFolder tree;
    tree.MakeFolder("pfx/drive_c/Program Files/Lockheed Martin");
    tree.MakeFolder("pfx/dosdevices");
    tree.MakeFolder("d/My Games/MSFS Packages/Community");
    ASSERT_EQ(::symlink(tree.File("d").c_str(), tree.File("pfx/dosdevices/d:").c_str()), 0);
    tree.Write("pfx/drive_c/users/steamuser/AppData/Roaming/Microsoft Flight Simulator/UserCfg.opt",
               "\xef\xbb\xbf" "InstalledPackagesPath \"D:\\My Games\\MSFS Packages\"\r\n");
    tree.Write("pfx/drive_c/users/steamuser/AppData/Local/Packages/Microsoft.Limitless_8wekyb3d8bbwe/LocalCache/"
               "UserCfg.opt", "InstalledPackagesPath \"C:\\MSFS2024\"\n");
    tree.Write("pfx/drive_c/users/other/AppData/Roaming/Microsoft Flight Simulator 2024/UserCfg.opt", "no path here\n");
    std::vector<std::string> found;
    for (const PrefixSimulator& simulator : SimulatorsInPrefix(tree.File("pfx"))) {
        found.push_back(simulator.simulator + " " + simulator.folder.substr(tree.Path().size()));
    }
    EXPECT_EQ(found, (std::vector<std::string>{
                         "Prepar3D v4 /pfx/drive_c/Program Files/Lockheed Martin/Prepar3D v4",
                         "Prepar3D v5 /pfx/drive_c/Program Files/Lockheed Martin/Prepar3D v5",
                         "Prepar3D v6 /pfx/drive_c/Program Files/Lockheed Martin/Prepar3D v6",
                         "MSFS 2020 /pfx/dosdevices/d:/My Games/MSFS Packages",
                         "MSFS 2024 /pfx/drive_c/MSFS2024",
                     }));
}

TEST(AddOnXml, NamesComponentsAndEncodings) {
    const std::string body = "<AddOn.Name>Caf\xe9</AddOn.Name><AddOn.Component><Category>SimObjects</Category>"
                             "<Path> SimObjects\\Airplanes </Path><Name>Planes</Name></AddOn.Component>"
                             "</SimBase.Document>";
    std::string utf16 = "\xff\xfe";
    for (const char c : std::string("<SimBase.Document><AddOn.Name>W</AddOn.Name></SimBase.Document>")) {
        utf16 += c;
        utf16 += '\0';
    }
    // text, name, components as "category|path|name", or the error's start
    const std::tuple<std::string, std::string, std::vector<std::string>, std::string> cases[] = {
        {"<?xml version=\"1.0\" encoding=\"Windows-1252\"?><SimBase.Document>" + body, "Caf\xc3\xa9",
         {"SimObjects|SimObjects\\Airplanes|Planes"}, ""},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SimBase.Document>" + body, "Caf\xc3\xa9",
         {"SimObjects|SimObjects\\Airplanes|Planes"}, ""},
        {utf16, "W", {}, ""},
        {"<Other><AddOn.Name>N</AddOn.Name></Other>", "", {}, "the root element"},
        {"<SimBase.Document><AddOn.Name>N</AddOn.Name>", "", {}, "no element found"},
        {"<?xml version=\"1.0\" encoding=\"KOI8-R\"?><SimBase.Document/>", "", {}, "unknown encoding"},
        // Components nested deeper belong to no package.
        {"<SimBase.Document><X><AddOn.Component><Category>SimObjects</Category></AddOn.Component></X>"
         "</SimBase.Document>", "", {}, ""},
    };
    for (const auto& [text, name, components, error] : cases) {
        const AddOnDescription parsed = ParseAddOnXml(text);
        std::vector<std::string> found;
        for (const AddOnComponent& component : parsed.components) {
            found.push_back(component.category + "|" + component.path + "|" + component.name);
        }
        EXPECT_EQ(std::tie(parsed.name, found), std::tie(name, components)) << text;
        EXPECT_EQ(parsed.error.substr(0, error.size()), error) << text;
        EXPECT_EQ(parsed.error.empty(), error.empty()) << text;
    }
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

TEST(SelectionLists, SortIgnoresLetterCaseAndKeepsScanOrderOfEqualTexts) {
    std::vector<AircraftLine> lines{{"b", 1}, {"Ä", 2}, {"a", 3}, {"A", 4}, {"ä", 5}, {"Z", 6}};
    SortAircraftLines(lines);
    std::vector<AircraftCode> order;
    for (const AircraftLine& line : lines) {
        order.push_back(line.code);
    }
    EXPECT_EQ(order, (std::vector<AircraftCode>{3, 4, 1, 6, 2, 5}));
}

TEST(SelectionLists, ManufacturersAndTheirAircraft) {
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

TEST(SelectionLists, RoundMarkAndShownFolder) {
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
    EXPECT_EQ(ShownAircraftFolder("/p/Community/A", "/p", "MSFS"), "<MSFS>/Community/A");
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

TEST(Thumbnail, EachFaultHasItsKindAndCmykPicturesDecode) {
    const std::vector<uint8_t> red3{255, 0, 0};
    const std::vector<uint8_t> redInk{0, 255, 255, 0};    // cyan, magenta, yellow, black amounts
    const std::vector<uint8_t> redAdobe{255, 0, 0, 255}; // the same, inverted
    std::vector<uint8_t> cut = SampleJpeg();
    cut.resize(cut.size() / 2);
    const std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    // name, bytes, pixels shown, fault
    const std::tuple<const char*, std::vector<uint8_t>, bool, JpegFault> cases[] = {
        {"RGB", MakeJpeg(red3, JCS_YCbCr, false), true, JpegFault::None},
        {"CMYK", MakeJpeg(redInk, JCS_CMYK, false), true, JpegFault::None},
        {"CMYK, Adobe", MakeJpeg(redAdobe, JCS_CMYK, true), true, JpegFault::None},
        {"YCCK, Adobe", MakeJpeg(redAdobe, JCS_YCCK, true), true, JpegFault::None},
        {"60000 x 60000", WithSize(SampleJpeg(), 60000), false, JpegFault::TooLarge},
        {"65535 x 65535, beyond the library", WithSize(SampleJpeg(), 65535), false, JpegFault::TooLarge},
        {"PNG", png, false, JpegFault::NotJpeg},
        {"empty", {}, false, JpegFault::NotJpeg},
        {"start and end only", {0xFF, 0xD8, 0xFF, 0xD9}, false, JpegFault::Damaged},
        {"frame header cut short", {0xFF, 0xD8, 0xFF, 0xC0, 0, 0}, false, JpegFault::Damaged},
        {"cut in half: what decodes is shown", cut, true, JpegFault::Damaged},
    };
    for (const auto& [name, bytes, shown, fault] : cases) {
        const JpegResult result = DecodeJpeg(bytes, 256, 128);
        EXPECT_EQ(std::tuple(result.ok, result.fault, result.image.pixels.empty()), std::tuple(shown, fault, !shown))
            << name << ": " << result.error;
        if (shown && fault == JpegFault::None) {
            const std::vector<uint8_t> first(result.image.pixels.begin(), result.image.pixels.begin() + 3);
            EXPECT_TRUE(first[0] > 245 && first[1] < 10 && first[2] < 10) << name << ": " << testing::PrintToString(first);
        }
    }
    EXPECT_EQ(DecodeJpegFile("/nonexistent/thumbnail.jpg").fault, JpegFault::Unreadable);
}
