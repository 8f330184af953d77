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

namespace {

std::string FormatGeneralDigits(long double value, char mark, int precision);

} // namespace

std::string FormatGeneral(long double value, char mark) {
    return FormatGeneralDigits(value, mark, 14);
}

std::string FormatRoundTrip(double value, char mark) {
    if (value == 0 && std::signbit(value)) {
        return "-0";
    }
    std::string text = FormatGeneralDigits(value, '.', 14);
    double back = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
    if (ec != std::errc() || ptr != text.data() + text.size() || back != value) {
        // Seventeen digits name every double; NaN and infinity have their words either way.
        text = FormatGeneralDigits(static_cast<double>(value), '.', 16);
    }
    if (const size_t dot = text.find('.'); dot != std::string::npos) {
        text[dot] = mark;
    }
    return text;
}

namespace {

std::string FormatGeneralDigits(long double value, char mark, int precision) {
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
    // Seventeen digits are those of the double itself, not of its extended widening.
    const auto result = precision > 14 ? std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                                       std::chars_format::scientific, precision)
                                       : std::to_chars(buf, buf + sizeof buf, value,
                                                       std::chars_format::scientific, precision);
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

} // namespace

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

NumberReading ReadNumberText(std::string_view input) {
    while (!input.empty() && (input.front() == ' ' || input.front() == '\t' || input.front() == '\r')) {
        input.remove_prefix(1);
    }
    while (!input.empty() && (input.back() == ' ' || input.back() == '\t' || input.back() == '\r')) {
        input.remove_suffix(1);
    }
    if (input.empty()) {
        return {NumberFault::Empty, 0};
    }
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::string plain;
    size_t i = 0;
    if (input[i] == '+' || input[i] == '-') {
        if (input[i] == '-') {
            plain.push_back('-');
        }
        ++i;
    }
    int mantissaDigits = 0;
    bool seenMark = false;
    for (; i < input.size(); ++i) {
        const char c = input[i];
        if (isDigit(c)) {
            plain.push_back(c);
            ++mantissaDigits;
        } else if ((c == '.' || c == ',') && !seenMark) {
            plain.push_back('.');
            seenMark = true;
        } else {
            break;
        }
    }
    // Whether the rest could still be typed into a number: for the typing fields.
    bool ended = i == input.size();
    if (mantissaDigits > 0 && i < input.size() && (input[i] == 'e' || input[i] == 'E')) {
        plain.push_back('e');
        ++i;
        if (i < input.size() && (input[i] == '+' || input[i] == '-')) {
            plain.push_back(input[i++]);
        }
        int exponentDigits = 0;
        for (; i < input.size() && isDigit(input[i]); ++i) {
            plain.push_back(input[i]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return {i == input.size() ? NumberFault::Incomplete : NumberFault::NotANumber, 0};
        }
        ended = i == input.size();
    }
    if (!ended) {
        return {NumberFault::NotANumber, 0};
    }
    if (mantissaDigits == 0) {
        return {NumberFault::Incomplete, 0};
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range && ptr == plain.data() + plain.size()) {
        // Too small reads as the nearest double (0 or a subnormal), too large is refused.
        static const locale_t cLocale = ::newlocale(LC_NUMERIC_MASK, "C", nullptr);
        if (cLocale == nullptr) {
            return {NumberFault::NotANumber, 0};
        }
        value = ::strtod_l(plain.c_str(), nullptr, cLocale);
    } else if (ec != std::errc() || ptr != plain.data() + plain.size()) {
        return {NumberFault::NotANumber, 0};
    }
    if (!std::isfinite(value)) {
        return {NumberFault::TooLarge, 0};
    }
    return {NumberFault::None, value};
}

std::optional<double> ParseNumberText(std::string_view text) {
    const NumberReading reading = ReadNumberText(text);
    return reading.Ok() ? std::optional<double>(reading.value) : std::nullopt;
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
