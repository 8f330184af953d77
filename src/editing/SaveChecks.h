// What is worth a word before a file is saved: tables whose keys run backwards, counts that
// do not match the bytes, doubles that are no numbers, records too short for their type. The
// simulator reads such a file without complaint and flies something else than intended.
#pragma once

#include <string>
#include <vector>

namespace kelvara {

class RecordDictionary;
class RecordNode;
class RecordTree;

struct CheckFinding {
    const RecordNode* node = nullptr; // the record or field it is about
    std::string text;                 // "0300 Lift: X values do not ascend at point 3 (2 after 5)"
};

// In tree order; at most one finding of each kind per record.
[[nodiscard]] std::vector<CheckFinding> CheckBeforeSaving(const RecordTree& tree,
                                                          const RecordDictionary& dictionary);

} // namespace kelvara
