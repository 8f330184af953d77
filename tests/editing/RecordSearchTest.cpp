// Search First / Search Next over captions and the texts of text records.
#include "DataType.h"
#include "RecordSearch.h"
#include "RecordTree.h"
#include "TextUtil.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

const LowerCase kLower = [](std::string_view text) { return ToLower(text); };

// "caption", "caption|text" for a text record, " caption" for a field of the record before.
RecordTree Tree(const std::vector<std::string>& nodes) {
    RecordTree tree;
    for (const std::string& line : nodes) {
        auto node = std::make_unique<RecordNode>();
        const size_t bar = line.find('|');
        node->caption = line.substr(0, bar);
        if (bar != std::string::npos) {
            // The text and its closing zero byte.
            const std::string text = line.substr(bar + 1);
            std::vector<uint8_t> bytes(text.begin(), text.end());
            bytes.push_back(0);
            node->record.type = DataType::Text;
            node->record.SetData(std::move(bytes));
        }
        line[0] == ' ' ? tree.Root(tree.RootCount() - 1)->AppendChild(std::move(node))
                       : tree.AppendRoot(std::move(node));
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
        SearchCase{"FirstNodeIsExaminedLast", {"rpm 1", "rpm 2", "rpm 3"}, "rpm", false, {"rpm 2", "rpm 3", "rpm 1"}},
        SearchCase{"FieldsComeAfterTheirRecord", {"Engine", " Max RPM", "Flaps RPM"}, "rpm", false, {" Max RPM", "Flaps RPM"}},
        SearchCase{"EmptyTextIsNeverFound", {"a", "b"}, "", false, {""}},
        SearchCase{"EmptyTreeFindsNothing", {}, "a", false, {""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchState, ATreeThatShrankSinceTheLastStepStillEndsItsRound) {
    const RecordTree big = Tree({"a", "b", "c", "d", "needle"});
    RecordSearch search;
    search.Start("needle", true, kLower);
    ASSERT_EQ(search.FindNext(big, true, kLower), big.Root(4));
    EXPECT_EQ(search.FindNext(Tree({"a", "b"}), true, kLower), nullptr);
    // The text keeps the case it was started with; the option is read at each step.
    search.Start("NEEDLE", false, kLower);
    EXPECT_EQ(search.FindNext(big, true, kLower), big.Root(4));
}

} // namespace
} // namespace kelvara
