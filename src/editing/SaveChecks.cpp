#include "SaveChecks.h"

#include "AirFileReader.h"
#include "DataType.h"
#include "RecordTree.h"
#include "ValueEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>

namespace kelvara {

namespace {

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

double DoubleAt(std::span<const uint8_t> data, size_t offset) {
    double value = 0;
    std::memcpy(&value, data.data() + offset, sizeof value);
    return value;
}

uint32_t U32At(std::span<const uint8_t> data, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, data.data() + offset, sizeof value);
    return value; // files are little-endian, as is every machine this builds for
}

class Checker {
public:
    Checker(const RecordNode& node, const RecordDictionary& dictionary,
            std::vector<CheckFinding>& out)
        : mNode(node), mData(node.record.data), mOut(out) {
        const RecordNode& record = node.Parent() ? *node.Parent() : node;
        char number[16];
        std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(record.record.number));
        mLabel = number;
        const std::string recordName = TextsOf(record.record, dictionary).name;
        if (!recordName.empty()) {
            mLabel += " " + recordName;
        }
        if (node.Parent()) {
            const std::string fieldName = TextsOf(node.record, dictionary).name;
            mLabel += " / " + (fieldName.empty() ? "field " + std::to_string(node.Row() + 1)
                                                 : fieldName);
        }
    }

    void Run() {
        // A field past the record's end is one the dictionary knows and this file lacks.
        if (mNode.record.isField && mData.empty()) {
            return;
        }
        const int type = mNode.record.type;
        const int width = FixedWidth(type);
        if ((type == DataType::Bool || IsNumberType(type)) && width > 0 &&
            mData.size() < static_cast<size_t>(width)) {
            Say("holds " + std::to_string(mData.size()) + " bytes, fewer than the " +
                std::to_string(width) + " its type needs");
        } else if (type == DataType::Double) {
            CheckFinite(0, 1);
        } else if (type == DataType::TblDb) {
            CheckPairs();
        } else if (type == DataType::Tbl3d || type == DataType::Tbl3d_2) {
            CheckMatrix();
        }
    }

private:
    void Say(const std::string& what) { mOut.push_back({&mNode, mLabel + ": " + what}); }

    // The first of count doubles from offset on that is NaN or infinite.
    void CheckFinite(size_t offset, size_t count) {
        for (size_t i = 0; i < count && offset + 8 * (i + 1) <= mData.size(); ++i) {
            const double value = DoubleAt(mData, offset + 8 * i);
            if (!std::isfinite(value)) {
                Say(std::string(std::isnan(value) ? "a value is not a number (NaN)"
                                                  : "a value is infinite") +
                    (count > 1 ? " at byte " + std::to_string(offset + 8 * i) : ""));
                return;
            }
        }
    }

    void CountMismatch(const std::string& counts, uint64_t needed) {
        Say(counts + " need " + std::to_string(needed) + " bytes, the record holds " +
            std::to_string(mData.size()));
    }

    void CheckPairs() {
        if (mData.size() < 4) {
            Say("holds " + std::to_string(mData.size()) + " bytes, too few for a point count");
            return;
        }
        const uint64_t points = U32At(mData, 0);
        const uint64_t needed = std::max<uint64_t>(12, 4 + 16 * points);
        if (mData.size() != needed) {
            CountMismatch(std::to_string(points) + " points", needed);
        }
        const size_t present = std::min<uint64_t>(points, (mData.size() - 4) / 16);
        CheckFinite(4, 2 * present);
        for (size_t i = 1; i < present; ++i) {
            const double before = DoubleAt(mData, 4 + 16 * (i - 1));
            const double x = DoubleAt(mData, 4 + 16 * i);
            if (x < before && std::isfinite(x) && std::isfinite(before)) {
                Say("X values go backwards at point " + std::to_string(i + 1) + " (" +
                    Number(x) + " after " + Number(before) + ")");
                return;
            }
        }
    }

    void CheckMatrix() {
        if (mData.size() < 8) {
            Say("holds " + std::to_string(mData.size()) +
                " bytes, too few for column and row counts");
            return;
        }
        const uint64_t columns = U32At(mData, 0);
        const uint64_t rows = U32At(mData, 4);
        const uint64_t cells = columns * rows; // both below 2^32: fits
        const uint64_t present = (mData.size() - 8) / 8;
        if (cells != present || (mData.size() - 8) % 8 != 0) {
            const std::string counts =
                std::to_string(columns) + " columns of " + std::to_string(rows) + " rows";
            if (cells > (UINT64_MAX - 8) / 8) {
                Say(counts + " need more bytes than any file holds, the record holds " +
                    std::to_string(mData.size()));
            } else {
                CountMismatch(counts, 8 + 8 * cells);
            }
        }
        CheckFinite(8, present);
        const auto at = [&](uint64_t index) { return DoubleAt(mData, 8 + 8 * index); };
        // Keys are looked at only where the bytes hold them: a header may claim billions.
        const uint64_t columnKeys = rows == 0 ? 0 : std::min(columns, (present + rows - 1) / rows);
        Ascending("column", columnKeys, [&](uint64_t a) { return at(a * rows); });
        Ascending("row", std::min(rows, present), [&](uint64_t b) { return at(b); });
    }

    // Keys 1 .. count-1 (0 is the corner) must not fall.
    template <typename Key> void Ascending(const char* what, uint64_t count, Key key) {
        for (uint64_t i = 2; i < count; ++i) {
            const double before = key(i - 1);
            const double value = key(i);
            if (value < before && std::isfinite(value) && std::isfinite(before)) {
                Say(std::string(what) + " keys go backwards at " + what + " " +
                    std::to_string(i) + " (" + Number(value) + " after " + Number(before) + ")");
                return;
            }
        }
    }

    const RecordNode& mNode;
    const SmallBytes& mData;
    std::vector<CheckFinding>& mOut;
    std::string mLabel;
};

void CheckWithFields(const RecordNode& node, const RecordDictionary& dictionary,
                     std::vector<CheckFinding>& findings) {
    Checker(node, dictionary, findings).Run();
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        CheckWithFields(*node.Child(i), dictionary, findings);
    }
}

} // namespace

std::vector<CheckFinding> CheckBeforeSaving(
    const RecordTree& tree, const RecordDictionary& dictionary,
    const std::function<bool(const RecordNode& record)>& include) {
    std::vector<CheckFinding> findings;
    for (size_t i = 0; i < tree.RootCount(); ++i) {
        const RecordNode& root = *tree.Root(i);
        if (!include || include(root)) {
            CheckWithFields(root, dictionary, findings);
        }
    }
    return findings;
}

} // namespace kelvara
