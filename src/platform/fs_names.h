// File-system names and the program's cp1250 paths.
//
// On Linux the file system holds UTF-8 names; inside the program a path is cp1250. A name that cp1250
// cannot hold cannot be represented inside the program at all: fromFsName reports it instead of
// handing out a mangled name that would point at another file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The file-system path of a cp1250 path; none when the text holds a byte that cp1250 leaves undefined.
std::optional<std::filesystem::path> toFsPath(std::string_view path);

// The cp1250 text of a file-system path or name; none when cp1250 cannot hold one of its characters.
std::optional<std::string> fromFsName(const std::filesystem::path& name);

#ifdef _WIN32
// The UTF-16 text of a cp1250 text, for the system's wide functions; none as for toFsPath.
std::optional<std::wstring> toWide(std::string_view text);

// The cp1250 text of a UTF-16 text from the system; none when cp1250 cannot hold one of its characters.
std::optional<std::string> fromWide(std::wstring_view text);
#endif

}  // namespace platform
