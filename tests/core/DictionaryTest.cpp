// KVR.ini: the line reader, the field splitter, the dictionary tables, and where the file is
// looked for and which copy wins, in the build folder and an installed tree.
#include "CfgReader.h"
#include "DataType.h"
#include "DictionaryLocation.h"
#include "RecordDictionary.h"
#include "TextUtil.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include <sys/stat.h>

namespace kelvara {
namespace {

using Line = std::tuple<LineKind, std::string, std::string>; // kind, text, value

std::vector<Line> ReadAll(const std::string& content) {
    CfgReader reader;
    reader.LoadText(content);
    std::vector<Line> lines;
    std::string text;
    for (LineKind kind; (kind = reader.NextLine(text)) != LineKind::EndOfData;) {
        lines.emplace_back(kind, text, reader.Value());
    }
    return lines;
}

TEST(CfgReader, ClassifiesLines) {
    using enum LineKind;
    EXPECT_EQ(ReadAll("[Records]\r\n\r\n a = b ; c\npath = a//b\n[ Records ]\nplain text\n// only\n=x\nk="),
              (std::vector<Line>{{Section, "records", ""}, {KeyValue, "a", "b"}, {KeyValue, "path", "a"},
                                 {Section, " records ", ""}, {Other, "plain text", ""}, {Blank, "", ""},
                                 {KeyValue, "", "x"}, {KeyValue, "k", ""}}));
    EXPECT_EQ(ReadAll("a=1\nb=2").size(), 2u);
    // A last line of one character is not read: fewer than two bytes remain.
    EXPECT_EQ(ReadAll("a=1\nb").size(), 1u);
    EXPECT_TRUE(ReadAll("x").empty());
}

TEST(CfgReader, WhatIsNoReadableFileLoadsNothing) {
    test::TempFolder folder;
    const std::string fifo = folder.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::WriteFile(folder.File("KVR.ini"), std::string("[records]\n1101=Wing area,float\n"));
    for (const std::string& path : {folder.Path(), fifo, folder.File("none.ini")}) {
        CfgReader reader;
        EXPECT_EQ(reader.Load(path), -1) << path;
        RecordDictionary dictionary;
        dictionary.LoadDictionary(path);
        EXPECT_TRUE(dictionary.IsLoaded() && !dictionary.FileFound());
        // Loaded once per run, even when empty, from a file or from text.
        dictionary.LoadDictionary(folder.File("KVR.ini"));
        dictionary.LoadFromText("[records]\n1101=Wing area,float\n");
        EXPECT_EQ(dictionary.Type(0x1101), DataType::Unknown);
    }
}

TEST(SplitFields, PiecesAndLimit) {
    EXPECT_EQ(SplitFields("a, b ,c", ','), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitFields("", ','), (std::vector<std::string>{""}));
    std::string sixty;
    for (int i = 0; i < 60; ++i) {
        sixty += std::to_string(i) + ",";
    }
    const auto pieces = SplitFields(sixty, ',');
    ASSERT_EQ(pieces.size(), 50u);
    EXPECT_EQ(pieces[48], "48");
    EXPECT_EQ(pieces[49].substr(0, 6), "49,50,");
}

RecordDictionary Load(const std::string& text) {
    RecordDictionary dictionary;
    dictionary.LoadFromText(text);
    return dictionary;
}

TEST(RecordDictionary, RecordSectionLines) {
    const RecordDictionary d = Load(
        "ignored=1\n[records]\n1101=Wing area,float\n1101h=Area of the wing|in square feet\n"
        "1204H=Upper-case help key\n1204=Engine data,record ; comment\n1a0F=Mixed case,ANG16\n"
        "0433ay=Mach|Delta|x|corner\n2000=Old,int16\n2000=Name\n2001=Old,int16\n2001=Name,\n"
        "2002=Odd ,nonsense\n[records2]\n2003=Later section,bool\n");
    // A second line for a number keeps the type when it names none.
    const std::vector<std::tuple<int, std::string, int>> rows = {
        {0x1101, "Wing area", DataType::Float}, {0x1204, "Engine data", DataType::Record},
        {0x1a0f, "Mixed case", DataType::Ang16}, {0x2000, "Name", DataType::Int16},
        {0x2001, "Name,", DataType::Int16},      {0x2002, "Odd ", DataType::Unknown},
        {0x2003, "Later section", DataType::Bool},
    };
    for (const auto& [number, name, type] : rows) {
        EXPECT_EQ(std::tuple(d.Name(number), d.Type(number), d.IsDefined(number)), std::tuple(name, type, true));
    }
    EXPECT_EQ(std::tuple(d.Entry(0x1101).help, d.Entry(0x1204).help, d.Entry(0x0433).axis, d.IsDefined(0x0433), d.SkippedLines()),
              std::tuple("Area of the wing|in square feet", "Upper-case help key", "Mach|Delta|x|corner", false, 0));
}

TEST(RecordDictionary, LayoutSections) {
    const RecordDictionary d = Load(
        "[records]\n1204=Engine data,record\n"
        "[1204]\n"
        "1=Limits\n"
        "2=0x00,int16,Max RPM\n"
        "3=0x02,6,Spare\n"
        "2h=Revolutions|per minute\n"
        "5=0x10,int16\n"
        "6=0x20,xyz,Pad\n"
        "[1204]\n"
        "1=0x00,double,Ignored\n"
        "[ Records ]\n"
        "1=Label of a layout for record 0\n");
    const int layout = d.LayoutOf(0x1204);
    ASSERT_EQ(layout, 0);
    EXPECT_EQ(d.FieldCount(layout), 3); // field 4 is missing, so 5 and 6 are not shown
    const std::vector<std::tuple<int, int, int, std::string>> fields = {
        {1, DataType::Label, -1, "Limits"}, {2, DataType::Int16, 0, "Max RPM"},
        {3, DataType::RawBlockBase + 6, 2, "Spare"}, {5, DataType::Int16, 0x10, ""},
        {6, DataType::RawBlockBase, 0x20, "Pad"}, // an unknown type reads as no bytes
    };
    for (const auto& [number, type, offset, name] : fields) {
        const FieldDef& field = d.Field(layout, number);
        EXPECT_EQ(std::tie(field.type, field.offset, field.name), std::tie(type, offset, name)) << number;
    }
    EXPECT_EQ(d.Field(layout, 2).help, "Revolutions|per minute");
    EXPECT_EQ(d.LayoutCount(), 2); // "[ Records ]" is a layout section, and one that fails to parse
}

TEST(RecordDictionary, OutOfRangeLinesAreSkippedAndCounted) {
    std::string text = "[records]\n3E80=Too high,int16\n3E7F=Highest,int16\nzz=Not hex,int16\n=empty key\n";
    text += "[1000]\n200=0x00,int16,Too far\n199=0x00,int16,Last\n";
    for (int i = 0; i < 501; ++i) {
        text += "[" + std::to_string(2000 + i) + "]\n1=Label\n";
    }
    const RecordDictionary d = Load(text);
    // Skipped: 3E80, zz, empty key, field 200, and the last two layout sections with their lines.
    EXPECT_EQ(std::tuple(d.Name(0x3E7F), d.Name(0x3E80), d.Type(0x3E80), d.Type(-1), d.LayoutCount(),
                         d.Field(d.LayoutOf(0x1000), 199).name, d.SkippedLines()),
              std::tuple("Highest", "", DataType::Unknown, DataType::Unknown, RecordDictionary::kMaxLayouts, "Last", 4 + 2 * 2));
}

TEST(DictionaryLocation, CandidatesInOrderOfPrecedence) {
    const struct {
        const char* programFolder;
        const char* xdgConfigHome;
        const char* xdgDataHome;
        const char* home;
        std::string user;
        std::string oldUser;
        std::vector<std::string> bundled;
    } cases[] = {
        {"/opt/k/bin", "/x/config", "/x/data", "/home/u", "/x/config/kelvara/KVR.ini",
         "/x/data/kelvara/KVR.ini", {"/opt/k/bin/KVR.ini", "/opt/k/share/kelvara/KVR.ini"}},
        // A relative XDG value is invalid; the default under the home folder applies.
        {"/usr/bin/", "config", "data", "/home/u", "/home/u/.config/kelvara/KVR.ini",
         "/home/u/.local/share/kelvara/KVR.ini", {"/usr/bin/KVR.ini", "/usr/share/kelvara/KVR.ini"}},
        {"/usr/bin", "", "", "", "", "", {"/usr/bin/KVR.ini", "/usr/share/kelvara/KVR.ini"}},
        // An unknown program folder never becomes the current folder.
        {"bin", "", "", "/h", "/h/.config/kelvara/KVR.ini", "/h/.local/share/kelvara/KVR.ini", {}},
        {"", "", "", "relative", "", "", {}},
    };
    for (const auto& c : cases) {
        const DictionaryPlaces places =
            DictionaryCandidates(c.programFolder, c.xdgConfigHome, c.xdgDataHome, c.home);
        EXPECT_EQ(std::tuple(places.user, places.oldUser, places.bundled),
                  std::tuple(c.user, c.oldUser, c.bundled))
            << c.programFolder << " " << c.xdgDataHome << " " << c.home;
    }
}

// An installed tree gains, one by one, a copy beside the program and a user's copy. A copy in
// the old place is the user's only while it differs from the bundled one: an install into
// ~/.local writes the bundled copy exactly there.
TEST(DictionaryLocation, FirstReadableFileWins) {
    test::TempFolder root;
    const std::string bin = root.File("prefix/bin");
    const std::string installed = root.File("prefix/share/kelvara/KVR.ini");
    const std::string user = root.File("config/kelvara/KVR.ini");
    const std::string old = root.File("data/kelvara/KVR.ini");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(root.File("prefix/share/kelvara"));
    std::filesystem::create_directories(root.File("data/kelvara"));
    std::filesystem::create_directories(user); // a folder of that name is passed over
    const test::ScopedEnv config("XDG_CONFIG_HOME", root.File("config"));
    const test::ScopedEnv data("XDG_DATA_HOME", root.File("data"));

    const DictionaryLookup none = FindDictionary(bin);
    EXPECT_FALSE(none.Found());
    EXPECT_EQ(DictionaryLookupText(none),
              "KVR.ini not found in: " + user + " " + old + " " + bin + "/KVR.ini " + installed);
    test::WriteFile(installed, std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(bin).path, installed);
    EXPECT_TRUE(IsInstalledProgram(bin));

    test::WriteFile(old, std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(bin).path, installed) << "the same bytes: the installed copy";
    test::WriteFile(old, std::string("[records]\n1101=Own name,float\n"));
    EXPECT_EQ(DictionaryLookupText(FindDictionary(bin)),
              "KVR.ini: " + old + " (the old place; move it to " + user + ")");

    test::WriteFile(bin + "/KVR.ini", std::string("[records]\n1101=Own name,float\n"));
    EXPECT_EQ(FindDictionary(bin).path, bin + "/KVR.ini");
    EXPECT_FALSE(IsInstalledProgram(bin)) << "a copy beside the program: a build folder";

    std::filesystem::remove(user);
    test::WriteFile(user, std::string("[records]\n"));
    EXPECT_EQ(DictionaryLookupText(FindDictionary(bin)), "KVR.ini: " + user);
}

} // namespace
} // namespace kelvara
