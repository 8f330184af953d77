#include "ValueFormat.h"

#include "ByteIO.h"
#include "DataType.h"
#include "TextUtil.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <limits>

namespace kelvara {

namespace {

constexpr long double kHundredThousandth = Scale::Reciprocal(100000.0L);

// Extended-precision intermediate results must stay in memory as long double; this keeps a
// product from being contracted or kept at another precision by the optimiser.
long double Trunc(long double v) { return std::trunc(v); }

std::string ApplyDecimalSetting(std::string text, const NumberStyle& style) {
    if (style.decimal == 1) {
        const size_t comma = text.find(',');
        if (comma != std::string::npos) {
            text[comma] = '.';
        }
    }
    return text;
}

std::string Integer(int64_t value) { return std::to_string(value); }

std::string NumberText(long double value, char mark) {
    // The editor field shows the 64-bit value.
    return FormatGeneral(static_cast<double>(value), mark);
}

} // namespace

int64_t TruncToInt64(long double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr long double kTwo63 = 9223372036854775808.0L;
    if (value >= kTwo63) {
        return std::numeric_limits<int64_t>::max();
    }
    if (value < -kTwo63) {
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(value);
}

std::string FormatGeneral(long double value, char mark) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0) {
        return "0";
    }
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string_view sci(buf, static_cast<size_t>(result.ptr - buf));

    std::string out;
    if (sci.front() == '-') {
        out.push_back('-');
        sci.remove_prefix(1);
    }
    const size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            out += "0";
            out.push_back(mark);
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const size_t whole = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= whole) {
                out += digits;
                out.append(whole - digits.size(), '0');
            } else {
                out += digits.substr(0, whole);
                out.push_back(mark);
                out += digits.substr(whole);
            }
        }
        return out;
    }
    out.push_back(digits[0]);
    if (digits.size() > 1) {
        out.push_back(mark);
        out += digits.substr(1);
    }
    out += "E";
    out += std::to_string(exponent);
    return out;
}

std::string FormatSingle(float value, const NumberStyle& style) {
    return ApplyDecimalSetting(FormatGeneral(value, style.localeMark), style);
}

std::string FormatDouble(double value, const NumberStyle& style) {
    return ApplyDecimalSetting(FormatGeneral(value, style.localeMark), style);
}

std::string FormatValue(int type, std::span<const uint8_t> data, const NumberStyle& style) {
    const std::string none = " ";
    const auto i16 = ReadLE<int16_t>(data);
    const auto i32 = ReadLE<int32_t>(data);
    auto single = [&](long double v) { return FormatSingle(static_cast<float>(v), style); };

    switch (type) {
    case DataType::Int16:
        return i16 ? Integer(*i16) : none;
    case DataType::Int32:
        return i32 ? Integer(*i32) : none;
    case DataType::Bool:
        if (auto v = ReadLE<uint32_t>(data)) {
            return *v != 0 ? "TRUE" : "FALSE";
        }
        return none;
    case DataType::Double:
        if (auto v = ReadLE<double>(data)) {
            return FormatDouble(*v, style);
        }
        return none;
    case DataType::Float:
        if (auto v = ReadLE<float>(data)) {
            return FormatGeneral(*v, style.localeMark);
        }
        return none;
    case DataType::Int8:
        if (auto v = ReadLE<int8_t>(data)) {
            return Integer(*v);
        }
        return none;
    case DataType::M256:
        return i16 ? single(Trunc(*i16 * Scale::Reciprocal(Scale::kM256)) * kHundredThousandth) : none;
    case DataType::Ang16:
        return i16 ? single(Trunc(*i16 * Scale::Reciprocal(Scale::kAng16)) * kHundredThousandth) : none;
    case DataType::Aspd:
        return i32 ? single(*i32 * Scale::Reciprocal(Scale::kAspd) * kHundredThousandth) : none;
    case DataType::Pct16:
        return i16 ? single(*i16 * Scale::Reciprocal(Scale::kPct16)) : none;
    case DataType::Fwgt:
        if (data.size() >= 2) {
            return single(data[1] + data[0] * 0.00390625L);
        }
        return none;
    case DataType::Mach:
        return i32 ? single(Trunc(*i32 * Scale::Reciprocal(Scale::kMach)) * kHundredThousandth) : none;
    case DataType::Prpm:
        return i16 ? Integer(TruncToInt64(*i16 * 15.0L * 0.03125L)) : none;
    case DataType::Thrust:
        return i32 ? single(*i32 * Scale::kThrust + 0.5L) : none;
    case DataType::Int16_2:
        return i16 ? single(*i16 * 0.00048828125L) : none;
    case DataType::Int32_2:
        return i32 ? single(*i32 * 0.00048828125L) : none;
    case DataType::G16:
        return i16 ? single(*i16 * Scale::Reciprocal(936.0L)) : none;
    case DataType::Int16_8:
        return i16 ? single(*i16 * 0.0001220703125L) : none;
    default:
        return none;
    }
}

std::optional<std::string> EditorNumberText(int type, std::span<const uint8_t> data, char mark) {
    const auto i16 = ReadLE<int16_t>(data);
    const auto i32 = ReadLE<int32_t>(data);
    auto limited = [&](long double v) { return LimitDecimals(NumberText(v, mark)); };
    using R = std::optional<std::string>;

    switch (type) {
    case DataType::Int16:
        return i16 ? R(Integer(*i16)) : R();
    case DataType::Int32:
        return i32 ? R(Integer(*i32)) : R();
    case DataType::Int8:
        if (auto v = ReadLE<int8_t>(data)) {
            return Integer(*v);
        }
        return R();
    case DataType::Double:
        if (auto v = ReadLE<double>(data)) {
            return limited(*v);
        }
        return R();
    case DataType::Float:
        if (auto v = ReadLE<float>(data)) {
            return limited(*v);
        }
        return R();
    case DataType::M256:
        return i16 ? R(NumberText(Trunc(*i16 * Scale::Reciprocal(Scale::kM256)) * kHundredThousandth, mark)) : R();
    case DataType::Ang16:
        return i16 ? R(NumberText(Trunc(*i16 * Scale::Reciprocal(Scale::kAng16)) * kHundredThousandth, mark)) : R();
    case DataType::Aspd:
        return i32 ? R(limited(*i32 * Scale::Reciprocal(Scale::kAspd) * kHundredThousandth)) : R();
    case DataType::Pct16:
        return i16 ? R(limited(*i16 * 0.006103515625L)) : R();
    case DataType::Fwgt:
        return data.size() >= 2 ? R(limited(data[1] + data[0] / 256.0L)) : R();
    case DataType::Mach:
        return i32 ? R(NumberText(Trunc(*i32 * Scale::Reciprocal(Scale::kMach)) * kHundredThousandth, mark)) : R();
    case DataType::Prpm:
        return i16 ? R(limited(*i16 * 15.0L * 0.03125L)) : R();
    case DataType::Thrust:
        return i32 ? R(limited(*i32 * Scale::kThrust + 0.5L)) : R();
    case DataType::Int16_2:
        return i16 ? R(limited(*i16 / 2048.0L)) : R();
    case DataType::Int32_2:
        return i32 ? R(limited(*i32 / 2048.0L)) : R();
    case DataType::G16:
        return i16 ? R(limited(*i16 * Scale::Reciprocal(936.0L))) : R();
    case DataType::Int16_8:
        return i16 ? R(limited(*i16 / 8192.0L)) : R();
    default:
        return R();
    }
}

std::optional<double> ParseNumberText(std::string_view input, char mark) {
    std::string text(Trim(input));
    if (text.empty() || text == "-") {
        return 0.0;
    }
    if (size_t blank = text.find(' '); blank != std::string::npos) {
        text.resize(blank);
    }
    if (size_t tab = text.find('\t'); tab != std::string::npos) {
        text.resize(tab);
    }
    auto isNumberEnd = [](char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; };
    while (text.empty() || !isNumberEnd(text.back())) {
        if (text.size() < 2) {
            return 0.0;
        }
        text.pop_back();
    }
    if (size_t dot = text.find('.'); dot != std::string::npos) {
        if (size_t second = text.find('.', dot + 1); second != std::string::npos) {
            text.resize(second);
        }
        text[dot] = mark;
    }

    // The locale's syntax: [sign] digits [mark digits] [E [sign] digits], at least one digit.
    std::string plain;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        plain.push_back(text[i++]);
    }
    int mantissaDigits = 0;
    bool seenMark = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain.push_back(c);
            ++mantissaDigits;
        } else if (c == mark && !seenMark) {
            plain.push_back('.');
            seenMark = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            plain.push_back(text[i++]);
        }
        int exponentDigits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            plain.push_back(text[i]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    const char* begin = plain.data() + (plain.front() == '+' ? 1 : 0);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range && ptr == plain.data() + plain.size()) {
        // Too small is read as the nearest double (0 or a subnormal), too large is refused.
        static const locale_t cLocale = ::newlocale(LC_NUMERIC_MASK, "C", nullptr);
        if (cLocale == nullptr) {
            return std::nullopt;
        }
        value = ::strtod_l(begin, nullptr, cLocale);
        return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
    }
    if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string LimitDecimals(std::string_view text) {
    size_t mark = text.find(',');
    if (mark == std::string_view::npos) {
        mark = text.find('.');
    }
    if (mark != std::string_view::npos && text.size() > mark + 6) {
        text = text.substr(0, mark + 6);
    }
    return std::string(text);
}

} // namespace kelvara
