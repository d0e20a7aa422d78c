// Reading decimal numbers the way the program's text files and fields are read.
#pragma once

#include <cstdint>
#include <string_view>

namespace text {

// The signed decimal number at the start of `value`: leading white space (blank, tab, CR, LF, vertical
// tab, form feed) is skipped, then an optional sign and the digits up to the first other character. No
// digits give 0; a number beyond the 32-bit range gives the nearest 32-bit value.
std::int32_t leadingInt(std::string_view value);

}  // namespace text
