#include "ValueEncoding.h"

#include "ByteIO.h"
#include "DataType.h"
#include "TextUtil.h"
#include "ValueFormat.h"

#include <cmath>
#include <limits>

namespace kelvara {

namespace {

constexpr long double kHundredThousand = 100000.0L;

struct CheckedRange {
    enum Kind { None, Int, Float } kind;
    long double min;
    long double max;
};

CheckedRange RangeOf(int type) {
    switch (type) {
    case DataType::Int8: return {CheckedRange::Int, -128, 127};
    case DataType::Int16: return {CheckedRange::Int, -32768, 32767};
    case DataType::Pct16: return {CheckedRange::Int, -200, 199};
    case DataType::M256: return {CheckedRange::Float, -5039, 501};
    case DataType::Ang16: return {CheckedRange::Float, -180, 180};
    case DataType::Fwgt: return {CheckedRange::Float, 0, 255.99L};
    case DataType::Mach: return {CheckedRange::Float, 0, 3.199L};
    case DataType::Int16_2: return {CheckedRange::Float, -16, 15.9999L};
    case DataType::Int32_2: return {CheckedRange::Float, -1048576, 1048576};
    case DataType::G16: return {CheckedRange::Float, -35, 35};
    case DataType::Int16_8: return {CheckedRange::Float, -4, 3.9998L};
    default: return {CheckedRange::None, 0, 0};
    }
}

// Physical value of a raw stored integer, for naming the limits of the stored width.
long double Decode(int type, int64_t raw) {
    switch (type) {
    case DataType::Pct16: return raw * 0.006103515625L;
    case DataType::Aspd: return raw * Scale::Reciprocal(Scale::kAspd) / kHundredThousand;
    case DataType::Prpm: return raw * 15.0L / 32.0L;
    case DataType::Thrust: return raw * Scale::kThrust;
    case DataType::Int16_2:
    case DataType::Int32_2: return raw / 2048.0L;
    case DataType::G16: return raw / 936.0L;
    case DataType::Int16_8: return raw / 8192.0L;
    case DataType::Mach: return raw * Scale::Reciprocal(Scale::kMach) / kHundredThousand;
    case DataType::Ang16: return raw * Scale::Reciprocal(Scale::kAng16) / kHundredThousand;
    default: return static_cast<long double>(raw);
    }
}

std::vector<uint8_t> LowBytes(int64_t value, int width) {
    std::vector<uint8_t> out(static_cast<size_t>(width));
    const uint64_t bits = static_cast<uint64_t>(value);
    for (int i = 0; i < width; ++i) {
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
    }
    return out;
}

} // namespace

bool IsNumberType(int type) {
    switch (type) {
    case DataType::Int16: case DataType::Int32: case DataType::Double: case DataType::Float:
    case DataType::Int8: case DataType::M256: case DataType::Ang16: case DataType::Aspd:
    case DataType::Pct16: case DataType::Fwgt: case DataType::Mach: case DataType::Prpm:
    case DataType::Thrust: case DataType::Int16_2: case DataType::Int32_2: case DataType::G16:
    case DataType::Int16_8:
        return true;
    default:
        return false;
    }
}

std::optional<RangeLimits> RangeCheckInt(double value, int32_t min, int32_t max) {
    if (value >= min && value <= max) {
        return std::nullopt;
    }
    return RangeLimits{std::to_string(min), std::to_string(max)};
}

std::optional<RangeLimits> RangeCheckFloat(double value, float min, float max, char mark) {
    if (value >= min && value <= max) {
        return std::nullopt;
    }
    return RangeLimits{FormatGeneral(min, mark), FormatGeneral(max, mark)};
}

std::string RangeMessage(const RangeLimits& limits, bool german) {
    if (german) {
        return "nur Werte zwischen " + limits.minText + " and " + limits.maxText + " sind erlaubt";
    }
    return "values between " + limits.minText + " and " + limits.maxText + " only";
}

std::string ConversionErrorMessage(std::string_view typed, NumberFault fault, bool german) {
    const std::string text = "'" + std::string(Trim(typed)) + "'";
    switch (fault) {
    case NumberFault::Empty:
        return german ? "keine Zahl eingegeben" : "no number given";
    case NumberFault::Incomplete:
        return german ? text + " ist keine vollständige Zahl" : text + " is not a complete number";
    case NumberFault::TooLarge:
        return german ? text + " ist zu groß" : text + " is too large";
    case NumberFault::NotWhole:
        return german ? text + " ist keine ganze Zahl" : text + " is not a whole number";
    case NumberFault::None:
    case NumberFault::NotANumber:
        break;
    }
    return german ? text + " ist keine Zahl" : text + " is not a number";
}

EncodeResult EncodeNumber(int type, std::string_view text, char mark) {
    EncodeResult result;
    if (!IsNumberType(type)) {
        result.status = EncodeStatus::NotANumberType;
        return result;
    }
    const NumberReading reading = ReadNumberText(text);
    const bool integerOnly = type == DataType::Int8 || type == DataType::Int16 || type == DataType::Int32;
    if (!reading.Ok() || (integerOnly && reading.value != std::trunc(reading.value))) {
        result.status = EncodeStatus::ConversionError;
        result.fault = reading.Ok() ? NumberFault::NotWhole : reading.fault;
        return result;
    }
    const double parsed = reading.value;
    const CheckedRange range = RangeOf(type);
    if (range.kind == CheckedRange::Int) {
        // Percentages are checked by their whole part; the stored width decides the rest.
        if (auto limits = RangeCheckInt(std::trunc(parsed), static_cast<int32_t>(range.min), static_cast<int32_t>(range.max))) {
            return {EncodeStatus::RangeRejected, {}, *limits, {}};
        }
    } else if (range.kind == CheckedRange::Float) {
        if (auto limits = RangeCheckFloat(parsed, static_cast<float>(range.min), static_cast<float>(range.max), mark)) {
            return {EncodeStatus::RangeRejected, {}, *limits, {}};
        }
    }
    const long double v = parsed;
    int64_t raw = 0;
    int width = FixedWidth(type);

    switch (type) {
    case DataType::Int8:
    case DataType::Int16:
        raw = static_cast<int64_t>(parsed);
        break;
    case DataType::Int32:
        if (parsed < INT32_MIN || parsed > INT32_MAX) {
            return {EncodeStatus::RangeRejected, {}, {"-2147483648", "2147483647"}, {}};
        }
        raw = static_cast<int64_t>(parsed);
        break;
    case DataType::Double: {
        result.bytes.resize(8);
        WriteLE<double>(result.bytes, parsed);
        return result;
    }
    case DataType::Float: {
        // Beyond the single-precision range the conversion is undefined, not infinity.
        constexpr double kMaxFloat = std::numeric_limits<float>::max();
        if (parsed > kMaxFloat || parsed < -kMaxFloat) {
            return {EncodeStatus::RangeRejected, {}, {FormatGeneral(-kMaxFloat, mark), FormatGeneral(kMaxFloat, mark)}, {}};
        }
        const float f = static_cast<float>(parsed);
        result.bytes.resize(4);
        WriteLE<float>(result.bytes, f);
        return result;
    }
    case DataType::M256:
        raw = TruncToInt64(TruncToInt64(v * kHundredThousand) * Scale::kM256);
        break;
    case DataType::Ang16:
        raw = TruncToInt64(TruncToInt64(v * kHundredThousand) * Scale::kAng16);
        break;
    case DataType::Aspd:
        raw = TruncToInt64(TruncToInt64(v * kHundredThousand) * Scale::kAspd);
        break;
    case DataType::Pct16:
        raw = TruncToInt64(v * Scale::kPct16);
        break;
    case DataType::Fwgt: {
        // 8.8 fixed point of the typed number (the range check keeps it in 0..255.99).
        const int64_t wholePart = TruncToInt64(v);
        const uint8_t whole = static_cast<uint8_t>(wholePart);
        const uint8_t fraction = static_cast<uint8_t>(TruncToInt64((v - wholePart) * 256.0L));
        result.bytes = {fraction, whole};
        return result;
    }
    case DataType::Mach:
        raw = TruncToInt64(TruncToInt64(v * kHundredThousand) * Scale::kMach);
        break;
    case DataType::Prpm:
        raw = TruncToInt64(v * 32.0L * Scale::Reciprocal(15.0L));
        break;
    case DataType::Thrust:
        raw = TruncToInt64(v * Scale::Reciprocal(Scale::kThrust));
        break;
    case DataType::Int16_2:
    case DataType::Int32_2:
        raw = TruncToInt64(v * 2048.0L);
        break;
    case DataType::G16:
        raw = TruncToInt64(v * 936.0L);
        break;
    case DataType::Int16_8:
        raw = TruncToInt64(v * 8192.0L);
        break;
    default:
        break;
    }

    // A value beyond the stored width would keep only its low bytes, a different number.
    const int64_t lo = width == 1 ? INT8_MIN : width == 2 ? INT16_MIN : INT32_MIN;
    const int64_t hi = width == 1 ? INT8_MAX : width == 2 ? INT16_MAX : INT32_MAX;
    if (raw < lo || raw > hi) {
        const char m = mark;
        return {EncodeStatus::RangeRejected, {},
                {FormatGeneral(static_cast<double>(Decode(type, lo)), m),
                 FormatGeneral(static_cast<double>(Decode(type, hi)), m)}, {}};
    }
    result.bytes = LowBytes(raw, width);
    return result;
}

} // namespace kelvara
