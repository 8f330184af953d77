// Undo and redo for the loaded file. Every byte change arrives through ReplaceRecordBytes
// (the history is its observer while attached), every structural change through the
// RootEditor that Structure() hands out. A step remembers whole top-level records (with their
// fields) before and after, so undo restores the bytes exactly, parent and fields alike.
// Records are found by their position among the top-level records: all structural changes are
// recorded too, so at the time a step is undone the tree is as it was when the step was made.
#pragma once

#include "RecordClipboard.h"
#include "RecordEdits.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kelvara {

// A deep copy of a node with its fields.
[[nodiscard]] std::unique_ptr<RecordNode> CloneNode(const RecordNode& node);

class EditHistory : public RecordEditObserver {
public:
    static constexpr size_t kMaxSteps = 500;

    explicit EditHistory(RootEditor& editor);
    ~EditHistory() override;
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Starts hearing of this thread's ReplaceRecordBytes calls; ends on destruction.
    void Attach();

    // Forgets every step; the tree as it is counts as saved (a new file or variation).
    void Clear();
    // The tree as it is was written to disk.
    void MarkSaved();
    [[nodiscard]] bool AtSavedState() const { return mSavedIndex == mIndex; }

    // Everything between Begin and End is one step (a drag, a paste, a pasted block).
    // Nests; an End without a Begin does nothing.
    void BeginStep();
    void EndStep();
    // The next change may join the previous one when both were typed into the same record,
    // so a typed number is one step rather than one per key.
    void MarkTyping() { mTypingNext = true; }
    void ForgetTyping() { mTypingNext = false; }

    [[nodiscard]] bool CanUndo() const { return mIndex > 0; }
    [[nodiscard]] bool CanRedo() const { return mIndex < mSteps.size(); }
    // The top-level position of the last record the step touched, if any.
    std::optional<size_t> Undo();
    std::optional<size_t> Redo();
    [[nodiscard]] size_t StepCount() const { return mSteps.size(); }
    // Called whenever a step was added, undone or redone.
    void SetStepsChanged(std::function<void()> callback) { mStepsChanged = std::move(callback); }

    // Structural edits of the tree go through this editor so that they are recorded.
    [[nodiscard]] RootEditor& Structure() { return mRecorder; }

    void RecordChanging(const RecordNode& node) override;
    void RecordChanged(const RecordNode& node) override;
    void RangeChanging(const RecordNode& node, size_t offset, size_t size) override;
    void RangeChanged(const RecordNode& node, size_t offset, size_t size) override;

private:
    // Ranges further apart than this stay changes of their own rather than one joined range.
    static constexpr size_t kMaxJoinedRange = 256;

    struct Snapshot {
        std::vector<std::vector<uint8_t>> data; // the record, then its fields
        // A range: data holds only the bytes from offset on of part (0: the record, i: field
        // i - 1), so that a value edit in a large table keeps a few bytes, not the table.
        bool partial = false;
        size_t part = 0;
        size_t offset = 0;
        bool operator==(const Snapshot&) const = default;
    };
    struct Change {
        enum class Kind { Bytes, Remove, Insert } kind = Kind::Bytes;
        size_t root = 0;
        Snapshot before;
        Snapshot after;
        std::unique_ptr<RecordNode> node; // Remove/Insert: a copy of the node that went or came
    };
    struct Step {
        std::vector<Change> changes;
        bool typed = false;
    };
    class Recorder : public RootEditor {
    public:
        explicit Recorder(EditHistory& history) : mHistory(history) {}
        [[nodiscard]] const RecordTree& Tree() const override;
        std::unique_ptr<RecordNode> TakeRoot(size_t index) override;
        RecordNode* InsertRoot(size_t index, std::unique_ptr<RecordNode> node) override;

    private:
        EditHistory& mHistory;
    };

    [[nodiscard]] std::optional<size_t> RootIndexOf(const RecordNode& node) const;
    static Snapshot Take(const RecordNode& root);
    static void Restore(RecordNode& root, const Snapshot& snapshot);
    // Null when the part is no longer there.
    static RecordNode* PartOf(const RecordNode& root, size_t part);
    static std::optional<Snapshot> TakeRange(const RecordNode& root, size_t part, size_t offset, size_t size);
    bool Join(Change& last, Change& next) const;
    void Finish(Snapshot after);
    void Add(Change change);
    void Commit();
    void Notify() const;
    void Apply(const Change& change, bool forward);

    RootEditor& mEditor;
    Recorder mRecorder;
    bool mAttached = false;
    RecordEditObserver* mPrevious = nullptr;
    std::vector<Step> mSteps;
    size_t mIndex = 0;                          // steps before it are done
    std::optional<size_t> mSavedIndex = size_t{0}; // none: the saved state cannot be reached
    int mDepth = 0;
    Step mOpen;
    bool mTypingNext = false;
    bool mApplying = false;
    std::function<void()> mStepsChanged;
    std::optional<size_t> mPendingRoot;
    Snapshot mPendingBefore;
    size_t mPendingSize = 0;
};

} // namespace kelvara
