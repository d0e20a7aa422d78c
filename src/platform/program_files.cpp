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
std::optional<std::filesystem::path> executablePath() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    return std::filesystem::path(std::string(buffer, length));
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

}  // namespace

std::optional<std::string> programFolder() {
    const auto executable = executablePath();
    if (!executable)
        return std::nullopt;
#ifdef _WIN32
    return executable->parent_path().string();
#else
    return fromFsName(executable->parent_path());
#endif
}

std::string programDataFolder(std::string_view folder) {
    const std::string installed = joinPath(joinPath(parentOf(folder), "share"), kProgramDataName);
    if (isFolder(installed))
        return installed;
    return std::string(folder);
}

std::optional<std::string> programDataFolder() {
    const auto folder = programFolder();
    if (!folder)
        return std::nullopt;
    return programDataFolder(*folder);
}

std::string helpDocument() {
#ifdef _WIN32
    return "help.chm";
#else
    const auto data = programDataFolder();
    if (!data)
        return {};
    return joinPath(*data, kHelpPage);
#endif
}

}  // namespace platform
