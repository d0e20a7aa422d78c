#include "platform/fs_names.h"

#include "text/cp1250.h"

namespace platform {

std::optional<std::filesystem::path> toFsPath(std::string_view path) {
#ifdef _WIN32
    // The narrow path constructor uses the ANSI code page, which is cp1250 on the systems we serve.
    return std::filesystem::path(std::string(path));
#else
    auto utf8 = cp1250::toUtf8(path);
    if (!utf8.complete())
        return std::nullopt;
    return std::filesystem::path(std::move(utf8.text));
#endif
}

std::optional<std::string> fromFsName(const std::filesystem::path& name) {
#ifdef _WIN32
    return name.string();
#else
    auto text = cp1250::fromUtf8(name.native());
    if (!text.complete())
        return std::nullopt;
    return std::move(text.text);
#endif
}

}  // namespace platform
