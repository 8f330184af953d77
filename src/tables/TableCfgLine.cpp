#include "TableCfgLine.h"

#include "ByteIO.h"
#include "DataType.h"
#include "TableGrid.h"
#include "TableLayout.h"
#include "TextUtil.h"
#include "ValueFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kelvara {

namespace {

std::string Fixed16Text(int16_t bits) {
    return RoundTripNumberText(bits / 2048.0);
}

// Splits at a separator; the pieces trimmed of blanks and tabs.
std::vector<std::string_view> SplitTrimmed(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    while (true) {
        const size_t at = text.find(separator, start);
        pieces.push_back(Trim(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start)));
        if (at == std::string_view::npos) {
            return pieces;
        }
        start = at + 1;
    }
}

// The value part of a line: without a line end, "; comment" and "key =". nullopt when a
// second line holds anything.
std::optional<std::string_view> ValuePart(std::string_view text) {
    if (text.starts_with("\xef\xbb\xbf")) {
        text.remove_prefix(3);
    }
    const size_t end = text.find_first_of("\r\n");
    if (end != std::string_view::npos) {
        if (!Trim(text.substr(end)).empty()) {
            return std::nullopt;
        }
        text = text.substr(0, end);
    }
    if (const size_t comment = text.find(';'); comment != std::string_view::npos) {
        text = text.substr(0, comment);
    }
    if (const size_t equals = text.find('='); equals != std::string_view::npos) {
        text = text.substr(equals + 1);
    }
    return Trim(text);
}

// A plain number, read exactly as written ("." only).
std::optional<double> CellNumber(std::string_view cell) {
    if (cell.find(',') != std::string_view::npos) {
        return std::nullopt;
    }
    return ParseNumberText(cell);
}

} // namespace

std::string RoundTripNumberText(double value) {
    std::array<char, 64> buffer{};
    for (const int digits : {15, 17}) {
        const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                                std::chars_format::general, digits);
        std::string text(buffer.data(), error == std::errc() ? end : buffer.data());
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        if (digits == 17 || std::memcmp(&back, &value, sizeof value) == 0) {
            return text;
        }
    }
    return {};
}

CfgLineWrite WriteCfgLine(int type, std::span<const uint8_t> data) {
    CfgLineWrite result;
    std::vector<std::string> groups;
    bool finite = true;
    auto number = [&finite](double value) {
        finite = finite && std::isfinite(value);
        return RoundTripNumberText(value);
    };
    switch (type) {
    case DataType::TblDb:
        for (uint32_t p = 0, points = TblDbPointsPresent(data); p < points; ++p) {
            const size_t at = 4 + kPairBytes * p;
            groups.push_back(number(ReadLE<double>(data, at).value_or(0)) + ":" +
                             number(ReadLE<double>(data, at + 8).value_or(0)));
        }
        break;
    case DataType::Tbl16:
    case DataType::Tbl16_2:
        for (size_t i = 0; i < data.size() / 2; ++i) {
            groups.push_back(std::to_string(i) + ":" +
                             (type == DataType::Tbl16 ? std::to_string(ReadLE<uint16_t>(data, 2 * i).value_or(0))
                                                      : Fixed16Text(ReadLE<int16_t>(data, 2 * i).value_or(0))));
        }
        break;
    case DataType::Tbl3d:
    case DataType::Tbl3d_2: {
        const auto shape = ReadMatrixShape(data);
        if (!shape || shape->rows == 0 || shape->wholeColumns == 0) {
            result.status = CfgLineWrite::Status::TooShort;
            return result;
        }
        for (uint32_t b = 0; b < shape->rows; ++b) {
            std::string group;
            for (uint32_t a = 0; a < shape->wholeColumns; ++a) {
                group += (a > 0 ? ":" : "") + number(MatrixElement(data, *shape, a, b).value_or(0));
            }
            groups.push_back(std::move(group));
        }
        break;
    }
    default:
        result.status = CfgLineWrite::Status::NotATable;
        return result;
    }
    if (!finite) {
        result.status = CfgLineWrite::Status::NotFinite;
        return result;
    }
    for (size_t g = 0; g < groups.size(); ++g) {
        result.line += (g > 0 ? ", " : "") + groups[g];
    }
    return result;
}

CfgLineRead ReadCfgLine(int type, std::span<const uint8_t> data, std::string_view text) {
    CfgLineRead result;
    const auto refuse = [&result](CfgLineRead::Status status) {
        result.status = status;
        result.values = 0;
        result.bytes.clear();
        return result;
    };
    if (!CurveModeOf(type)) {
        return refuse(CfgLineRead::Status::NotATable);
    }
    const auto value = ValuePart(text);
    if (!value) {
        return refuse(CfgLineRead::Status::TwoLines);
    }
    std::vector<std::vector<std::string_view>> groups;
    if (!value->empty()) {
        for (const std::string_view group : SplitTrimmed(*value, ',')) {
            groups.push_back(SplitTrimmed(group, ':'));
        }
    }

    // The shape the table has: groups, and cells in each.
    size_t wantedGroups = 0;
    size_t wantedCells = 2;
    std::optional<MatrixShape> shape;
    if (type == DataType::TblDb) {
        wantedGroups = TblDbPointsPresent(data);
    } else if (type == DataType::Tbl16 || type == DataType::Tbl16_2) {
        wantedGroups = data.size() / 2;
    } else {
        shape = ReadMatrixShape(data);
        if (!shape || shape->rows == 0 || shape->wholeColumns == 0) {
            return refuse(CfgLineRead::Status::TooShort);
        }
        wantedGroups = shape->rows;
        wantedCells = shape->wholeColumns;
    }
    const auto count = [](size_t n) { return static_cast<int>(std::min<size_t>(n, INT32_MAX)); };
    if (groups.size() != wantedGroups) {
        result.found = count(groups.size());
        result.wanted = count(wantedGroups);
        return refuse(CfgLineRead::Status::WrongShape);
    }
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].size() != wantedCells) {
            result.group = count(g + 1);
            result.found = count(groups[g].size());
            result.wanted = count(wantedCells);
            return refuse(CfgLineRead::Status::WrongShape);
        }
    }

    result.bytes.assign(data.begin(), data.end());
    // The same reading and range as the table text import, so that both take the same values.
    const CurveMode valueMode = shape ? CurveMode::ColumnCurves : *CurveModeOf(type);
    for (size_t g = 0; g < groups.size(); ++g) {
        for (size_t c = 0; c < wantedCells; ++c) {
            const std::string_view cell = groups[g][c];
            result.text = std::string(cell);
            if (!shape && type != DataType::TblDb && c == 0) {
                const auto index = CellNumber(cell);
                if (!index) {
                    return refuse(CfgLineRead::Status::NotANumber);
                }
                if (*index != static_cast<double>(g)) {
                    return refuse(CfgLineRead::Status::WrongIndex);
                }
                continue; // the index is no value
            }
            // Cells never hold ",": the line is split there.
            const TableValue value = ReadTableValue(valueMode, cell, '.');
            if (value.fault == NumberFault::NotWhole) {
                return refuse(CfgLineRead::Status::NotWhole);
            }
            if (value.fault != NumberFault::None) {
                return refuse(CfgLineRead::Status::NotANumber);
            }
            if (value.outside) {
                result.limits = *value.outside;
                return refuse(CfgLineRead::Status::OutOfRange);
            }
            if (type == DataType::TblDb) {
                WriteLE<double>(result.bytes, value.value, 4 + kPairBytes * g + 8 * c);
            } else if (shape) {
                SetMatrixElement(result.bytes, *shape, static_cast<uint32_t>(c), static_cast<uint32_t>(g), value.value);
            } else {
                WriteLE<uint16_t>(result.bytes, TableWordBits(valueMode, value.value), 2 * g);
            }
            ++result.values;
        }
    }
    result.text.clear();
    return result;
}

std::string DescribeCfgLineRefusal(const CfgLineRead& read, bool german) {
    using S = CfgLineRead::Status;
    const std::string found = std::to_string(read.found);
    const std::string wanted = std::to_string(read.wanted);
    const std::string group = std::to_string(read.group);
    switch (read.status) {
    case S::Ok:
        return {};
    case S::NotATable:
        return german ? "Der Datensatz ist keine Tabelle." : "The record is not a table.";
    case S::TooShort:
        return german ? "Der Datensatz ist zu kurz f\xc3\xbcr eine Tabelle." : "The record is too short for a table.";
    case S::TwoLines:
        return german ? "Der Text hat mehr als eine Zeile." : "The text holds more than one line.";
    case S::WrongShape:
        if (read.group == 0) {
            return german ? "Die Zeile hat " + found + " durch Kommas getrennte Gruppen, die Tabelle " + wanted + "."
                          : "The line has " + found + " comma-separated groups; the table has " + wanted + ".";
        }
        return german ? "Gruppe " + group + " hat " + found + " Werte, die Tabelle " + wanted + "."
                      : "Group " + group + " has " + found + " values; the table has " + wanted + ".";
    case S::NotANumber:
        return german ? "\"" + read.text + "\" ist keine Zahl." : "\"" + read.text + "\" is not a number.";
    case S::NotWhole:
        return german ? "\"" + read.text + "\" ist keine ganze Zahl." : "\"" + read.text + "\" is not a whole number.";
    case S::WrongIndex:
        return german ? "\"" + read.text + "\" ist nicht der Index seiner Gruppe."
                      : "\"" + read.text + "\" is not the index of its group.";
    case S::OutOfRange:
        return german ? "\"" + read.text + "\" liegt nicht zwischen " + read.limits.minText + " und " +
                            read.limits.maxText + "."
                      : "\"" + read.text + "\" is not between " + read.limits.minText + " and " +
                            read.limits.maxText + ".";
    }
    return {};
}

} // namespace kelvara
