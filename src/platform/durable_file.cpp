#include "platform/durable_file.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".part-";

int processId() {
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

// The process id and a counter make the name unique among the writers of this machine; the exclusive
// create below catches the rest (a name left by a process that had the same id before).
fs::path temporaryName(const fs::path& folder) {
    static std::atomic<std::uint64_t> counter{0};
    return folder / (std::string(kTemporaryPrefix) + std::to_string(processId()) + "-" +
                     std::to_string(counter.fetch_add(1)));
}

bool syncStream(std::FILE* file) {
#ifdef _WIN32
    return ::_commit(::_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// An empty folder part means the current directory.
fs::path folderOf(const fs::path& target) {
    const fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

#ifdef _WIN32
namespace {

// How often a rename that met a file held open is tried, and how long it waits in between: about a
// second in all, far longer than a reader or another replacement keeps the file open.
constexpr int kRenameAttempts = 100;
constexpr DWORD kRenamePauseMilliseconds = 10;

bool isTransient(DWORD error) {
    // A file open without FILE_SHARE_DELETE, or a rename of the same name in flight elsewhere, answers
    // with one of these; they pass once the other side closes its handle.
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

}  // namespace
#endif

bool renameReplacing(const fs::path& from, const fs::path& to, std::error_code& error) {
    error.clear();
#ifdef _WIN32
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD failure = GetLastError();
        if (!isTransient(failure) || attempt == kRenameAttempts) {
            error = std::error_code(static_cast<int>(failure), std::system_category());
            return false;
        }
        Sleep(attempt < 10 ? 0 : kRenamePauseMilliseconds);
    }
#else
    fs::rename(from, to, error);
    return !error;
#endif
}

bool syncFolder(const fs::path& folder) {
#ifdef _WIN32
    (void)folder;  // NTFS commits a rename with its journal; a folder cannot be opened for flushing
    return true;
#else
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
#endif
}

DurableFile::DurableFile(const fs::path& folder) {
    for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
        path_ = temporaryName(folder);
#ifdef _WIN32
        // msvcrt's fopen knows no "x": the exclusive create is the descriptor's.
        const int fd =
            ::_wopen(path_.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            file_ = ::_fdopen(fd, "wb");
            if (file_ == nullptr) {
                ::_close(fd);
                std::error_code ignored;
                fs::remove(path_, ignored);
                break;
            }
        }
#else
        file_ = std::fopen(path_.c_str(), "wbx");
#endif
        if (file_ == nullptr && errno != EEXIST)
            break;
    }
    if (file_ != nullptr)
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    else
        released_ = true;  // nothing of ours to remove
}

DurableFile::~DurableFile() {
    if (file_ != nullptr)
        std::fclose(file_);
    if (!released_) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
}

bool DurableFile::append(const char* data, std::size_t size) {
    if (file_ == nullptr || failed_)
        return false;
    if (std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    size_ += size;
    return !failed_;
}

bool DurableFile::finish(bool written) {
    if (file_ == nullptr)
        return false;
    bool ok = written && !failed_ && std::fflush(file_) == 0 && std::ferror(file_) == 0 && syncStream(file_);
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    failed_ = failed_ || !ok;
    finished_ = ok;
    return ok;
}

bool DurableFile::replace(const fs::path& target) {
    if (!finished_ || released_)
        return false;
    std::error_code error;
    if (!renameReplacing(path_, target, error))
        return false;  // the destructor removes the temporary file
    released_ = true;
    return syncFolder(folderOf(target));
}

bool replaceFileDurably(const fs::path& target, const std::function<bool(std::FILE*)>& write) {
    DurableFile file(folderOf(target));
    if (!file.isOpen())
        return false;
    const bool written = write(file.stream());
    return file.finish(written) && file.replace(target);
}

bool renameDurably(const fs::path& from, const fs::path& to, std::error_code& error) {
    return renameReplacing(from, to, error) && syncFolder(folderOf(to));
}

bool isTemporaryName(std::string_view fileName) {
    return fileName.starts_with(kTemporaryPrefix);
}

void removeTemporaryFiles(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // The name as UTF-8: a narrow name on Windows would fail for characters of no code page.
        const std::u8string name = it->path().filename().u8string();
        if (isTemporaryName(std::string_view(reinterpret_cast<const char*>(name.data()), name.size())))
            fs::remove(it->path(), error);
    }
}

}  // namespace platform
