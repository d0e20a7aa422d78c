// Length limits of the program's texts.
//
// The lab's formats and the state files were designed around fixed text buffers (255 or 259 characters,
// 63 for server-given identifiers, 127 in option lists). Texts keep those limits: a longer text is cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// The first `maxLength` characters of `value`.
inline std::string cut(std::string_view value, std::size_t maxLength) {
    return std::string(value.substr(0, maxLength));
}

// `value` with each CR and LF written as a blank, so that it cannot add lines to a line-based file.
std::string oneLine(std::string_view value);

}  // namespace text
