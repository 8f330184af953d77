// Where KVR.ini is looked for, and which copy wins, in the build folder and an installed tree.
#include "DictionaryLocation.h"

#include "AirFileBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace kelvara {
namespace {

struct CandidateCase {
    const char* name;
    const char* programFolder;
    const char* xdgDataHome;
    const char* home;
    std::vector<std::string> expected;
};

TEST(DictionaryLocation, CandidatesInOrderOfPrecedence) {
    const CandidateCase cases[] = {
        {"user copy first, then beside the program, then the prefix's share",
         "/opt/k/bin", "/x/data", "/home/u",
         {"/x/data/kelvara/KVR.ini", "/opt/k/bin/KVR.ini", "/opt/k/share/kelvara/KVR.ini"}},
        {"XDG default under the home folder", "/usr/bin", "", "/home/u",
         {"/home/u/.local/share/kelvara/KVR.ini", "/usr/bin/KVR.ini",
          "/usr/share/kelvara/KVR.ini"}},
        {"relative XDG value is invalid, the default applies", "/usr/bin", "data", "/home/u",
         {"/home/u/.local/share/kelvara/KVR.ini", "/usr/bin/KVR.ini",
          "/usr/share/kelvara/KVR.ini"}},
        {"trailing slash", "/usr/bin/", "", "",
         {"/usr/bin/KVR.ini", "/usr/share/kelvara/KVR.ini"}},
        {"no home, no XDG: program places only", "/usr/bin", "", "relative",
         {"/usr/bin/KVR.ini", "/usr/share/kelvara/KVR.ini"}},
        {"unknown or relative program folder is never the current folder", "bin", "", "/h",
         {"/h/.local/share/kelvara/KVR.ini"}},
        {"nothing known", "", "", "", {}},
    };
    for (const CandidateCase& c : cases) {
        EXPECT_EQ(DictionaryCandidates(c.programFolder, c.xdgDataHome, c.home), c.expected)
            << c.name;
    }
}

// An installed tree: <prefix>/bin, <prefix>/share/kelvara, and a user's data folder.
class DictionaryLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(Bin());
        std::filesystem::create_directories(mRoot.File("prefix/share/kelvara"));
        std::filesystem::create_directories(mRoot.File("user/kelvara"));
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            mOldXdg = old;
        }
        ::setenv("XDG_DATA_HOME", mRoot.File("user").c_str(), 1);
    }
    void TearDown() override {
        if (mOldXdg) {
            ::setenv("XDG_DATA_HOME", mOldXdg->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }
    std::string Bin() const { return mRoot.File("prefix/bin"); }
    std::string Installed() const { return mRoot.File("prefix/share/kelvara/KVR.ini"); }
    std::string Beside() const { return mRoot.File("prefix/bin/KVR.ini"); }
    std::string User() const { return mRoot.File("user/kelvara/KVR.ini"); }

    test::TempFolder mRoot;
    std::optional<std::string> mOldXdg;
};

TEST_F(DictionaryLookupTest, FirstExistingFileWins) {
    EXPECT_FALSE(IsInstalledProgram(Bin()));
    test::WriteFile(Installed(), std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(Bin()).path, Installed());
    EXPECT_TRUE(IsInstalledProgram(Bin()));

    test::WriteFile(Beside(), std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(Bin()).path, Beside());
    EXPECT_FALSE(IsInstalledProgram(Bin())) << "a copy beside the program: a build folder";

    test::WriteFile(User(), std::string("[records]\n"));
    const DictionaryLookup lookup = FindDictionary(Bin());
    EXPECT_EQ(lookup.path, User());
    EXPECT_EQ(DictionaryLookupText(lookup), "KVR.ini: " + User());
}

TEST_F(DictionaryLookupTest, FolderNamedLikeTheFileIsPassedOver) {
    std::filesystem::create_directories(User());
    test::WriteFile(Installed(), std::string("[records]\n"));
    EXPECT_EQ(FindDictionary(Bin()).path, Installed());
}

TEST_F(DictionaryLookupTest, NoneFoundNamesEveryPlaceLookedAt) {
    const DictionaryLookup lookup = FindDictionary(Bin());
    EXPECT_FALSE(lookup.Found());
    EXPECT_EQ(DictionaryLookupText(lookup),
              "KVR.ini not found in: " + User() + " " + Beside() + " " + Installed());
}

} // namespace
} // namespace kelvara
