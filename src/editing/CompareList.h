// The compare view's list between the loaded file (A) and another (B). A difference names its
// records by number and occurrence, never by node: the list is rebuilt after every change to A,
// and a record that went away can only be not found. Copying a record across makes A's record
// as B has it, which for a record B lacks means removing it.
#pragma once

#include "RecordDiff.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvara {

class RecordNode;
class RecordTree;
class RootEditor;

// The top-level position of the n-th record (from 0, in tree order) with this number.
[[nodiscard]] std::optional<size_t> FindOccurrence(const RecordTree& tree, int32_t number,
                                                   size_t occurrence);
// The difference that lists this top-level record of A.
[[nodiscard]] std::optional<size_t> DifferenceOf(const std::vector<RecordDifference>& list,
                                                 const RecordTree& a, const RecordNode& root);
// The position in A of the record a difference lists, if A has it.
[[nodiscard]] std::optional<size_t> PositionInA(const RecordTree& a, const RecordDifference& d);

// Whether copying this difference across removes A's record.
[[nodiscard]] inline bool CopyRemoves(const RecordDifference& d) { return d.kind == DiffKind::OnlyInA; }

struct CopiedAcross {
    bool changed = false;        // false: the trees no longer hold what the difference names
    std::optional<size_t> shown; // the position of the record copied in; none after a removal
};

// Puts B's version of the difference into A through the editor: in place of A's record, or, for
// a record only B has, after A's records of that number or before the first higher one.
CopiedAcross CopyRecordAcross(RootEditor& a, const RecordTree& b, const RecordDifference& d);

} // namespace kelvara
