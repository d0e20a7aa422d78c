// Replacing a file in one step, so that a crash, a full disk or a second writer never leaves a
// half-written file under its name: the new content goes to a temporary file with a unique name in the
// same folder, created exclusively (never an existing file), flushed to the disk, renamed over the old
// file, and then the folder itself is flushed so that the rename survives a power loss.
//
// Paths here are the file system's own names (std::filesystem::path); the cp1250 front end is
// writeFileAtomically in files.h. The client and the lab server both replace their files through this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace platform {

// A file being written under a unique temporary name: created in a folder, filled, flushed to the disk
// (finish), then put in place (replace) or moved away by its owner (release). Removed when destroyed
// unless one of those two happened. Used by one thread at a time; any number of them may be open in one
// folder at once, from any number of threads or processes.
class DurableFile {
  public:
    // Creates an empty file with a unique temporary name in `folder`; see isOpen.
    explicit DurableFile(const std::filesystem::path& folder);
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    // Whether the temporary file was created.
    bool isOpen() const { return file_ != nullptr; }
    // The open stream, for writers that fill it themselves (null when not open). A failed write must be
    // reported to finish() through its argument.
    std::FILE* stream() const { return file_; }
    // Appends bytes; false once any write failed (the later ones are then dropped).
    bool append(const char* data, std::size_t size);
    // Flushes the file to the disk and closes it; true when every byte reached the disk and `written`
    // (the caller's own writes through stream()) holds.
    bool finish(bool written = true);
    // Renames the finished file over `target` (replacing it) and flushes the folder of `target`; false
    // when `target` was not replaced, and the temporary file is then gone too.
    bool replace(const std::filesystem::path& target);
    // The file was moved elsewhere by its owner: the destructor leaves the name alone.
    void release() { released_ = true; }

    const std::filesystem::path& path() const { return path_; }
    std::uint64_t size() const { return size_; }

  private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    bool failed_ = false;
    bool finished_ = false;
    bool released_ = false;
};

// Replaces `target` by what `write` puts into a DurableFile in the folder of `target`. True only when
// `write` returned true, every byte reached the disk and the rename succeeded; otherwise `target` keeps
// its old content and no temporary file stays behind.
bool replaceFileDurably(const std::filesystem::path& target, const std::function<bool(std::FILE*)>& write);

// Renames `from` to `to`, replacing a file of that name in one step; the old file is never deleted
// first, so `to` always names a whole file. On Windows a rename that finds `to` held open by another
// writer or reader for a moment (a sharing violation) is tried again for a bounded time.
bool renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                     std::error_code& error);

// Renames `from` over `to` and flushes the folder of `to`. False when `to` was not replaced or the
// folder could not be flushed; `error` then tells a failed rename (empty when only the flush failed).
bool renameDurably(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error);

// Flushes a folder's entries (new names, renames) to the disk.
bool syncFolder(const std::filesystem::path& folder);

// Whether a file name is one of DurableFile's temporary names (they start with a dot, which no name from
// a customer or the lab may do).
bool isTemporaryName(std::string_view fileName);

// Removes the temporary files that a process stopped in the middle of a write left in `folder`.
void removeTemporaryFiles(const std::filesystem::path& folder);

}  // namespace platform
