// The shell's namespace: the folders a file manager shows, from the desktop downward.
//
// Every item has a display name (what the user sees), a parsing name (a file-system path for ordinary
// folders, a name starting with "::" for virtual ones such as the computer or the trash), the folder and
// has-subfolders attributes and an icon kind that the UI backend maps to its own pictures. The desktop
// is the root; its parsing name is the empty text. Names are cp1250; a name that cp1250 cannot hold is
// absent. Calls block on the file system; the UI thread calls them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class ShellIcon {
    Desktop,
    Folder,
    FolderOpen,
    Home,
    Computer,
    HardDisk,
    Removable,
    CdRom,
    Trash,
    File,
};

// Special folders, by the shell's codes.
inline constexpr int kSpecialDesktop = 0;
inline constexpr int kSpecialControlPanel = 3;
inline constexpr int kSpecialRecycleBin = 10;
inline constexpr int kSpecialDesktopDirectory = 16;
inline constexpr int kSpecialComputer = 17;
inline constexpr int kSpecialProfile = 40;

// The prefix of the parsing names of virtual folders.
inline constexpr std::string_view kVirtualPrefix = "::";

struct ShellItem {
    // None when cp1250 cannot hold the name.
    std::optional<std::string> displayName;
    std::optional<std::string> parsingName;
    bool isFolder = false;
    bool hasSubfolders = false;
    ShellIcon icon = ShellIcon::Folder;
    ShellIcon openIcon = ShellIcon::FolderOpen;
    // The namespace's own order among siblings: lower first; ordinary folders share kOrdinaryRank and
    // sort by name.
    int sortRank = kOrdinaryRank;

    static constexpr int kOrdinaryRank = 100;
};

// What a parsing name is on the file system.
enum class FileSystemObject { None, Directory, Other };

class ShellNamespace {
  public:
    virtual ~ShellNamespace() = default;

    // The root of the namespace.
    virtual ShellItem desktop() const = 0;

    // Calls `visit` for each item of the folder with this parsing name (folders and files, in no
    // particular order) until it returns false. False when the folder cannot be bound or listed.
    virtual bool enumerate(std::string_view parsingName,
                           const std::function<bool(const ShellItem&)>& visit) const = 0;

    // The parsing name of a special folder; none when this platform has no such folder.
    virtual std::optional<std::string> specialFolder(int code) const = 0;

    // What the parsing name is on the file system (a virtual name is None).
    virtual FileSystemObject fileSystemObject(std::string_view parsingName) const = 0;

    // The shell's order of two siblings: negative, zero or positive.
    virtual int compare(const ShellItem& a, const ShellItem& b) const;
};

// The order every namespace uses: by sort rank, then by display name as the file manager sorts names
// (Czech collation, runs of digits by their value).
int compareShellItems(const ShellItem& a, const ShellItem& b);

// The namespace of this computer.
std::unique_ptr<ShellNamespace> localShellNamespace();

}  // namespace platform
