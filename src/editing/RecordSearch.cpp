#include "RecordSearch.h"

#include "DataType.h"
#include "RecordTree.h"

#include <vector>

namespace kelvara {

namespace {

// The text as the record view's memo holds it: one line break character.
std::string MemoText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            text += bytes[i];
        }
    }
    return text;
}

} // namespace

void RecordSearch::Start(std::string text, bool caseSensitive, const LowerCase& lower) {
    mSearchIndex = 0;
    mSearchText = caseSensitive ? std::move(text) : lower(text);
}

RecordNode* RecordSearch::FindNext(const RecordTree& tree, bool caseSensitive, const LowerCase& lower,
                                   const CaptionOf& caption) {
    std::vector<RecordNode*> nodes;
    nodes.reserve(tree.NodeCount());
    tree.ForEach([&nodes](RecordNode& node) { nodes.push_back(&node); });
    // An empty text is never found, and an empty tree has nothing to go round.
    if (mSearchText.empty() || nodes.empty()) {
        return nullptr;
    }
    // The tree may have lost nodes since the last step (cut, another file).
    if (mSearchIndex >= nodes.size()) {
        mSearchIndex = 0;
    }
    auto contains = [&](const std::string& text) {
        return (caseSensitive ? text : lower(text)).find(mSearchText) != std::string::npos;
    };
    const size_t start = mSearchIndex;
    do {
        mSearchIndex = (mSearchIndex + 1) % nodes.size();
        RecordNode* node = nodes[mSearchIndex];
        if (contains(caption ? caption(*node) : node->Caption())) {
            return node;
        }
        if (node->record.type == DataType::Text && contains(MemoText(node->record.Text()))) {
            return node;
        }
    } while (mSearchIndex != start);
    return nullptr;
}

} // namespace kelvara
