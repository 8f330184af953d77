#include "TextUtil.h"

namespace kelvara {

std::string_view Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::vector<std::string> SplitFields(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    size_t pos;
    while (pieces.size() < kMaxSplitPieces - 1 && (pos = text.find(separator)) != text.npos) {
        pieces.emplace_back(Trim(text.substr(0, pos)));
        text.remove_prefix(pos + 1);
    }
    pieces.emplace_back(Trim(text));
    return pieces;
}

LeadingInteger ParseLeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    uint64_t exact = 0;
    bool overflowed = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const uint32_t digit = static_cast<uint32_t>(text[i] - '0');
        value = value * 10u + digit; // unsigned arithmetic wraps without undefined behaviour
        if (!overflowed) {
            exact = exact * 10u + digit;
            overflowed = exact > (negative ? 2147483648ull : 2147483647ull);
        }
    }
    if (negative) {
        value = 0u - value;
    }
    return {static_cast<int32_t>(value), overflowed};
}

int64_t ParseHexNumber(std::string_view text, bool allowPrefix, int64_t max) {
    if (allowPrefix && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return -1;
    }
    int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return -1;
        }
        value = value * 16 + digit;
        if (value > max) {
            return -1;
        }
    }
    return value;
}

} // namespace kelvara
