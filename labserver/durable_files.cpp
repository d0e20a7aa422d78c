#include "labserver/durable_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

namespace labserver {

namespace fs = std::filesystem;

namespace {

// Temporary names start with a dot, which no name from a client may do (safe_names.h), and carry the
// process id and a counter, so that no two requests share one.
constexpr std::string_view kTemporaryPrefix = ".part-";

fs::path temporaryName(const fs::path& folder) {
    static std::atomic<std::uint64_t> counter{0};
    return folder / (std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
                     std::to_string(counter.fetch_add(1)));
}

bool syncPath(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool syncFolder(const fs::path& folder) {
    return syncPath(folder, O_RDONLY | O_DIRECTORY);
}

}  // namespace

ReceivedFile::ReceivedFile(const fs::path& folder) : path_(temporaryName(folder)) {
    file_ = std::fopen(path_.c_str(), "wbx");
    if (file_ != nullptr)
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
}

ReceivedFile::~ReceivedFile() {
    if (file_ != nullptr)
        std::fclose(file_);
    if (!released_) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
}

bool ReceivedFile::append(const char* data, std::size_t size) {
    if (file_ == nullptr || failed_)
        return false;
    if (std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    size_ += size;
    return !failed_;
}

bool ReceivedFile::finish() {
    if (file_ == nullptr)
        return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    failed_ = failed_ || !ok;
    return ok;
}

bool moveDurably(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error == std::errc::cross_device_link) {
        if (!copyDurably(from, to))
            return false;
        fs::remove(from, error);
        return true;
    }
    return !error && syncFolder(to.parent_path());
}

bool writeDurably(const fs::path& path, std::string_view content) {
    ReceivedFile file(path.parent_path());
    if (!file.append(content.data(), content.size()) || !file.finish())
        return false;
    std::error_code error;
    fs::rename(file.path(), path, error);
    if (error)
        return false;
    file.release();
    return syncFolder(path.parent_path());
}

bool copyDurably(const fs::path& from, const fs::path& to) {
    const fs::path temporary = temporaryName(to.parent_path());
    std::error_code error;
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error) || error ||
        !syncPath(temporary, O_RDONLY)) {
        fs::remove(temporary, error);
        return false;
    }
    fs::rename(temporary, to, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return syncFolder(to.parent_path());
}

void removeLeftovers(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with(kTemporaryPrefix))
            fs::remove(it->path(), error);
    }
}

}  // namespace labserver
