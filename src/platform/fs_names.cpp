#include "platform/fs_names.h"

#include <string>
#include <system_error>

#include "text/cp1250.h"

namespace platform {

// The program's paths are cp1250; the file system's names are UTF-8 on Linux and UTF-16 on Windows.
// Both go through the program's own cp1250 table: on Windows the narrow path constructor of mingw's
// library does not use the ANSI code page, so the path is built from UTF-8 as char8_t, which the
// path converts to UTF-16 itself.
std::optional<std::filesystem::path> toFsPath(std::string_view path) {
    auto utf8 = cp1250::toUtf8(path);
    if (!utf8.complete())
        return std::nullopt;
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.text.begin(), utf8.text.end()));
#else
    return std::filesystem::path(std::move(utf8.text));
#endif
}

std::optional<std::string> fromFsName(const std::filesystem::path& name) {
#ifdef _WIN32
    std::string utf8;
    try {
        const std::u8string wide = name.u8string();
        utf8.assign(wide.begin(), wide.end());
    } catch (const std::system_error&) {
        return std::nullopt;  // UTF-16 that is not text (a lone surrogate)
    }
    auto text = cp1250::fromUtf8(utf8);
#else
    auto text = cp1250::fromUtf8(name.native());
#endif
    if (!text.complete())
        return std::nullopt;
    return std::move(text.text);
}

#ifdef _WIN32
std::optional<std::wstring> toWide(std::string_view text) {
    auto path = toFsPath(text);
    if (!path)
        return std::nullopt;
    return path->native();
}

std::optional<std::string> fromWide(std::wstring_view text) {
    return fromFsName(std::filesystem::path(text));
}
#endif

}  // namespace platform
