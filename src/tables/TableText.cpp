#include "TableText.h"

#include "ByteIO.h"
#include "DataType.h"
#include "TableLayout.h"
#include "TextUtil.h"
#include "ValueFormat.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace kelvara {

namespace {

// The general number text with the decimal mark of the setting, whatever the locale.
std::string NumberText(long double value, int decimal) {
    std::string text = FormatGeneral(value, '.');
    if (decimal == 2) {
        if (const size_t dot = text.find('.'); dot != std::string::npos) {
            text[dot] = ',';
        }
    }
    return text;
}

// Lines of the file; a last line end does not start another line.
class LineSource {
  public:
    explicit LineSource(std::string_view text) : mText(text) {}
    bool Next(std::string& prepared) {
        if (mPos >= mText.size()) {
            return false;
        }
        size_t end = mText.find('\n', mPos);
        if (end == std::string_view::npos) {
            end = mText.size();
        }
        std::string line(Trim(mText.substr(mPos, end - mPos)));
        mPos = end + 1;
        ++mLine;
        for (char& c : line) {
            if (c == '\t' || c == ';') {
                c = ' ';
            }
        }
        prepared = std::string(Trim(line));
        return true;
    }
    [[nodiscard]] int LineNumber() const { return mLine; }

  private:
    std::string_view mText;
    size_t mPos = 0;
    int mLine = 0;
};

std::optional<double> ParseDecimal(std::string_view field) {
    std::string text(field);
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    size_t start = 0;
    if (!text.empty() && text[0] == '+' && text.size() > 1 && text[1] != '-') {
        start = 1;
    }
    double value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ptr != last || first == last) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double reads as 0; too large is no number to store.
        const size_t e = text.find_first_of("eE");
        const bool tiny = e != std::string::npos ? text.compare(e + 1, 1, "-") == 0
                                                 : text.find_first_of("123456789") > text.find('.');
        return tiny ? std::optional<double>(0.0) : std::nullopt;
    }
    if (ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> ParseInteger(std::string_view field) {
    if (!field.empty() && field[0] == '+') {
        field.remove_prefix(1);
    }
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || ptr != field.data() + field.size() || field.empty() ||
        value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

struct Failure {
    int line;
    std::string field;
};

} // namespace

char TableDelimiter(int setting) {
    return setting == 2 ? ';' : setting == 3 ? '\t' : ',';
}

bool WriteTableText(int type, std::span<const uint8_t> data, const TableTextStyle& style,
                    std::ostream& out) {
    const char delimiter = TableDelimiter(style.delimiter);
    auto text = [&style](long double v) { return NumberText(v, style.decimal); };
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
                out << text(ReadLE<int16_t>(data, 2 * i).value_or(0) * 0.00048828125L) << '\n';
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

TableImport ReadTableText(int type, std::span<const uint8_t> data, std::string_view text) {
    TableImport result;
    if (!CurveModeOf(type)) {
        result.status = TableImport::Status::NotATable;
        return result;
    }
    std::vector<uint8_t> bytes(data.begin(), data.end());
    LineSource lines(text);
    std::string line;
    lines.Next(line); // the header: its counts are not checked

    std::optional<Failure> failure;
    auto number = [&](std::string_view field) {
        const auto value = ParseDecimal(field);
        if (!value && !failure) {
            failure = Failure{lines.LineNumber(), std::string(field)};
        }
        return value;
    };

    if (type == DataType::TblDb) {
        const uint32_t points = TblDbPointsPresent(bytes);
        for (uint32_t p = 0; p < points && !failure && lines.Next(line); ++p) {
            const size_t blank = line.find(' ');
            if (blank == std::string::npos) {
                break; // a line without a separator ends the import
            }
            const std::string_view fields[2] = {Trim(std::string_view(line).substr(0, blank)),
                                                Trim(std::string_view(line).substr(blank + 1))};
            for (size_t axis = 0; axis < 2; ++axis) {
                if (fields[axis].empty()) {
                    continue;
                }
                if (const auto v = number(fields[axis])) {
                    WriteLE<double>(bytes, *v, 4 + kPairBytes * p + 8 * axis);
                    ++result.valuesRead;
                }
            }
        }
    } else if (type == DataType::Tbl16 || type == DataType::Tbl16_2) {
        const size_t count = bytes.size() / 2;
        for (size_t i = 0; i < count && !failure && lines.Next(line); ++i) {
            if (line.empty()) {
                continue; // an empty line leaves its value as it was
            }
            std::optional<uint16_t> bits;
            if (type == DataType::Tbl16) {
                if (const auto v = ParseInteger(line)) {
                    bits = static_cast<uint16_t>(static_cast<uint32_t>(*v) & 0xFFFF);
                } else {
                    failure = Failure{lines.LineNumber(), line};
                }
            } else if (const auto v = number(line)) {
                bits = Fixed16Bits(*v);
            }
            if (bits) {
                WriteLE<uint16_t>(bytes, *bits, 2 * i);
                ++result.valuesRead;
            }
        }
    } else if (const auto shape = ReadMatrixShape(bytes)) {
        for (uint32_t a = 0; a < shape->wholeColumns && !failure && lines.Next(line); ++a) {
            std::string_view rest = line;
            std::string_view field;
            for (uint32_t b = 0; b < shape->rows && !failure; ++b) {
                // A line with fewer fields than rows repeats its last field.
                const size_t blank = rest.find(' ');
                if (blank != std::string_view::npos) {
                    field = Trim(rest.substr(0, blank));
                    rest = Trim(rest.substr(blank + 1));
                } else {
                    field = Trim(rest);
                }
                if (field.empty()) {
                    continue;
                }
                if (const auto v = number(field)) {
                    SetMatrixElement(bytes, *shape, a, b, *v);
                    ++result.valuesRead;
                }
            }
        }
    }

    if (failure) {
        result.status = TableImport::Status::BadNumber;
        result.line = failure->line;
        result.field = failure->field;
        result.valuesRead = 0;
        return result;
    }
    result.bytes = std::move(bytes);
    return result;
}

} // namespace kelvara
