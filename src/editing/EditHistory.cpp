#include "EditHistory.h"

#include "RecordTree.h"

#include <algorithm>
#include <utility>

namespace kelvara {

std::unique_ptr<RecordNode> CloneNode(const RecordNode& node) {
    auto copy = std::make_unique<RecordNode>();
    copy->SetCaption(node.Caption());
    copy->record = node.record;
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        copy->AppendChild(CloneNode(*node.Child(i)));
    }
    return copy;
}

EditHistory::EditHistory(RootEditor& editor) : mEditor(editor), mRecorder(*this) {}

EditHistory::~EditHistory() {
    if (mAttached) {
        SetRecordEditObserver(mPrevious);
    }
}

void EditHistory::Attach() {
    if (!mAttached) {
        mPrevious = SetRecordEditObserver(this);
        mAttached = true;
    }
}

void EditHistory::Clear() {
    mSteps.clear();
    mIndex = 0;
    mSavedIndex = 0;
    mDepth = 0;
    mOpen = {};
    mTypingNext = false;
    mPendingRoot.reset();
}

void EditHistory::Notify() const {
    if (mStepsChanged) {
        mStepsChanged();
    }
}

void EditHistory::MarkSaved() {
    mSavedIndex = mIndex;
}

void EditHistory::BeginStep() {
    ++mDepth;
}

void EditHistory::EndStep() {
    if (mDepth == 0) {
        return;
    }
    if (--mDepth == 0) {
        Commit();
    }
}

std::optional<size_t> EditHistory::RootIndexOf(const RecordNode& node) const {
    const RecordNode* root = &node;
    while (root->Parent()) {
        root = root->Parent();
    }
    const RecordTree& tree = mEditor.Tree();
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        if (tree.Root(i) == root) {
            return i;
        }
    }
    return std::nullopt; // a tree the history does not keep, e.g. a file opened to compare
}

EditHistory::Snapshot EditHistory::Take(const RecordNode& root) {
    Snapshot snapshot;
    snapshot.data.push_back(root.record.data.ToVector());
    for (size_t i = 0; i < root.ChildCount(); ++i) {
        snapshot.data.push_back(root.Child(i)->record.data.ToVector());
    }
    return snapshot;
}

RecordNode* EditHistory::PartOf(const RecordNode& root, size_t part) {
    if (part == 0) {
        return const_cast<RecordNode*>(&root);
    }
    return part <= root.ChildCount() ? const_cast<RecordNode*>(root.Child(part - 1)) : nullptr;
}

std::optional<EditHistory::Snapshot> EditHistory::TakeRange(const RecordNode& root, size_t part,
                                                            size_t offset, size_t size) {
    const RecordNode* holder = PartOf(root, part);
    if (!holder || offset > holder->record.data.size() || size > holder->record.data.size() - offset) {
        return std::nullopt;
    }
    const auto from = holder->record.data.begin() + static_cast<std::ptrdiff_t>(offset);
    Snapshot snapshot;
    snapshot.partial = true;
    snapshot.part = part;
    snapshot.offset = offset;
    snapshot.data.emplace_back(from, from + static_cast<std::ptrdiff_t>(size));
    return snapshot;
}

void EditHistory::Restore(RecordNode& root, const Snapshot& snapshot) {
    if (snapshot.partial) {
        RecordNode* holder = PartOf(root, snapshot.part);
        const std::vector<uint8_t>& bytes = snapshot.data.front();
        if (holder && snapshot.offset <= holder->record.data.size() &&
            bytes.size() <= holder->record.data.size() - snapshot.offset) {
            std::copy(bytes.begin(), bytes.end(),
                      holder->record.data.begin() + static_cast<std::ptrdiff_t>(snapshot.offset));
            CopyFieldToParent(*holder);
        }
        return;
    }
    const size_t n = std::min(snapshot.data.size(), root.ChildCount() + 1);
    for (size_t i = 0; i < n; ++i) {
        AirRecord& record = i == 0 ? root.record : root.Child(i - 1)->record;
        record.data = snapshot.data[i];
    }
}

void EditHistory::RecordChanging(const RecordNode& node) {
    mPendingRoot.reset();
    if (mApplying) {
        return;
    }
    if (const std::optional<size_t> root = RootIndexOf(node)) {
        mPendingRoot = root;
        mPendingBefore = Take(*mEditor.Tree().Root(*root));
    }
}

void EditHistory::RecordChanged(const RecordNode&) {
    if (mPendingRoot) {
        Finish(Take(*mEditor.Tree().Root(*mPendingRoot)));
    }
}

void EditHistory::RangeChanging(const RecordNode& node, size_t offset, size_t size) {
    const RecordNode* parent = node.Parent();
    // Only a record or a field of one is kept as a range; deeper nodes as a whole.
    if (parent && parent->Parent()) {
        RecordChanging(node);
        return;
    }
    mPendingRoot.reset();
    if (mApplying) {
        return;
    }
    const std::optional<size_t> root = RootIndexOf(node);
    if (!root) {
        return;
    }
    const size_t part = parent ? static_cast<size_t>(node.Row()) + 1 : 0;
    if (auto before = TakeRange(*mEditor.Tree().Root(*root), part, offset, size)) {
        mPendingRoot = root;
        mPendingBefore = std::move(*before);
        mPendingSize = size;
    }
}

void EditHistory::RangeChanged(const RecordNode& node, size_t offset, size_t size) {
    if (!mPendingRoot) {
        return;
    }
    if (!mPendingBefore.partial) {
        RecordChanged(node);
        return;
    }
    auto after = TakeRange(*mEditor.Tree().Root(*mPendingRoot), mPendingBefore.part, offset, size);
    if (after && size == mPendingSize && offset == mPendingBefore.offset) {
        Finish(std::move(*after));
    } else {
        mPendingRoot.reset();
    }
}

void EditHistory::Finish(Snapshot after) {
    Change change;
    change.root = *mPendingRoot;
    change.before = std::move(mPendingBefore);
    change.after = std::move(after);
    mPendingRoot.reset();
    if (change.before != change.after) {
        Add(std::move(change));
    }
}

bool EditHistory::Join(Change& last, Change& next) const {
    if (last.kind != Change::Kind::Bytes || next.kind != Change::Kind::Bytes || last.root != next.root) {
        return false;
    }
    if (!last.before.partial && !next.before.partial) {
        last.after = std::move(next.after);
        return true;
    }
    if (!last.before.partial || !next.before.partial || last.before.part != next.before.part) {
        return false;
    }
    // Both ranges as one: the bytes now are the state after both; before, each range holds what
    // it held before its own change, the older change's bytes winning where they overlap.
    const size_t lastEnd = last.before.offset + last.before.data.front().size();
    const size_t nextEnd = next.before.offset + next.before.data.front().size();
    const size_t first = std::min(last.before.offset, next.before.offset);
    const size_t end = std::max(lastEnd, nextEnd);
    if (end - first > kMaxJoinedRange || last.root >= mEditor.Tree().RootCount()) {
        return false;
    }
    auto after = TakeRange(*mEditor.Tree().Root(last.root), last.before.part, first, end - first);
    if (!after) {
        return false;
    }
    Snapshot before = *after;
    for (const Snapshot* older : {&next.before, &last.before}) {
        const std::vector<uint8_t>& bytes = older->data.front();
        std::copy(bytes.begin(), bytes.end(),
                  before.data.front().begin() + static_cast<std::ptrdiff_t>(older->offset - first));
    }
    last.before = std::move(before);
    last.after = std::move(*after);
    return true;
}

void EditHistory::Add(Change change) {
    // Byte changes of one record within a step collapse into one.
    if (change.kind == Change::Kind::Bytes && !mOpen.changes.empty()) {
        Change& last = mOpen.changes.back();
        if (Join(last, change)) {
            if (mDepth == 0) {
                Commit();
            }
            return;
        }
    }
    mOpen.changes.push_back(std::move(change));
    if (mDepth == 0) {
        Commit();
    }
}

void EditHistory::Commit() {
    const bool typed = std::exchange(mTypingNext, false);
    if (mOpen.changes.empty()) {
        return;
    }
    Step step = std::exchange(mOpen, {});
    step.typed = typed;
    // A typed change joins the typed step before it on the same record, unless that step is
    // the saved state (the saved point must stay reachable) or was undone.
    if (typed && mIndex == mSteps.size() && mIndex > 0 && mSavedIndex != mIndex) {
        Step& last = mSteps.back();
        if (last.typed && last.changes.size() == 1 && step.changes.size() == 1 &&
            last.changes[0].kind == Change::Kind::Bytes &&
            step.changes[0].kind == Change::Kind::Bytes &&
            last.changes[0].root == step.changes[0].root && Join(last.changes[0], step.changes[0])) {
            if (last.changes[0].after == last.changes[0].before) {
                mSteps.pop_back(); // typed back to where the run began
                mIndex = mSteps.size();
            }
            Notify();
            return;
        }
    }
    if (mSavedIndex && *mSavedIndex > mIndex) {
        mSavedIndex.reset(); // the saved state was among the redo steps dropped here
    }
    mSteps.erase(mSteps.begin() + static_cast<std::ptrdiff_t>(mIndex), mSteps.end());
    mSteps.push_back(std::move(step));
    if (mSteps.size() > kMaxSteps) {
        mSteps.erase(mSteps.begin());
        if (mSavedIndex) {
            mSavedIndex = *mSavedIndex == 0 ? std::nullopt : std::optional(*mSavedIndex - 1);
        }
    }
    mIndex = mSteps.size();
    Notify();
}

void EditHistory::Apply(const Change& change, bool forward) {
    using Kind = Change::Kind;
    const RecordTree& tree = mEditor.Tree();
    const bool insert = (change.kind == Kind::Insert) == forward;
    switch (change.kind) {
    case Kind::Bytes:
        if (change.root < tree.RootCount()) {
            Restore(*tree.Root(change.root), forward ? change.after : change.before);
        }
        break;
    case Kind::Remove:
    case Kind::Insert:
        if (insert && change.root <= tree.RootCount()) {
            mEditor.InsertRoot(change.root, CloneNode(*change.node));
        } else if (!insert && change.root < tree.RootCount()) {
            mEditor.TakeRoot(change.root);
        }
        break;
    }
}

std::optional<size_t> EditHistory::Undo() {
    mDepth = 0;
    Commit();
    if (!CanUndo()) {
        return std::nullopt;
    }
    const Step& step = mSteps[--mIndex];
    mApplying = true;
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) {
        Apply(*it, false);
    }
    mApplying = false;
    Notify();
    return step.changes.front().root;
}

std::optional<size_t> EditHistory::Redo() {
    mDepth = 0;
    Commit();
    if (!CanRedo()) {
        return std::nullopt;
    }
    const Step& step = mSteps[mIndex++];
    mApplying = true;
    for (const Change& change : step.changes) {
        Apply(change, true);
    }
    mApplying = false;
    Notify();
    return step.changes.back().root;
}

const RecordTree& EditHistory::Recorder::Tree() const {
    return mHistory.mEditor.Tree();
}

std::unique_ptr<RecordNode> EditHistory::Recorder::TakeRoot(size_t index) {
    std::unique_ptr<RecordNode> taken = mHistory.mEditor.TakeRoot(index);
    if (taken && !mHistory.mApplying) {
        Change change;
        change.kind = Change::Kind::Remove;
        change.root = index;
        change.node = CloneNode(*taken);
        mHistory.Add(std::move(change));
    }
    return taken;
}

RecordNode* EditHistory::Recorder::InsertRoot(size_t index, std::unique_ptr<RecordNode> node) {
    RecordNode* inserted = mHistory.mEditor.InsertRoot(index, std::move(node));
    if (inserted && !mHistory.mApplying) {
        Change change;
        change.kind = Change::Kind::Insert;
        change.root = static_cast<size_t>(inserted->Row());
        change.node = CloneNode(*inserted);
        mHistory.Add(std::move(change));
    }
    return inserted;
}

} // namespace kelvara
