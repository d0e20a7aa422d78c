#include "http/checked_math.h"

#include <limits>

#include "http/exceptions.h"

namespace Tarvo {

namespace {
constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
}

std::uint32_t Checked32(std::uint64_t value) {
    if (value > kMax)
        RaiseArithmeticError(kErrorArithmeticOverflow);
    return static_cast<std::uint32_t>(value);
}

std::uint32_t CheckedAdd(std::uint32_t a, std::uint32_t b) {
    return Checked32(std::uint64_t{a} + std::uint64_t{b});
}

std::uint32_t CheckedSum(std::initializer_list<std::uint64_t> terms) {
    std::uint32_t sum = 0;
    for (const auto term : terms)
        sum = CheckedAdd(sum, Checked32(term));
    return sum;
}

std::uint32_t CheckedSub(std::uint32_t a, std::uint32_t b) {
    if (b > a)
        RaiseArithmeticError(kErrorArithmeticOverflow);
    return a - b;
}

std::uint32_t CheckedMul(std::uint32_t a, std::uint32_t b) {
    return Checked32(std::uint64_t{a} * std::uint64_t{b});
}

std::uint32_t CheckedDiv(std::uint32_t a, std::uint32_t b) {
    if (b == 0)
        RaiseArithmeticError(kStatusIntegerDivideByZero);
    return a / b;
}

}  // namespace Tarvo
