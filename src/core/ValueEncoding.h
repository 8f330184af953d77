// From a typed number to the stored bytes of a record, with the range checks of the number
// editor. Pure functions: the caller shows the messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct RangeLimits {
    std::string minText;
    std::string maxText;
};

// nullopt when the value lies in [min, max]; otherwise the limits to name in the message.
// The integer check also rejects a number that does not fit 32 bits instead of wrapping it.
[[nodiscard]] std::optional<RangeLimits> RangeCheckInt(std::string_view text, int32_t min, int32_t max);
// A text that cannot be converted is not a range violation; callers check conversion first.
[[nodiscard]] std::optional<RangeLimits> RangeCheckFloat(std::string_view text, float min, float max,
                                                         char localeMark);

[[nodiscard]] std::string RangeMessage(const RangeLimits& limits, bool german);
// The report of a text that is no number in the locale's syntax.
[[nodiscard]] std::string ConversionErrorMessage(std::string_view text, bool german);

enum class EncodeStatus { Ok, RangeRejected, ConversionError, NotANumberType };

struct EncodeResult {
    EncodeStatus status = EncodeStatus::Ok;
    std::vector<uint8_t> bytes; // the stored value, in the type's width
    RangeLimits limits;         // RangeRejected only
};

// The bytes the number editor stores for text typed into a record of this type. Values that
// would not fit the stored width are rejected with the width's limits instead of wrapping.
[[nodiscard]] EncodeResult EncodeNumber(int type, std::string_view text, char localeMark);

// True for the types edited in the number field.
[[nodiscard]] bool IsNumberType(int type);

} // namespace kelvara
