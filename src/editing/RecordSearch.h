// "Search First" and "Search Next" over the record tree: captions, and the texts of text
// records, in the tree's flat order (each record, then its fields), wrapping at the end.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kelvara {

class RecordNode;
class RecordTree;

// The user's lower-casing; the window passes its locale's, tests a plain one.
using LowerCase = std::function<std::string(std::string_view)>;
// A node's caption as the tree shows it; without one, the caption stored with the node.
using CaptionOf = std::function<std::string(const RecordNode&)>;

class RecordSearch {
public:
    // A new search: the first step examines the node after the first, the first one last.
    void Start(std::string text, bool caseSensitive, const LowerCase& lower);

    // One step from the last node found. nullptr when a whole round found nothing (the
    // caller says "not found"); the case option is read anew at every step.
    RecordNode* FindNext(const RecordTree& tree, bool caseSensitive, const LowerCase& lower,
                         const CaptionOf& caption = {});

    [[nodiscard]] const std::string& SearchText() const { return mSearchText; }
    [[nodiscard]] size_t SearchIndex() const { return mSearchIndex; }

private:
    std::string mSearchText;
    size_t mSearchIndex = 0;
};

} // namespace kelvara
