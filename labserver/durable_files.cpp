#include "labserver/durable_files.h"

#include <cstdio>
#include <memory>
#include <system_error>

namespace labserver {

namespace fs = std::filesystem;

bool moveDurably(const fs::path& from, const fs::path& to) {
    std::error_code error;
    if (platform::renameDurably(from, to, error))
        return true;
    if (error != std::errc::cross_device_link)
        return false;
    if (!copyDurably(from, to))
        return false;
    fs::remove(from, error);
    return true;
}

bool writeDurably(const fs::path& path, std::string_view content) {
    return platform::replaceFileDurably(path, [content](std::FILE* file) {
        return std::fwrite(content.data(), 1, content.size(), file) == content.size();
    });
}

bool copyDurably(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    std::FILE* in = _wfopen(from.c_str(), L"rb");  // Windows paths are wide
#else
    std::FILE* in = std::fopen(from.c_str(), "rb");
#endif
    if (in == nullptr)
        return false;
    const bool copied = platform::replaceFileDurably(to, [in](std::FILE* out) {
        static constexpr std::size_t kChunk = 1 << 20;
        std::unique_ptr<char[]> buffer(new char[kChunk]);
        std::size_t n = 0;
        while ((n = std::fread(buffer.get(), 1, kChunk, in)) > 0) {
            if (std::fwrite(buffer.get(), 1, n, out) != n)
                return false;
        }
        return std::ferror(in) == 0;
    });
    std::fclose(in);
    return copied;
}

void removeLeftovers(const fs::path& folder) {
    platform::removeTemporaryFiles(folder);
}

}  // namespace labserver
