// Walking the lines of the lab's small INI-like texts: the price list, the order files the client
// uploads, the order records and the catalogue.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace labserver {

// One line of an INI-like text. `section` is the name of the last "[name]" line before it (empty
// before the first one). `key` is the text before the first '=' with blanks and tabs trimmed; `value`
// is the text after it, untrimmed (a line without '=' has the whole line as key and an empty value).
struct IniLine {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// Calls `visit` for each line of `text` that is neither empty nor a comment. Lines end at CR or LF, so
// CR LF and the CR CR LF of text-mode writers read alike; a line whose first character is '#' or ';'
// is a comment. Section header lines are not handed to `visit`.
void forEachIniLine(std::string_view text, const std::function<void(const IniLine&)>& visit);

// `value` without blanks and tabs at either end.
std::string_view trimBlanks(std::string_view value);

// The whole of `value` (blanks around it allowed) as a decimal integer; none for anything else.
std::optional<std::int64_t> wholeInteger(std::string_view value);

}  // namespace labserver
