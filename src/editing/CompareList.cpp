#include "CompareList.h"

#include "EditHistory.h"
#include "RecordClipboard.h"
#include "RecordTree.h"

namespace kelvara {

std::optional<size_t> FindOccurrence(const RecordTree& tree, int32_t number, size_t occurrence) {
    size_t seen = 0;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        if (tree.Root(i)->record.lookupNumber == number && seen++ == occurrence) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<size_t> DifferenceOf(const std::vector<RecordDifference>& list, const RecordTree& a,
                                   const RecordNode& root) {
    const int32_t number = root.record.lookupNumber;
    size_t occurrence = 0;
    for (size_t i = 0; i < a.RootCount() && a.Root(i) != &root; ++i) {
        occurrence += a.Root(i)->record.lookupNumber == number ? 1 : 0;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        const RecordDifference& d = list[i];
        if (d.kind != DiffKind::OnlyInB && d.lookupNumber == number && d.occurrence == occurrence) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<size_t> PositionInA(const RecordTree& a, const RecordDifference& d) {
    if (d.kind == DiffKind::OnlyInB) {
        return std::nullopt;
    }
    return FindOccurrence(a, d.lookupNumber, d.occurrence);
}

CopiedAcross CopyRecordAcross(RootEditor& editor, const RecordTree& b, const RecordDifference& d) {
    const RecordTree& a = editor.Tree();
    const std::optional<size_t> inA = PositionInA(a, d);
    const std::optional<size_t> inB =
        d.kind == DiffKind::OnlyInA ? std::nullopt : FindOccurrence(b, d.lookupNumber, d.occurrence);
    if ((d.kind != DiffKind::OnlyInB && !inA) || (d.kind != DiffKind::OnlyInA && !inB)) {
        return {};
    }
    if (!inB) {
        return {editor.TakeRoot(*inA) != nullptr, std::nullopt};
    }
    size_t index = a.RootCount();
    if (inA) {
        index = *inA;
        editor.TakeRoot(index);
    } else {
        // After the records of the same number, so that the n-th stays the n-th; otherwise
        // before the first higher number.
        std::optional<size_t> lastSame;
        std::optional<size_t> firstHigher;
        for (size_t i = 0; i < a.RootCount(); ++i) {
            const int32_t number = a.Root(i)->record.lookupNumber;
            if (number == d.lookupNumber) {
                lastSame = i;
            } else if (number > d.lookupNumber && !firstHigher) {
                firstHigher = i;
            }
        }
        index = lastSame ? *lastSame + 1 : firstHigher.value_or(a.RootCount());
    }
    const RecordNode* inserted = editor.InsertRoot(index, CloneNode(*b.Root(*inB)));
    if (!inserted) {
        return {true, std::nullopt};
    }
    return {true, static_cast<size_t>(inserted->Row())};
}

} // namespace kelvara
