// Joining and splitting paths with the platform's separator.
//
// Paths inside the program are cp1250 texts. Every join or split of a folder and a name goes through
// these helpers, so the separator is decided in one place.
#pragma once

#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name.
inline std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += kPathSeparator;
    path += name;
    return path;
}

// A path split at its last separator: the folder (without the separator) and the name after it.
// Without a separator the folder is empty and the name is the whole path.
struct SplitPath {
    std::string folder;
    std::string name;
};

inline SplitPath splitAtLastSeparator(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    if (pos == std::string_view::npos)
        return {std::string(), std::string(path)};
    return {std::string(path.substr(0, pos)), std::string(path.substr(pos + 1))};
}

}  // namespace platform
