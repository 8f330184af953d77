#include "DiffCommand.h"

#include "RecordDictionary.h"
#include "RecordDiff.h"
#include "Windows1252.h"

#include <iostream>

namespace kelvara {

namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

bool Load(const std::string& path, const RecordDictionary& dictionary, const ReadOptions& options,
          RecordTree& tree) {
    const ReadResult result = ReadAirFile(path, dictionary, options, tree);
    if (result.code == ReadResultCode::CannotOpen) {
        std::cerr << "error: could not open .air file " << path << "\n";
        return false;
    }
    if (result.code != ReadResultCode::Ok) {
        std::cerr << "error: " << path << " is damaged: " << result.message << "\n";
        return false;
    }
    return true;
}

} // namespace

int RunDiff(const std::vector<std::string>& args, const std::string& ini, const ReadOptions& options) {
    if (args.size() != 3) {
        std::cerr << "usage: kelvara-cli [options] diff A.air B.air\n";
        return kTrouble;
    }
    RecordDictionary dictionary;
    dictionary.LoadDictionary(ini);
    if (!ini.empty() && !dictionary.FileFound()) {
        std::cerr << "warning: no record dictionary at " << ini << "\n";
    }
    RecordTree a;
    RecordTree b;
    if (!Load(args[1], dictionary, options, a) || !Load(args[2], dictionary, options, b)) {
        return kTrouble;
    }
    const std::vector<RecordDifference> differences = DiffRecords(a, b, dictionary, options.style);
    for (const RecordDifference& d : differences) {
        // Record texts are Windows-1252 and names UTF-8 or Windows-1252: the terminal gets
        // UTF-8, through the same bridge the compare view uses.
        std::cout << DecodeConfigText(DifferenceText(d, dictionary.Type(d.lookupNumber) == 1));
    }
    return differences.empty() ? kSame : kDifferent;
}

} // namespace kelvara
