// What is worth a word before a file is saved: tables whose keys run backwards, counts that
// do not match the bytes, doubles that are no numbers, records too short for their type. The
// simulator reads such a file without complaint and flies something else than intended.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelvara {

class RecordDictionary;
class RecordNode;
class RecordTree;

struct CheckFinding {
    const RecordNode* node = nullptr; // the record or field it is about
    std::string text;                 // "0300 Lift: X values go backwards at point 3 (2 after 5)"
};

// In tree order; at most one finding of each kind per record. Equal neighbouring keys pass:
// real files hold them (unused all-zero tables, a repeated column). Only the records for which
// include(record) holds are looked at; without it, all of them.
[[nodiscard]] std::vector<CheckFinding> CheckBeforeSaving(
    const RecordTree& tree, const RecordDictionary& dictionary,
    const std::function<bool(const RecordNode& record)>& include = {});

} // namespace kelvara
