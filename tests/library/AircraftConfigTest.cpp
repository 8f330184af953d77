// Sim paths, quotes and the section rules of one configuration text.
#include "AircraftConfig.h"

#include <gtest/gtest.h>

using namespace kelvara;

TEST(AircraftConfig, SimPathFromValue) {
    struct Case {
        const char* folder;
        const char* value;
        const char* path;
    };
    const Case cases[] = {
        {"/F/SimObjects/Airplanes/Mine", "Mine", "/F/SimObjects/Airplanes/Mine/Mine"},
        {"/F/SimObjects/Airplanes/Mine", "..\\C172\\Cessna172SP", "/F/SimObjects/Airplanes/C172/Cessna172SP"},
        {"/F/SimObjects/Airplanes/Mine", "..\\..\\Other\\Base", "/F/SimObjects/Other/Base"},
        {"/F/SimObjects/Airplanes/Mine", "..\\", "/F/SimObjects/Airplanes/Mine/../"},
        {"/F/SimObjects/Airplanes/Mine", "sub\\Model", "/F/SimObjects/Airplanes/Mine/sub/Model"},
        {"Mine", "..\\..\\X", "Mine/X"}, // no folder left to climb
        {"/Mine", "..\\Xy", "/Xy"},
        {"/F/Mine", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SimPathFromValue(c.folder, c.value), c.path) << c.folder << " + " << c.value;
    }
}

TEST(AircraftConfig, SectionRules) {
    AircraftEntry entry;
    const int count = ReadAircraftConfigText(
        entry, "/F/A",
        "[FLTSIM.7]\n[ignored header]\ntitle = T0 ; comment\nsim=m\nTEXTURE=Red\n"
        "ui_thumbnailfile=\"t\\p.jpg\"\n"
        "[general]\nsim=not me\n"
        "[fltsim.8]\ntitle=T1\nsim=m2\nui_manufacturer=\n");
    ASSERT_EQ(count, 2);
    EXPECT_EQ(entry.folder, "/F/A");
    // The line after a header belongs to the section even when it is a header itself.
    EXPECT_EQ(entry.variations[0].title, "T0");
    EXPECT_EQ(entry.variations[0].texture, "Red");
    EXPECT_EQ(entry.variations[0].thumbnailFile, "t\\p.jpg");
    EXPECT_EQ(entry.variations[1].sim, "/F/A/m2");
    EXPECT_EQ(entry.variations[1].manufacturer, "");
}
