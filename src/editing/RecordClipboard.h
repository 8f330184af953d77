// The program's own record clipboard: copies of a whole record with its fields, which can be
// pasted into the same or another file, replacing the record of the same number there.
// Every node owns its record, so a pasted record lives exactly as long as its node, and the
// clipboard's copies live as long as the clipboard.
#pragma once

#include "RecordTree.h"

#include <memory>
#include <string>
#include <vector>

namespace kelvara {

// The structural edits of the top level of a tree. The window's tree model implements it so
// that the view hears of every removal and insertion as it happens.
class RootEditor {
public:
    virtual ~RootEditor() = default;
    [[nodiscard]] virtual const RecordTree& Tree() const = 0;
    virtual std::unique_ptr<RecordNode> TakeRoot(size_t index) = 0;
    virtual RecordNode* InsertRoot(size_t index, std::unique_ptr<RecordNode> node) = 0;
};

// Edits a tree that nothing shows.
class PlainRootEditor : public RootEditor {
public:
    explicit PlainRootEditor(RecordTree& tree) : mTree(tree) {}
    [[nodiscard]] const RecordTree& Tree() const override { return mTree; }
    std::unique_ptr<RecordNode> TakeRoot(size_t index) override { return mTree.TakeRoot(index); }
    RecordNode* InsertRoot(size_t index, std::unique_ptr<RecordNode> node) override {
        return mTree.InsertRoot(index, std::move(node));
    }

private:
    RecordTree& mTree;
};

struct ClipEntry {
    std::string caption;
    AirRecord record;
};

class RecordClipboard {
public:
    // Copies a top-level record with its fields; a field alone cannot be copied (false).
    bool CopyRecord(const RecordNode& node);
    // Copies, then removes the node from the tree and hands it back to be released.
    std::unique_ptr<RecordNode> CutRecord(RootEditor& editor, const RecordNode& node);
    // Removes every top-level record of the copied number, then inserts a new node built from
    // the copies where the sort by record number puts it. nullptr when the clipboard is empty.
    RecordNode* PasteRecord(RootEditor& editor) const;

    [[nodiscard]] bool Empty() const { return mEntries.empty(); }
    // Entry 0 is the record, entries 1 and up its fields in order.
    [[nodiscard]] const std::vector<ClipEntry>& Entries() const { return mEntries; }

private:
    std::vector<ClipEntry> mEntries;
};

} // namespace kelvara
