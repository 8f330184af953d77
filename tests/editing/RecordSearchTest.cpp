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
        node->SetCaption(line.substr(0, bar));
        if (bar != std::string::npos) {
            const std::string text = line.substr(bar + 1) + '\0'; // with its closing zero byte
            node->record.type = DataType::Text;
            node->record.SetData(std::vector<uint8_t>(text.begin(), text.end()));
        }
        line[0] == ' ' ? tree.Root(tree.RootCount() - 1)->AppendChild(std::move(node))
                       : tree.AppendRoot(std::move(node));
    }
    return tree;
}

TEST(Search, FindsInTreeOrderAndWraps) {
    // tree, text, case sensitive, captions of successive steps ("" for not found)
    using Captions = std::vector<std::string>;
    const std::tuple<const char*, Captions, const char*, bool, Captions> cases[] = {
        {"one node is examined after wrapping", {"Wing area"}, "wing", false, {"Wing area", "Wing area"}},
        {"ignoring case Ab finds aB", {"x", "The aB record"}, "Ab", false, {"The aB record"}},
        {"case sensitive Ab misses aB", {"x", "The aB record"}, "Ab", true, {""}},
        {"match in the text only", {"Title", "Description|a long\r\nstory"}, "LONG\nSTORY", false,
         {"Description"}},
        {"first node is examined last", {"rpm 1", "rpm 2", "rpm 3"}, "rpm", false,
         {"rpm 2", "rpm 3", "rpm 1"}},
        {"fields come after their record", {"Engine", " Max RPM", "Flaps RPM"}, "rpm", false,
         {" Max RPM", "Flaps RPM"}},
        {"empty text is never found", {"a", "b"}, "", false, {""}},
        {"empty tree finds nothing", {}, "a", false, {""}}};
    for (const auto& [name, nodes, text, caseSensitive, found] : cases) {
        const RecordTree tree = Tree(nodes);
        RecordSearch search;
        search.Start(text, caseSensitive, kLower);
        for (const std::string& expected : found) {
            const RecordNode* node = search.FindNext(tree, caseSensitive, kLower);
            EXPECT_EQ(node ? node->Caption() : "", expected) << name;
        }
    }
}

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
