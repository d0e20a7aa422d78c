#include "labserver/ini_text.h"

#include <charconv>

namespace labserver {

std::string_view trimBlanks(std::string_view value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = value.find_last_not_of(" \t");
    return value.substr(first, last - first + 1);
}

std::optional<std::int64_t> wholeInteger(std::string_view value) {
    value = trimBlanks(value);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size())
        return std::nullopt;
    return number;
}

void forEachIniLine(std::string_view text, const std::function<void(const IniLine&)>& visit) {
    std::string_view section;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            if (close != std::string_view::npos) {
                section = line.substr(1, close - 1);
                continue;
            }
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            visit({section, trimBlanks(line), {}});
        else
            visit({section, trimBlanks(line.substr(0, equals)), line.substr(equals + 1)});
    }
}

}  // namespace labserver
