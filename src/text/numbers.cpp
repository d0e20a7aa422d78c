#include "text/numbers.h"

#include <limits>

namespace text {

std::int32_t leadingInt(std::string_view value) {
    std::size_t pos = 0;
    while (pos < value.size() && (value[pos] == ' ' || value[pos] == '\t' || value[pos] == '\r' ||
                                  value[pos] == '\n' || value[pos] == '\v' || value[pos] == '\f')) {
        ++pos;
    }
    bool negative = false;
    if (pos < value.size() && (value[pos] == '-' || value[pos] == '+')) {
        negative = value[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (pos < value.size() && value[pos] >= '0' && value[pos] <= '9') {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (value[pos] - '0');
        ++pos;
    }
    if (negative) {
        return static_cast<std::int32_t>(magnitude >= kLimit ? -kLimit : -magnitude);
    }
    return static_cast<std::int32_t>(magnitude >= kLimit ? kLimit - 1 : magnitude);
}

}  // namespace text
