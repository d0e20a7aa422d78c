#include "http/upload_file.h"

#include <cerrno>
#include <utility>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace Tarvo {

namespace {

struct FileInfo {
    std::uint64_t size;
    bool folder;
};

// Opens for reading by the file system's name: on Windows a UTF-8 name through the wide function, as
// the narrow one reads names in the ANSI code page and misses every file whose letters it lacks.
std::FILE* openForReading(const std::string& fileSystemName) {
#ifdef _WIN32
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, fileSystemName.data(),
                                           static_cast<int>(fileSystemName.size()), nullptr, 0);
    if (length <= 0)
        return nullptr;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, fileSystemName.data(),
                        static_cast<int>(fileSystemName.size()), wide.data(), length);
    return _wfopen(wide.c_str(), L"rb");
#else
    return std::fopen(fileSystemName.c_str(), "rb");
#endif
}

std::optional<FileInfo> infoOf(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 info;
    if (_fstat64(_fileno(file), &info) != 0)
        return std::nullopt;
    return FileInfo{static_cast<std::uint64_t>(info.st_size), (info.st_mode & _S_IFDIR) != 0};
#else
    struct stat info;
    if (fstat(fileno(file), &info) != 0)
        return std::nullopt;
    return FileInfo{static_cast<std::uint64_t>(info.st_size), S_ISDIR(info.st_mode)};
#endif
}

}  // namespace

UploadFile::~UploadFile() {
    if (file_ != nullptr)
        std::fclose(file_);
}

UploadFile::UploadFile(UploadFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), lastError_(other.lastError_) {}

UploadFile& UploadFile::operator=(UploadFile&& other) noexcept {
    if (this != &other) {
        if (file_ != nullptr)
            std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
        lastError_ = other.lastError_;
    }
    return *this;
}

UploadFile UploadFile::Open(const std::string& fileSystemName) {
    UploadFile upload;
    upload.file_ = openForReading(fileSystemName);
    if (upload.file_ == nullptr)
        return upload;
    const auto info = infoOf(upload.file_);
    if (info && info->folder) {
        std::fclose(upload.file_);
        upload.file_ = nullptr;
        return upload;
    }
    // The client reads in large pieces of its own; the stream's buffer would only copy them once more.
    std::setvbuf(upload.file_, nullptr, _IONBF, 0);
    return upload;
}

std::optional<std::uint64_t> UploadFile::Size() {
    const auto info = infoOf(file_);
    if (!info) {
        lastError_ = errno;
        return std::nullopt;
    }
    return info->size;
}

std::size_t UploadFile::Read(char* buffer, std::size_t size) {
    lastError_ = 0;
    const std::size_t read = std::fread(buffer, 1, size, file_);
    if (read < size && std::ferror(file_)) {
        lastError_ = errno != 0 ? errno : EIO;
        std::clearerr(file_);
    }
    return read;
}

bool UploadFile::Rewind() {
    if (std::fseek(file_, 0, SEEK_SET) != 0) {
        lastError_ = errno;
        return false;
    }
    std::clearerr(file_);
    return true;
}

}  // namespace Tarvo
