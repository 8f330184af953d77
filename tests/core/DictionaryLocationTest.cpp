// Where KVR.ini is looked for, and which copy wins, in the build folder and an installed tree.
#include "DictionaryLocation.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvara {
namespace {

TEST(DictionaryLocation, CandidatesInOrderOfPrecedence) {
    const struct {
        const char* programFolder;
        const char* xdgDataHome;
        const char* home;
        std::vector<std::string> expected;
    } cases[] = {
        {"/opt/k/bin", "/x/data", "/home/u",
         {"/x/data/kelvara/KVR.ini", "/opt/k/bin/KVR.ini", "/opt/k/share/kelvara/KVR.ini"}},
        // A relative XDG value is invalid; the default under the home folder applies.
        {"/usr/bin/", "data", "/home/u",
         {"/home/u/.local/share/kelvara/KVR.ini", "/usr/bin/KVR.ini",
          "/usr/share/kelvara/KVR.ini"}},
        {"/usr/bin", "", "", {"/usr/bin/KVR.ini", "/usr/share/kelvara/KVR.ini"}},
        // An unknown program folder never becomes the current folder.
        {"bin", "", "/h", {"/h/.local/share/kelvara/KVR.ini"}},
        {"", "", "relative", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DictionaryCandidates(c.programFolder, c.xdgDataHome, c.home), c.expected)
            << c.programFolder << " " << c.xdgDataHome << " " << c.home;
    }
}

// An installed tree gains, one by one, a copy beside the program and a user's copy.
TEST(DictionaryLocation, FirstReadableFileWins) {
    test::TempFolder root;
    const std::string bin = root.File("prefix/bin");
    const std::string installed = root.File("prefix/share/kelvara/KVR.ini");
    const std::string user = root.File("user/kelvara/KVR.ini");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(root.File("prefix/share/kelvara"));
    std::filesystem::create_directories(user); // a folder of that name is passed over
    const test::ScopedEnv xdg("XDG_DATA_HOME", root.File("user"));

    EXPECT_FALSE(FindDictionary(bin).Found());
    test::WriteFile(installed, std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(bin).path, installed);
    EXPECT_TRUE(IsInstalledProgram(bin));

    test::WriteFile(bin + "/KVR.ini", std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(bin).path, bin + "/KVR.ini");
    EXPECT_FALSE(IsInstalledProgram(bin)) << "a copy beside the program: a build folder";

    std::filesystem::remove(user);
    test::WriteFile(user, std::string("[records]\n"));
    EXPECT_EQ(DictionaryLookupText(FindDictionary(bin)), "KVR.ini: " + user);
}

} // namespace
} // namespace kelvara
