#include "labserver/safe_names.h"

#include "text/cp1250.h"

namespace labserver {

namespace {

constexpr std::size_t kNameLimit = 255;

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

std::optional<std::string> fileSystemName(std::string_view cp1250Name) {
    if (cp1250Name.empty() || cp1250Name.front() == '.')
        return std::nullopt;
    for (const char c : cp1250Name) {
        if (c == '/' || c == '\\' || isControl(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    cp1250::Converted converted = cp1250::toUtf8(cp1250Name);
    if (!converted.complete() || converted.text.size() > kNameLimit)
        return std::nullopt;
    return std::move(converted.text);
}

std::optional<std::filesystem::path> relativeDownloadPath(std::string_view cp1250Path) {
    if (cp1250Path.empty())
        return std::nullopt;
    std::filesystem::path path;
    std::size_t pos = 0;
    while (true) {
        const auto slash = cp1250Path.find('/', pos);
        const auto component = cp1250Path.substr(pos, slash == std::string_view::npos ? slash : slash - pos);
        const auto name = fileSystemName(component);
        if (!name)
            return std::nullopt;
        path /= *name;
        if (slash == std::string_view::npos)
            return path;
        pos = slash + 1;
    }
}

std::string printable(std::string_view cp1250Text) {
    std::string text = cp1250::toUtf8(cp1250Text).text;
    for (char& c : text) {
        if (isControl(static_cast<unsigned char>(c)))
            c = '?';
    }
    return text;
}

}  // namespace labserver
