// Checked 32-bit unsigned arithmetic for every length and count the client computes.
//
// A result that does not fit 32 bits, an unsigned subtraction that would go below zero and a division
// by zero raise through RaiseArithmeticError (112 for overflow and underflow, 113 for division by zero),
// so a body length never silently wraps. The consequence for callers: a whole request body and every
// progress counter must fit in 32 bits (4 GiB minus one byte).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace Tarvo {

std::uint32_t CheckedAdd(std::uint32_t a, std::uint32_t b);
std::uint32_t CheckedSum(std::initializer_list<std::uint64_t> terms);
std::uint32_t CheckedSub(std::uint32_t a, std::uint32_t b);
std::uint32_t CheckedMul(std::uint32_t a, std::uint32_t b);
std::uint32_t CheckedDiv(std::uint32_t a, std::uint32_t b);
// A size or length of any width as a 32-bit count.
std::uint32_t Checked32(std::uint64_t value);

}  // namespace Tarvo
