// The browser's lists: sort order, manufacturers, the aircraft of one manufacturer, marks.
#include "BrowserLists.h"

#include <gtest/gtest.h>


using namespace kelvara;

namespace {

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

} // namespace

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

    const std::vector<AircraftLine> acme = AircraftOfManufacturer(library, lines, "Acme");
    ASSERT_EQ(acme.size(), 2u);
    EXPECT_EQ(acme[0].text, "alpha"); // "alpha - blue" comes first in the all-aircraft list
    EXPECT_EQ(acme[1].code, MakeAircraftCode(0, 0));
    const std::vector<AircraftLine> none = AircraftOfManufacturer(library, lines, " ");
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].text, "Gamma");
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
}
