// From a typed number to the stored bytes of a record, with the range checks of the number
// editor. Pure functions: the caller shows the messages.
#pragma once

#include "ValueFormat.h"

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
// A text that is no number is not a range violation; callers read the number first.
[[nodiscard]] std::optional<RangeLimits> RangeCheckInt(double value, int32_t min, int32_t max);
[[nodiscard]] std::optional<RangeLimits> RangeCheckFloat(double value, float min, float max,
                                                         char localeMark);

[[nodiscard]] std::string RangeMessage(const RangeLimits& limits, bool german);
// Why the text is no number to store: empty, unfinished, not a number, too large, or a
// fraction where only whole numbers are stored.
[[nodiscard]] std::string ConversionErrorMessage(std::string_view text, NumberFault fault, bool german);

enum class EncodeStatus { Ok, RangeRejected, ConversionError, NotANumberType };

struct EncodeResult {
    EncodeStatus status = EncodeStatus::Ok;
    std::vector<uint8_t> bytes; // the stored value, in the type's width
    RangeLimits limits;         // RangeRejected only
    NumberFault fault = NumberFault::None; // ConversionError only
};

// The bytes the number editor stores for text typed into a record of this type. Values that
// would not fit the stored width are rejected with the width's limits instead of wrapping.
[[nodiscard]] EncodeResult EncodeNumber(int type, std::string_view text, char localeMark);

// True for the types edited in the number field.
[[nodiscard]] bool IsNumberType(int type);

} // namespace kelvara
