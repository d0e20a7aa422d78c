#include "platform/files.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/durable_file.h"
#include "platform/fs_names.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {

namespace fs = std::filesystem;

namespace {

// fopen of a file-system path: Windows paths are UTF-16, which only _wfopen takes.
std::FILE* openFsPath(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::string narrowMode(mode);
    return ::_wfopen(path.c_str(), std::wstring(narrowMode.begin(), narrowMode.end()).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace

bool canOpenForReading(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    if (!fsPath || fs::is_directory(*fsPath, error))
        return false;  // a folder opens, but reads nothing
    std::FILE* file = openFsPath(*fsPath, "rb");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

bool exists(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    return fsPath && fs::exists(fs::symlink_status(*fsPath, error));
}

std::optional<std::uint64_t> fileSize(std::string_view path) {
    const auto fsPath = toFsPath(path);
    if (!fsPath)
        return std::nullopt;
    std::error_code error;
    const auto size = fs::file_size(*fsPath, error);
    if (error)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

bool removeFile(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    return fsPath && fs::remove(*fsPath, error);
}

bool replaceFile(std::string_view from, std::string_view to) {
    const auto source = toFsPath(from);
    const auto target = toFsPath(to);
    if (!source || !target)
        return false;
    std::error_code error;
    return renameReplacing(*source, *target, error);
}

bool copyFile(std::string_view from, std::string_view to) {
    const auto source = toFsPath(from);
    if (!source)
        return false;
    std::FILE* in = openFsPath(*source, "rb");
    if (in == nullptr)
        return false;
    const bool copied = writeFileAtomically(to, [in](std::FILE* out) {
        char buffer[64 * 1024];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            if (std::fwrite(buffer, 1, n, out) != n)
                return false;
        }
        return std::ferror(in) == 0;
    });
    std::fclose(in);
    return copied;
}

bool flushToDisk(std::string_view path) {
    const auto fsPath = toFsPath(path);
    if (!fsPath)
        return false;
    std::error_code error;
    if (fs::is_directory(*fsPath, error))
        return syncFolder(*fsPath);
    std::FILE* file = openFile(path, "r+b");
    if (file == nullptr)
        return false;
#ifdef _WIN32
    const bool flushed = ::_commit(::_fileno(file)) == 0;
#else
    const bool flushed = ::fsync(::fileno(file)) == 0;
#endif
    return std::fclose(file) == 0 && flushed;
}

bool createFolder(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    return fsPath && fs::create_directory(*fsPath, error);
}

bool createFolders(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    if (!fsPath)
        return false;
    fs::create_directories(*fsPath, error);
    return fs::is_directory(*fsPath, error);
}

bool changeFolder(std::string_view path) {
    const auto fsPath = toFsPath(path);
    std::error_code error;
    if (!fsPath)
        return false;
    fs::current_path(*fsPath, error);
    return !error;
}

std::optional<std::string> currentFolder() {
    std::error_code error;
    const auto path = fs::current_path(error);
    if (error)
        return std::nullopt;
    return fromFsName(path);
}

std::FILE* openFile(std::string_view path, const char* mode) {
    const auto fsPath = toFsPath(path);
    if (!fsPath)
        return nullptr;
    return openFsPath(*fsPath, mode);
}

std::optional<std::string> readFile(std::string_view path) {
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string content;
    char buffer[64 * 1024];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return content;
}

bool writeFileAtomically(std::string_view path, const std::function<bool(std::FILE*)>& write) {
    const auto fsPath = toFsPath(path);
    return fsPath && replaceFileDurably(*fsPath, write);
}

bool writeFileAtomically(std::string_view path, std::string_view content) {
    return writeFileAtomically(path, [content](std::FILE* file) {
        return std::fwrite(content.data(), 1, content.size(), file) == content.size();
    });
}

}  // namespace platform
