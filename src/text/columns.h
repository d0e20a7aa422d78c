// Fixed-width columns of the order rows and of the order list's column header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Fits `value` into exactly `width` characters. A shorter text is preceded by (width - length) / 2
// blanks, one fewer when that is above zero, and padded with blanks up to the width; a text that is not
// shorter is cut to its first width - 1 characters followed by one blank. So every fitted column ends in
// at least one blank and columns laid side by side line up in a fixed-pitch font.
std::string fitColumn(std::string_view value, std::size_t width);

}  // namespace text
