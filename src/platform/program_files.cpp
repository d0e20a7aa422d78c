#include "platform/program_files.h"

#include <filesystem>
#include <system_error>

#include "platform/fs_names.h"
#include "platform/path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

namespace {

#ifdef _WIN32
// The name comes as UTF-16; a buffer that was too small is filled to the brim, so it grows until the
// name fits (long paths may exceed MAX_PATH).
std::optional<std::filesystem::path> executablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::nullopt;
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::nullopt;
}
#else
std::optional<std::filesystem::path> executablePath() {
    std::error_code error;
    // The link names the executable itself, whatever folder and name the program was started by.
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return path;
}
#endif

#ifdef _WIN32
bool canOpen(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    return fsPath && std::filesystem::is_regular_file(*fsPath, error);
}
#else
// The parent folder of a cp1250 path, by its last separator.
std::string parentOf(std::string_view folder) {
    std::string_view trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == kPathSeparator)
        trimmed.remove_suffix(1);
    const auto split = splitAtLastSeparator(trimmed);
    if (split.folder.empty() && trimmed.starts_with(kPathSeparator))
        return std::string(1, kPathSeparator);
    return split.folder;
}

bool isFolder(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    return fsPath && std::filesystem::is_directory(*fsPath, error);
}
#endif

}  // namespace

std::optional<std::string> programFolder() {
    const auto executable = executablePath();
    if (!executable)
        return std::nullopt;
    return fromFsName(executable->parent_path());
}

std::string programDataFolder(std::string_view folder) {
#ifdef _WIN32
    return std::string(folder);
#else
    const std::string installed = joinPath(joinPath(parentOf(folder), "share"), kProgramDataName);
    if (isFolder(installed))
        return installed;
    return std::string(folder);
#endif
}

std::optional<std::string> programDataFolder() {
    const auto folder = programFolder();
    if (!folder)
        return std::nullopt;
    return programDataFolder(*folder);
}

std::string helpDocument() {
    const auto data = programDataFolder();
    if (!data)
        return {};
#ifdef _WIN32
    // Windows' own help viewer needs a compiled help file, which only Windows tools make; a build
    // without one ships the HTML pages instead.
    const std::string helpFile = joinPath(*data, kHelpFile);
    const std::string page = joinPath(joinPath(*data, "help"), "index.html");
    if (!canOpen(helpFile) && canOpen(page))
        return page;
    return helpFile;
#else
    return joinPath(*data, kHelpPage);
#endif
}

}  // namespace platform
