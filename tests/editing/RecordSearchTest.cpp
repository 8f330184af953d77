// Search First / Search Next over captions and the texts of text records.
#include "DataType.h"
#include "RecordSearch.h"
#include "RecordTree.h"
#include "TextUtil.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

const LowerCase kLower = [](std::string_view text) { return ToLower(text); };

// Roots from "caption" or "caption|text" (a text record); "  caption" is a field of the root before.
RecordTree Tree(const std::vector<std::string>& nodes) {
    RecordTree tree;
    for (const std::string& spec : nodes) {
        auto node = std::make_unique<RecordNode>();
        const size_t bar = spec.find('|');
        node->caption = spec.substr(0, bar);
        if (bar != std::string::npos) {
            const std::string text = spec.substr(bar + 1);
            node->record.type = DataType::Text;
            node->record.SetData(std::vector<uint8_t>(text.begin(), text.end() + 1));
        }
        if (spec.starts_with("  ")) {
            node->record.isField = true;
            tree.Root(tree.RootCount() - 1)->AppendChild(std::move(node));
        } else {
            tree.AppendRoot(std::move(node));
        }
    }
    return tree;
}

struct SearchCase {
    const char* name;
    std::vector<std::string> tree;
    const char* text;
    bool caseSensitive;
    std::vector<std::string> found; // captions of successive steps, "" for not found
};

class Search : public ::testing::TestWithParam<SearchCase> {};

TEST_P(Search, FindsInTreeOrderAndWraps) {
    const SearchCase& c = GetParam();
    const RecordTree tree = Tree(c.tree);
    RecordSearch search;
    search.Start(c.text, c.caseSensitive, kLower);
    for (const std::string& expected : c.found) {
        const RecordNode* node = search.FindNext(tree, c.caseSensitive, kLower);
        EXPECT_EQ(node ? node->caption : "", expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Search,
    ::testing::Values(
        SearchCase{"OneNodeTreeIsExaminedAfterWrapping", {"Wing area"}, "wing", false, {"Wing area", "Wing area"}},
        SearchCase{"IgnoringCaseAbFindsaB", {"x", "The aB record"}, "Ab", false, {"The aB record"}},
        SearchCase{"CaseSensitiveAbMissesaB", {"x", "The aB record"}, "Ab", true, {""}},
        SearchCase{"MatchInTheTextOnly", {"Title", "Description|a long\r\nstory"}, "LONG\nSTORY", false, {"Description"}},
        SearchCase{"FirstNodeIsExaminedLast", {"rpm 1", "rpm 2", "rpm 3"}, "rpm", false, {"rpm 2", "rpm 3", "rpm 1", "rpm 2"}},
        SearchCase{"FieldsAreSearchedAfterTheirRecord", {"Engine", "  Max RPM", "Flaps RPM"}, "rpm", false, {"  Max RPM", "Flaps RPM"}},
        SearchCase{"EmptyTextIsNeverFound", {"a", "b"}, "", false, {""}},
        SearchCase{"EmptyTreeFindsNothing", {}, "a", false, {""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchState, ATreeThatShrankSinceTheLastStepStillEndsItsRound) {
    RecordTree big = Tree({"a", "b", "c", "d", "needle"});
    RecordSearch search;
    search.Start("needle", true, kLower);
    ASSERT_NE(search.FindNext(big, true, kLower), nullptr);
    EXPECT_EQ(search.SearchIndex(), 4u);
    const RecordTree small = Tree({"a", "b"});
    EXPECT_EQ(search.FindNext(small, true, kLower), nullptr);
    // The stored text keeps the case it was started with; the option is read at each step.
    search.Start("NEEDLE", false, kLower);
    EXPECT_EQ(search.SearchText(), "needle");
    EXPECT_EQ(search.FindNext(big, true, kLower), big.Root(4));
}

} // namespace
} // namespace kelvara
