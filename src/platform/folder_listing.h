// Listing the entries of one folder, in the order the Windows file system hands them out.
//
// The photobook sending numbers a folder's files in listing order, so the order must not change from
// one run to the next: the entries come sorted by name ignoring case, as NTFS lists them, whatever the
// file system underneath. The listing reads the whole folder when it opens and then hands out one entry
// per step. Not thread-safe; one owner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FolderEntry {
    // The cp1250 name; when cp1250 cannot hold it, the characters it cannot hold are '?' here.
    std::string name;
    // False when the name has a character that cp1250 cannot hold: no program path can name the entry.
    bool nameFits = true;
    std::uint64_t size = 0;
    bool isFolder = false;
};

class FolderListing {
  public:
    enum class State { Closed = 0, Ready = 1, Finished = 2 };

    FolderListing() = default;
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // Reads the entries of `folder` (a cp1250 path), without "." and "..". False, and Closed, when the
    // folder cannot be entered or read; an empty folder opens and is Finished at once.
    bool open(std::string_view folder);
    // Hands out the ready entry and advances; none once the listing is Finished or Closed.
    std::optional<FolderEntry> next();
    void close();

    State state() const { return state_; }

  private:
    std::vector<FolderEntry> entries_;
    std::size_t position_ = 0;
    State state_ = State::Closed;
};

// The order of two names in a Windows folder listing: by name, ignoring case, character by character
// (the file system compares the names upper-cased). Negative, zero or positive. UTF-8 file-system names.
int compareAsWindowsLists(std::string_view a, std::string_view b);

}  // namespace platform
