// Filling the texts of the table that are printf formats ("%d fotek, %d kopií, %s MB").
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The format filled with `args`, which must match its conversions (numbers as int, texts as C strings).
template <class... Args>
std::string formatText(std::string_view format, Args... args) {
    const std::string pattern(format);
    const int length = std::snprintf(nullptr, 0, pattern.c_str(), args...);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern.c_str(), args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}
