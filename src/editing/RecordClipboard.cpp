#include "RecordClipboard.h"

namespace kelvara {

bool RecordClipboard::CopyRecord(const RecordNode& node) {
    if (node.record.isField || node.Parent()) {
        return false;
    }
    std::vector<ClipEntry> entries;
    entries.reserve(node.ChildCount() + 1);
    entries.push_back({node.Caption(), node.record});
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        const RecordNode& child = *node.Child(i);
        entries.push_back({child.Caption(), child.record});
    }
    mEntries = std::move(entries);
    return true;
}

std::unique_ptr<RecordNode> RecordClipboard::CutRecord(RootEditor& editor, const RecordNode& node) {
    const RecordTree& tree = editor.Tree();
    const auto row = static_cast<size_t>(node.Row());
    if (!CopyRecord(node) || row >= tree.RootCount() || tree.Root(row) != &node) {
        return nullptr;
    }
    return editor.TakeRoot(row);
}

RecordNode* RecordClipboard::PasteRecord(RootEditor& editor) const {
    if (mEntries.empty()) {
        return nullptr;
    }
    const RecordTree& tree = editor.Tree();
    const int32_t number = mEntries.front().record.lookupNumber;
    // From the back, so that a removal never skips the node after it.
    for (size_t i = tree.RootCount(); i-- > 0;) {
        if (tree.Root(i)->record.lookupNumber == number) {
            editor.TakeRoot(i);
        }
    }
    auto node = std::make_unique<RecordNode>();
    node->SetCaption(mEntries.front().caption);
    node->record = mEntries.front().record;
    for (size_t i = 1; i < mEntries.size(); ++i) {
        auto child = std::make_unique<RecordNode>();
        child->SetCaption(mEntries[i].caption);
        child->record = mEntries[i].record;
        node->AppendChild(std::move(child));
    }
    // Behind every record of a smaller or equal number, as a stable sort would put it.
    size_t at = 0;
    while (at < tree.RootCount() && CompareRecordNodes(*tree.Root(at), *node) <= 0) {
        ++at;
    }
    return editor.InsertRoot(at, std::move(node));
}

} // namespace kelvara
