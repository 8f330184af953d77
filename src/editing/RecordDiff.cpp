#include "RecordDiff.h"

#include "AirFileReader.h"
#include "DataType.h"
#include "RecordDictionary.h"
#include "RecordTree.h"
#include "ValueEncoding.h"
#include "ValueFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

namespace kelvara {

namespace {

struct Cell {
    std::string where;
    std::string text;
    std::string exact; // the text that reads back bit for bit, shown when the texts agree
    std::string bytes; // compared, so that a change in the last bits still counts
};

std::string ExactText(double value, const NumberStyle& style) {
    return FormatRoundTrip(value, style.decimal == 1 ? '.' : style.localeMark);
}

std::string PointBytes(std::span<const uint8_t> data, size_t at, size_t size) {
    return std::string(reinterpret_cast<const char*>(data.data() + at), size);
}

uint32_t U32(std::span<const uint8_t> data, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, data.data() + at, 4);
    return v;
}

double F64(std::span<const uint8_t> data, size_t at) {
    double v = 0;
    std::memcpy(&v, data.data() + at, 8);
    return v;
}

// The points of a table as texts, reading only what the data holds.
std::vector<Cell> TableCells(const AirRecord& record, const NumberStyle& style) {
    const std::span<const uint8_t> data = record.Bytes();
    std::vector<Cell> cells;
    switch (record.type) {
    case DataType::TblDb: {
        if (data.size() < 4) {
            break;
        }
        const uint64_t count = std::min<uint64_t>(U32(data, 0), (data.size() - 4) / 16);
        for (uint64_t i = 0; i < count; ++i) {
            const size_t at = 4 + 16 * static_cast<size_t>(i);
            const double x = F64(data, at);
            const double y = F64(data, at + 8);
            cells.push_back({"point " + std::to_string(i),
                             FormatDouble(x, style) + "; " + FormatDouble(y, style),
                             ExactText(x, style) + "; " + ExactText(y, style), PointBytes(data, at, 16)});
        }
        break;
    }
    case DataType::Tbl16:
    case DataType::Tbl16_2:
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
            const auto raw = static_cast<uint16_t>(data[i] | (data[i + 1] << 8));
            // Sixteen bits over 2048 need at most 13 digits: the text is exact.
            std::string text = record.type == DataType::Tbl16
                                   ? std::to_string(raw)
                                   : FormatDouble(static_cast<int16_t>(raw) / 2048.0, style);
            cells.push_back({"point " + std::to_string(i / 2), text, text, PointBytes(data, i, 2)});
        }
        break;
    case DataType::Tbl3d:
    case DataType::Tbl3d_2: {
        if (data.size() < 8) {
            break;
        }
        const uint64_t columns = U32(data, 0);
        const uint64_t rows = U32(data, 4);
        const uint64_t held = (data.size() - 8) / 8;
        // Walk the cells the record holds, not the header's claim: 4 billion columns of no rows
        // would otherwise loop for minutes. The product of two 32-bit counts fits 64 bits.
        const uint64_t count = std::min(columns * rows, held);
        for (uint64_t index = 0; index < count; ++index) {
            const size_t at = 8 + 8 * static_cast<size_t>(index);
            const double value = F64(data, at);
            cells.push_back({"column " + std::to_string(index / rows) + ", row " + std::to_string(index % rows),
                             FormatDouble(value, style), ExactText(value, style), PointBytes(data, at, 8)});
        }
        break;
    }
    default:
        break;
    }
    return cells;
}

size_t DifferingBytes(const AirRecord& a, const AirRecord& b) {
    const size_t shared = std::min(a.data.size(), b.data.size());
    size_t count = std::max(a.data.size(), b.data.size()) - shared;
    for (size_t i = 0; i < shared; ++i) {
        count += a.data[i] != b.data[i] ? 1 : 0;
    }
    return count;
}

std::string ValueText(const AirRecord& record, const NumberStyle& style) {
    if (record.type == DataType::Text) {
        return record.Text();
    }
    return FormatValue(record.type, record.Bytes(), style);
}

// Hex bytes shown per side: a short block whole, a longer one from the first difference on.
constexpr size_t kShownBytes = 32;

struct HexSides {
    std::string where;
    std::string a;
    std::string b;
};

HexSides DifferingHex(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    const size_t size = std::max(a.size(), b.size());
    size_t first = 0;
    while (first < a.size() && first < b.size() && a[first] == b[first]) {
        ++first;
    }
    const size_t start = size <= kShownBytes ? 0 : first / 8 * 8;
    const size_t end = std::min(size, start + kShownBytes);
    const auto side = [&](std::span<const uint8_t> bytes) -> std::string {
        if (start >= bytes.size()) {
            return kAbsentValue;
        }
        const std::span<const uint8_t> shown = bytes.subspan(start, std::min(end, bytes.size()) - start);
        return (start > 0 ? "\u2026 " : "") + HexBytesText(shown) + (bytes.size() > end ? " \u2026" : "");
    };
    char where[48];
    std::snprintf(where, sizeof where, "bytes 0x%zX-0x%zX", start, end == 0 ? 0 : end - 1);
    return {where, side(a), side(b)};
}

bool HasValueText(int type) {
    return type == DataType::Text || type == DataType::Bool || IsNumberType(type);
}

void DiffTable(const AirRecord& a, const AirRecord& b, const NumberStyle& style,
               RecordDifference& out) {
    const std::vector<Cell> before = TableCells(a, style);
    const std::vector<Cell> after = TableCells(b, style);
    out.pointCount = std::max(before.size(), after.size());
    for (size_t i = 0; i < out.pointCount; ++i) {
        const Cell* x = i < before.size() ? &before[i] : nullptr;
        const Cell* y = i < after.size() ? &after[i] : nullptr;
        if (x && y && x->where == y->where && x->bytes == y->bytes) {
            continue;
        }
        ++out.differingPoints;
        if (out.points.size() < kShownTablePoints) {
            const bool exact = x && y && x->text == y->text;
            out.points.push_back({(x ? x : y)->where, x ? (exact ? x->exact : x->text) : kAbsentValue,
                                  y ? (exact ? y->exact : y->text) : kAbsentValue});
        }
    }
}

void DiffFields(const RecordNode& a, const RecordNode& b, const RecordDictionary& dictionary,
                const NumberStyle& style, RecordDifference& out) {
    const size_t count = std::max(a.ChildCount(), b.ChildCount());
    for (size_t i = 0; i < count; ++i) {
        const AirRecord* x = i < a.ChildCount() ? &a.Child(i)->record : nullptr;
        const AirRecord* y = i < b.ChildCount() ? &b.Child(i)->record : nullptr;
        if (x && y && x->data == y->data) {
            continue;
        }
        const AirRecord& named = x ? *x : *y;
        std::string name = TextsOf(named, dictionary).name;
        if (name.empty()) {
            name = "field " + std::to_string(i + 1);
        }
        if (!HasValueText(named.type)) { // a block of bytes: no value shows the difference
            HexSides hex = DifferingHex(x ? x->Bytes() : std::span<const uint8_t>(),
                                        y ? y->Bytes() : std::span<const uint8_t>());
            out.fields.push_back({name, x ? hex.a : kAbsentValue, y ? hex.b : kAbsentValue, false});
            continue;
        }
        out.fields.push_back({name, x ? ValueText(*x, style) : kAbsentValue,
                              y ? ValueText(*y, style) : kAbsentValue, named.type == DataType::Text});
    }
}

RecordDifference Compare(const RecordNode& a, const RecordNode& b, const RecordDictionary& dictionary,
                         const NumberStyle& style) {
    RecordDifference out;
    out.lookupNumber = a.record.lookupNumber;
    out.name = TextsOf(a.record, dictionary).name;
    const int type = a.record.type;
    if (IsTableType(type)) {
        out.kind = DiffKind::Table;
        DiffTable(a.record, b.record, style, out);
        if (out.differingPoints > 0) {
            return out;
        }
    } else if (a.ChildCount() > 0 || b.ChildCount() > 0) {
        out.kind = DiffKind::Fields;
        DiffFields(a, b, dictionary, style, out);
        if (!out.fields.empty()) {
            return out;
        }
    } else if (HasValueText(type)) {
        out.oldText = ValueText(a.record, style);
        out.newText = ValueText(b.record, style);
        if (out.oldText == out.newText && type == DataType::Double && a.record.data.size() >= 8 &&
            b.record.data.size() >= 8) {
            out.oldText = ExactText(F64(a.record.Bytes(), 0), style);
            out.newText = ExactText(F64(b.record.Bytes(), 0), style);
        }
        if (out.oldText != out.newText) {
            out.kind = DiffKind::Value;
            return out;
        }
    }
    // Bytes that no value shows (padding, bytes past the zero of a text, a table's tail).
    out.kind = DiffKind::Bytes;
    out.oldText.clear();
    out.newText.clear();
    out.differingBytes = DifferingBytes(a.record, b.record);
    out.byteCount = std::max(a.record.data.size(), b.record.data.size());
    out.fields.clear();
    out.points.clear();
    HexSides hex = DifferingHex(a.record.Bytes(), b.record.Bytes());
    out.points.push_back({std::move(hex.where), std::move(hex.a), std::move(hex.b)});
    return out;
}

RecordDifference OneSided(DiffKind kind, const RecordNode& node, const RecordDictionary& dictionary) {
    RecordDifference out;
    out.kind = kind;
    out.lookupNumber = node.record.lookupNumber;
    out.name = TextsOf(node.record, dictionary).name;
    return out;
}

} // namespace

std::vector<RecordDifference> DiffRecords(const RecordTree& a, const RecordTree& b,
                                          const RecordDictionary& dictionary,
                                          const NumberStyle& style) {
    auto sorted = [](const RecordTree& tree) {
        std::vector<const RecordNode*> roots;
        for (size_t i = 0; i < tree.RootCount(); ++i) {
            roots.push_back(tree.Root(i));
        }
        std::stable_sort(roots.begin(), roots.end(), [](const RecordNode* x, const RecordNode* y) {
            return x->record.lookupNumber < y->record.lookupNumber;
        });
        return roots;
    };
    const std::vector<const RecordNode*> left = sorted(a);
    const std::vector<const RecordNode*> right = sorted(b);
    const auto counts = [](const std::vector<const RecordNode*>& roots) {
        std::map<int32_t, size_t> numbers;
        for (const RecordNode* root : roots) {
            ++numbers[root->record.lookupNumber];
        }
        return numbers;
    };
    const std::map<int32_t, size_t> inA = counts(left);
    const std::map<int32_t, size_t> inB = counts(right);
    std::vector<RecordDifference> out;
    size_t i = 0;
    size_t j = 0;
    // Records of one number sit together once sorted: each side counts within the run.
    size_t nLeft = 0;
    size_t nRight = 0;
    const auto step = [](const std::vector<const RecordNode*>& roots, size_t& at, size_t& n) {
        ++at;
        n = at < roots.size() && roots[at]->record.lookupNumber == roots[at - 1]->record.lookupNumber ? n + 1 : 0;
    };
    while (i < left.size() || j < right.size()) {
        if (j == right.size() ||
            (i < left.size() && left[i]->record.lookupNumber < right[j]->record.lookupNumber)) {
            out.push_back(OneSided(DiffKind::OnlyInA, *left[i], dictionary));
            out.back().occurrence = nLeft;
            step(left, i, nLeft);
        } else if (i == left.size() || right[j]->record.lookupNumber < left[i]->record.lookupNumber) {
            out.push_back(OneSided(DiffKind::OnlyInB, *right[j], dictionary));
            out.back().occurrence = nRight;
            step(right, j, nRight);
        } else {
            const RecordNode& x = *left[i];
            const RecordNode& y = *right[j];
            if (x.record.data != y.record.data) {
                out.push_back(Compare(x, y, dictionary, style));
                out.back().occurrence = nLeft;
            }
            step(left, i, nLeft);
            step(right, j, nRight);
        }
    }
    for (RecordDifference& d : out) {
        const auto x = inA.find(d.lookupNumber);
        const auto y = inB.find(d.lookupNumber);
        d.countInA = x == inA.end() ? 0 : x->second;
        d.countInB = y == inB.end() ? 0 : y->second;
    }
    return out;
}

std::string HexBytesText(std::span<const uint8_t> bytes, size_t limit) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    const size_t shown = std::min(bytes.size(), limit);
    text.reserve(shown * 3 + 4);
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    if (shown < bytes.size()) {
        text += " \u2026";
    }
    return text;
}

namespace {

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

} // namespace

std::string DifferenceText(const RecordDifference& d, bool textRecord) {
    std::ostringstream out;
    char number[16];
    std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(d.lookupNumber));
    out << number << " " << (d.name.empty() ? "(no name)" : d.name) << ": ";
    switch (d.kind) {
    case DiffKind::OnlyInA:
    case DiffKind::OnlyInB: {
        const bool inA = d.kind == DiffKind::OnlyInA;
        const size_t here = inA ? d.countInA : d.countInB;
        const size_t there = inA ? d.countInB : d.countInA;
        if (there == 0) {
            out << (inA ? "only in A\n" : "only in B\n");
        } else { // the number repeats: one more of it on this side
            out << "repeated record number: " << here << (here == 1 ? " time" : " times") << " in "
                << (inA ? "A" : "B") << ", " << there << (there == 1 ? " time" : " times") << " in "
                << (inA ? "B" : "A") << "\n";
        }
        break;
    }
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
        for (const ValueChange& bytes : d.points) {
            out << "    " << bytes.what << ": " << bytes.oldText << " -> " << bytes.newText << "\n";
        }
        break;
    }
    return out.str();
}

} // namespace kelvara
