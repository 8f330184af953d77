#include "DiffCommand.h"

#include "RecordDictionary.h"
#include "RecordDiff.h"

#include <cstdio>
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

// Texts may hold line breaks and control bytes; one difference stays on one line.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 32) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Shown(const std::string& text, bool quote) {
    return quote && text != kAbsentValue ? Quoted(text) : text;
}

void Print(const RecordDifference& d, bool textRecord, std::ostream& out) {
    char number[16];
    std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(d.lookupNumber));
    out << number << " " << (d.name.empty() ? "(no name)" : d.name) << ": ";
    switch (d.kind) {
    case DiffKind::OnlyInA:
        out << "only in A\n";
        break;
    case DiffKind::OnlyInB:
        out << "only in B\n";
        break;
    case DiffKind::Value:
        out << Shown(d.oldText, textRecord) << " -> " << Shown(d.newText, textRecord) << "\n";
        break;
    case DiffKind::Fields:
        out << d.fields.size() << (d.fields.size() == 1 ? " field differs\n" : " fields differ\n");
        for (const ValueChange& field : d.fields) {
            out << "    " << field.what << ": " << Shown(field.oldText, field.isText) << " -> "
                << Shown(field.newText, field.isText) << "\n";
        }
        break;
    case DiffKind::Table:
        out << d.differingPoints << " of " << d.pointCount << " points differ\n";
        for (const ValueChange& point : d.points) {
            out << "    " << point.what << ": " << point.oldText << " -> " << point.newText << "\n";
        }
        if (d.differingPoints > d.points.size()) {
            out << "    ...\n";
        }
        break;
    case DiffKind::Bytes:
        out << d.differingBytes << " of " << d.byteCount << " bytes differ\n";
        break;
    }
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
        Print(d, dictionary.Type(d.lookupNumber) == 1, std::cout);
    }
    return differences.empty() ? kSame : kDifferent;
}

} // namespace kelvara
