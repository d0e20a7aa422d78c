// The shell's namespace: the folders a file manager shows, from the desktop downward.
//
// Every item has a display name (what the user sees), a parsing name (a file-system path for ordinary
// folders, a name starting with "::" for virtual ones such as the computer or the trash), the folder and
// has-subfolders attributes and an icon kind that the UI backend maps to its own pictures. The desktop
// is the root; its parsing name is the empty text. Names are cp1250; a name that cp1250 cannot hold is
// absent. Calls block on the file system; the UI thread calls them.
//
// A namespace over a shell with its own pictures (Windows) also gives each item its index in the
// system's small-icon list and the pixels of those icons, so that a backend can show the shell's own
// icons; the icon kind stays the portable fallback.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // The item's icon and open icon in the system's small-icon list; kNoSystemIcon when the shell has
    // no such list (Linux) or gave no icon.
    int systemIcon = kNoSystemIcon;
    int systemOpenIcon = kNoSystemIcon;
    // The shell's own identifier of the item, kept for the namespace that made it (the Windows shell
    // compares items by it); null elsewhere.
    std::shared_ptr<const void> identifier;

    static constexpr int kOrdinaryRank = 100;
    static constexpr int kNoSystemIcon = -1;
};

// An icon's pixels: rows top to bottom, four bytes per pixel (red, green, blue, alpha).
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
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

    // Whether the shell has a system small-icon list (ShellItem::systemIcon indexes it).
    virtual bool hasSystemIcons() const { return false; }
    // The pixels of a small icon of the system list; none without a list or for an unknown index.
    virtual std::optional<IconPixels> systemIconPixels(int /*index*/) const { return std::nullopt; }
};

// The order every namespace uses: by sort rank, then by display name as the file manager sorts names
// (Czech collation, runs of digits by their value).
int compareShellItems(const ShellItem& a, const ShellItem& b);

// The namespace of this computer.
std::unique_ptr<ShellNamespace> localShellNamespace();

}  // namespace platform
