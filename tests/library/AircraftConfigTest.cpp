// Sim paths, quotes and the section rules of one configuration text.
#include "AircraftConfig.h"

#include <gtest/gtest.h>

using namespace kelvara;

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
