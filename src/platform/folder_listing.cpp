#include "platform/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/fs_names.h"
#include "text/cp1250.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// The upper case of the letters a folder name may carry in the lab's countries (Latin-1 and Latin
// Extended-A, which hold every letter of cp1250); other characters stand for themselves.
char32_t upperCase(char32_t c) {
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    const bool lowerIsOdd = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    if (lowerIsOdd)
        return (c & 1) != 0 ? c - 1 : c;
    const bool lowerIsEven = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (lowerIsEven)
        return (c & 1) == 0 ? c - 1 : c;
    return c;
}

// The UTF-8 text of a file-system name, on every platform.
std::string utf8Of(const fs::path& name) {
    const std::u8string text = name.u8string();
    return std::string(text.begin(), text.end());
}

std::u32string upperCodePoints(std::string_view utf8) {
    std::u32string out;
    std::size_t pos = 0;
    while (pos < utf8.size())
        out.push_back(upperCase(cp1250::decodeUtf8(utf8, pos)));
    return out;
}

}  // namespace

int compareAsWindowsLists(std::string_view a, std::string_view b) {
    const std::u32string upperA = upperCodePoints(a);
    const std::u32string upperB = upperCodePoints(b);
    if (const int order = upperA.compare(upperB); order != 0)
        return order;
    // Two names that differ only in case cannot share a Windows folder; here they can, and still need
    // a fixed order.
    return a.compare(b);
}

bool FolderListing::open(std::string_view folder) {
    close();
    const auto fsFolder = toFsPath(folder);
    if (!fsFolder)
        return false;
    std::error_code error;
    fs::directory_iterator it(*fsFolder, error);
    if (error)
        return false;
    std::vector<std::pair<std::string, FolderEntry>> found;  // UTF-8 name, entry
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        FolderEntry listed;
        const std::string fsName = utf8Of(entry.path().filename());
        if (auto name = fromFsName(entry.path().filename())) {
            listed.name = std::move(*name);
        } else {
            listed.name = cp1250::fromUtf8(fsName).text;
            listed.nameFits = false;
        }
        std::error_code entryError;
        listed.isFolder = entry.is_directory(entryError);
        if (!listed.isFolder) {
            const auto size = entry.file_size(entryError);
            listed.size = entryError ? 0 : static_cast<std::uint64_t>(size);
        }
        found.emplace_back(fsName, std::move(listed));
    }
    // A folder that broke off in the middle is not listed in part.
    if (error)
        return false;
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return compareAsWindowsLists(a.first, b.first) < 0; });
    for (auto& [fsName, entry] : found)
        entries_.push_back(std::move(entry));
    state_ = entries_.empty() ? State::Finished : State::Ready;
    return true;
}

std::optional<FolderEntry> FolderListing::next() {
    if (state_ != State::Ready)
        return std::nullopt;
    FolderEntry entry = entries_[position_++];
    if (position_ == entries_.size())
        state_ = State::Finished;
    return entry;
}

void FolderListing::close() {
    entries_.clear();
    position_ = 0;
    state_ = State::Closed;
}

}  // namespace platform
