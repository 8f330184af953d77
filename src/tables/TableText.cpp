#include "TableText.h"

#include "ByteIO.h"
#include "DataType.h"
#include "TableLayout.h"
#include "TextUtil.h"
#include "ValueFormat.h"

#include <cmath>
#include <optional>

namespace kelvara {

namespace {

// The number text that reads back as the same double, with the decimal mark of the setting
// whatever the locale.
std::string NumberText(double value, int decimal) {
    return FormatRoundTrip(value, decimal == 2 ? ',' : '.');
}

// Lines of the file; a last line end does not start another line.
class LineSource {
  public:
    explicit LineSource(std::string_view text) : mText(text) {}
    bool Next(std::string_view& line) {
        if (mPos >= mText.size()) {
            return false;
        }
        size_t end = mText.find('\n', mPos);
        if (end == std::string_view::npos) {
            end = mText.size();
        }
        line = Trim(mText.substr(mPos, end - mPos));
        mPos = end + 1;
        ++mLine;
        return true;
    }
    [[nodiscard]] int LineNumber() const { return mLine; }

  private:
    std::string_view mText;
    size_t mPos = 0;
    int mLine = 0;
};

// The fields of a value line; empty for an empty line.
std::vector<std::string_view> Fields(std::string_view line, bool commaSeparates) {
    std::vector<std::string_view> fields;
    auto separates = [commaSeparates](char c) {
        return c == ' ' || c == '\t' || c == ';' || c == '\r' || (commaSeparates && c == ',');
    };
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && separates(line[i])) {
            ++i;
        }
        const size_t start = i;
        while (i < line.size() && !separates(line[i])) {
            ++i;
        }
        if (i > start) {
            fields.push_back(line.substr(start, i - start));
        }
    }
    return fields;
}

// "Points: 17" or "Columns: 10, Rows: 3", read leniently as to blanks and letter case.
std::string HeaderKey(std::string_view line) {
    std::string key;
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') {
            key.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
        }
    }
    return key;
}

std::string Numbers(size_t count, bool german) {
    if (german) {
        return count == 1 ? "1 Zahl" : std::to_string(count) + " Zahlen";
    }
    return count == 1 ? "1 number" : std::to_string(count) + " numbers";
}

TableImport Refusal(int line, std::string reason, std::string germanReason) {
    TableImport result;
    result.status = TableImport::Status::Refused;
    result.line = line;
    result.reason = std::move(reason);
    result.germanReason = std::move(germanReason);
    return result;
}

// A found text as the message quotes it: one line, not a screenful.
std::string Quoted(std::string_view text) {
    std::string out(text.substr(0, 40));
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
            c = '?';
        }
    }
    return "\"" + out + (text.size() > 40 ? "...\"" : "\"");
}

} // namespace

char TableDelimiter(int setting) {
    return setting == 2 ? ';' : setting == 3 ? '\t' : ',';
}

bool WriteTableText(int type, std::span<const uint8_t> data, const TableTextStyle& style,
                    std::ostream& out) {
    const char delimiter = TableDelimiter(style.delimiter);
    auto text = [&style](double v) { return NumberText(v, style.decimal); };
    switch (type) {
    case DataType::TblDb: {
        const uint32_t points = TblDbPointsPresent(data);
        out << "Points: " << points << '\n';
        for (uint32_t p = 0; p < points; ++p) {
            const size_t at = 4 + kPairBytes * p;
            out << text(ReadLE<double>(data, at).value_or(0)) << delimiter
                << text(ReadLE<double>(data, at + 8).value_or(0)) << '\n';
        }
        return true;
    }
    case DataType::Tbl16:
    case DataType::Tbl16_2: {
        const size_t count = data.size() / 2;
        out << "Points: " << count << '\n';
        for (size_t i = 0; i < count; ++i) {
            if (type == DataType::Tbl16) {
                out << ReadLE<uint16_t>(data, 2 * i).value_or(0) << '\n';
            } else {
                out << text(ReadLE<int16_t>(data, 2 * i).value_or(0) / 2048.0) << '\n';
            }
        }
        return true;
    }
    case DataType::Tbl3d:
    case DataType::Tbl3d_2: {
        const auto shape = ReadMatrixShape(data);
        if (!shape) {
            return false;
        }
        out << "Columns: " << shape->wholeColumns << ", Rows: " << shape->rows << '\n';
        for (uint32_t a = 0; a < shape->wholeColumns; ++a) {
            for (uint32_t b = 0; b < shape->rows; ++b) {
                if (b > 0) {
                    out << delimiter;
                }
                out << text(MatrixElement(data, *shape, a, b).value_or(0));
            }
            out << '\n';
        }
        return true;
    }
    default:
        return false;
    }
}

TableImport ReadTableText(int type, std::span<const uint8_t> data, std::string_view text,
                          const TableTextStyle& style) {
    TableImport result;
    const auto mode = CurveModeOf(type);
    if (!mode) {
        result.status = TableImport::Status::NotATable;
        return result;
    }
    std::vector<uint8_t> bytes(data.begin(), data.end());
    // What the file must hold: lines of fields each, under this header.
    size_t lineCount = 0;
    size_t fieldCount = 1;
    std::string header;
    std::optional<MatrixShape> shape;
    if (type == DataType::TblDb) {
        lineCount = TblDbPointsPresent(bytes);
        fieldCount = 2;
        header = "Points: " + std::to_string(lineCount);
    } else if (type == DataType::Tbl16 || type == DataType::Tbl16_2) {
        lineCount = bytes.size() / 2;
        header = "Points: " + std::to_string(lineCount);
    } else {
        shape = ReadMatrixShape(bytes);
        if (!shape) {
            result.status = TableImport::Status::NotATable;
            return result;
        }
        lineCount = shape->wholeColumns;
        fieldCount = shape->rows;
        header = "Columns: " + std::to_string(shape->wholeColumns) + ", Rows: " + std::to_string(shape->rows);
    }

    LineSource lines(text);
    std::string_view line;
    if (Trim(text).empty() || !lines.Next(line)) {
        return Refusal(0, "the file is empty, expected \"" + header + "\"",
                       "die Datei ist leer, erwartet \"" + header + "\"");
    }
    if (HeaderKey(line) != HeaderKey(header)) {
        return Refusal(lines.LineNumber(), "expected \"" + header + "\", found " + Quoted(line),
                       "erwartet \"" + header + "\", gefunden " + Quoted(line));
    }
    const bool commaSeparates = style.delimiter == 1 && style.decimal == 1;
    // Matrix elements are stored as they are; only the 1-D kinds have a narrower range.
    const CurveMode valueMode = shape ? CurveMode::ColumnCurves : *mode;
    for (size_t at = 0; at < lineCount; ++at) {
        if (!lines.Next(line)) {
            const std::string found = std::to_string(at);
            return Refusal(lines.LineNumber() + 1,
                           "the file ends after " + found + " of " + std::to_string(lineCount) + " value lines",
                           "die Datei endet nach " + found + " von " + std::to_string(lineCount) + " Wertzeilen");
        }
        const std::vector<std::string_view> fields = Fields(line, commaSeparates);
        if (fields.size() != fieldCount) {
            return Refusal(lines.LineNumber(),
                           "expected " + Numbers(fieldCount, false) + ", found " + Quoted(line),
                           "erwartet " + Numbers(fieldCount, true) + ", gefunden " + Quoted(line));
        }
        for (size_t f = 0; f < fields.size(); ++f) {
            const TableValue value = ReadTableValue(valueMode, fields[f], '.');
            if (!value.Ok()) {
                return Refusal(lines.LineNumber(), TableValueMessage(value, fields[f], false),
                               TableValueMessage(value, fields[f], true));
            }
            if (type == DataType::TblDb) {
                WriteLE<double>(bytes, value.value, 4 + kPairBytes * at + 8 * f);
            } else if (shape) {
                SetMatrixElement(bytes, *shape, uint32_t(at), uint32_t(f), value.value);
            } else {
                WriteLE<uint16_t>(bytes, TableWordBits(*mode, value.value), 2 * at);
            }
            ++result.valuesRead;
        }
    }
    while (lines.Next(line)) {
        if (!line.empty()) {
            return Refusal(lines.LineNumber(),
                           "expected the end of the file after " + std::to_string(lineCount) + " value lines, found " + Quoted(line),
                           "erwartet das Dateiende nach " + std::to_string(lineCount) + " Wertzeilen, gefunden " + Quoted(line));
        }
    }
    result.bytes = std::move(bytes);
    return result;
}

std::string TableImportMessage(const TableImport& refused, std::string_view file, bool german) {
    std::string where(file);
    if (refused.line > 0) {
        where += (german ? " Zeile " : " line ") + std::to_string(refused.line);
    }
    return where + ": " + (german ? refused.germanReason : refused.reason) +
           (german ? " - nichts wurde geändert" : " - nothing was changed");
}

} // namespace kelvara
