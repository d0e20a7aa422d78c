// Files the server writes for the lab: a reply of "OK" means the bytes are on the disk.
//
// Received files are written to a temporary name, flushed to the disk and only then renamed to
// their final name, so a crash or a full disk never leaves a half-written file under a name that the
// lab would process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace labserver {

// A file being received: created under a unique temporary name in a folder, filled piece by piece,
// then flushed to the disk. Removed when destroyed unless it was moved away (released).
// Used by one thread at a time.
class ReceivedFile {
  public:
    // Creates an empty file with a unique name in `folder`; the file is not open when creation failed
    // (see isOpen).
    explicit ReceivedFile(const std::filesystem::path& folder);
    ~ReceivedFile();
    ReceivedFile(const ReceivedFile&) = delete;
    ReceivedFile& operator=(const ReceivedFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Appends bytes; false once any write failed (the later ones are then dropped).
    bool append(const char* data, std::size_t size);
    // Flushes and closes the file; true when every byte reached the disk.
    bool finish();
    // The file was moved elsewhere: the destructor leaves the name alone.
    void release() { released_ = true; }

    const std::filesystem::path& path() const { return path_; }
    std::uint64_t size() const { return size_; }

  private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    bool failed_ = false;
    bool released_ = false;
};

// Renames `from` over `to` (replacing it) and flushes the folder of `to`, falling back to a copy when
// the two lie on different file systems. False when `to` was not replaced.
bool moveDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// Replaces `path` by a file holding exactly `content`, written and flushed under a temporary name
// first. False when `path` was not replaced.
bool writeDurably(const std::filesystem::path& path, std::string_view content);

// Copies `from` to `to` (replacing it) through a temporary name in the folder of `to`.
bool copyDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes what a server that stopped in the middle of a request left in `folder`: the temporary
// files of this header's functions.
void removeLeftovers(const std::filesystem::path& folder);

}  // namespace labserver
