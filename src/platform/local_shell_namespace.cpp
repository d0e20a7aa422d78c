// The shell namespace of a Linux desktop, as a file manager presents it: under the desktop the home
// folder, the desktop folder, the computer (the file-system root and the mounted volumes) and the trash.
// Hidden entries (names starting with a dot) are not shown, as file managers do by default.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/fs_names.h"
#include "platform/path.h"
#include "platform/shell_namespace.h"
#include "text/cp1250.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kComputer = "::computer";
constexpr std::string_view kTrash = "::trash";
// A folder with more entries than this before its first subfolder is assumed to have subfolders: the
// tree must not read huge folders in full just to draw an expand button.
constexpr int kSubfolderLookLimit = 4096;

std::string cz(std::string_view utf8) {
    return cp1250::fromUtf8(utf8).text;
}

std::optional<fs::path> homeFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return std::nullopt;
    return fs::path(home);
}

// $XDG_DESKTOP_DIR as user-dirs.dirs records it, else ~/Desktop.
std::optional<fs::path> desktopFolder() {
    const auto home = homeFolder();
    if (!home)
        return std::nullopt;
    fs::path config = *home / ".config";
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        config = xdg;
    std::ifstream dirs(config / "user-dirs.dirs");
    std::string line;
    while (std::getline(dirs, line)) {
        constexpr std::string_view kKey = "XDG_DESKTOP_DIR=\"";
        if (line.rfind(kKey, 0) != 0 || line.back() != '"')
            continue;
        std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
        if (value.rfind("$HOME", 0) == 0)
            return fs::path(home->native() + value.substr(5));
        return fs::path(value);
    }
    return *home / "Desktop";
}

bool isDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isHidden(const fs::path& name) {
    const std::string& text = name.native();
    return !text.empty() && text[0] == '.';
}

bool hasSubfolder(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
    int looked = 0;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        if (++looked > kSubfolderLookLimit)
            return true;
        std::error_code typeError;
        if (!isHidden(entries->path().filename()) && entries->is_directory(typeError))
            return true;
    }
    return false;
}

std::string joinFsChild(std::string_view folder, std::string_view name) {
    if (!folder.empty() && folder.back() == kPathSeparator)
        return std::string(folder) + std::string(name);
    return joinPath(folder, name);
}

ShellItem folderItem(const fs::path& path, std::optional<std::string> displayName) {
    ShellItem item;
    item.displayName = std::move(displayName);
    item.parsingName = fromFsName(path);
    item.isFolder = true;
    item.hasSubfolders = hasSubfolder(path);
    return item;
}

// A field of /proc/self/mounts, where blanks and backslashes are written as octal escapes.
std::string unescapeMountField(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool isVolumeMountPoint(const std::string& mountPoint) {
    for (std::string_view root : {"/media/", "/run/media/", "/mnt/"}) {
        if (mountPoint.rfind(root, 0) == 0)
            return true;
    }
    return false;
}

class LocalShellNamespace final : public ShellNamespace {
  public:
    ShellItem desktop() const override {
        ShellItem item;
        item.displayName = cz("Plocha");
        item.parsingName = std::string();
        item.isFolder = true;
        item.hasSubfolders = true;
        item.icon = item.openIcon = ShellIcon::Desktop;
        return item;
    }

    bool enumerate(std::string_view parsingName,
                   const std::function<bool(const ShellItem&)>& visit) const override {
        if (parsingName.empty())
            return enumerateDesktop(visit);
        if (parsingName == kComputer)
            return enumerateComputer(visit);
        if (parsingName == kTrash)
            return true;
        if (parsingName.starts_with(kVirtualPrefix))
            return false;
        return enumerateFolder(parsingName, visit);
    }

    std::optional<std::string> specialFolder(int code) const override {
        switch (code) {
            case kSpecialDesktop:
                return std::string();
            case kSpecialRecycleBin:
                return std::string(kTrash);
            case kSpecialComputer:
                return std::string(kComputer);
            case kSpecialDesktopDirectory:
                if (auto folder = desktopFolder())
                    return fromFsName(*folder);
                return std::nullopt;
            case kSpecialProfile:
                if (auto home = homeFolder())
                    return fromFsName(*home);
                return std::nullopt;
            default:
                return std::nullopt;  // no control panel and no other special folders here
        }
    }

    FileSystemObject fileSystemObject(std::string_view parsingName) const override {
        if (parsingName.empty() || parsingName.starts_with(kVirtualPrefix))
            return FileSystemObject::None;
        const auto path = toFsPath(parsingName);
        std::error_code error;
        if (!path)
            return FileSystemObject::None;
        const auto status = fs::status(*path, error);
        if (error || !fs::exists(status))
            return FileSystemObject::None;
        return fs::is_directory(status) ? FileSystemObject::Directory : FileSystemObject::Other;
    }

  private:
    static bool enumerateDesktop(const std::function<bool(const ShellItem&)>& visit) {
        const auto home = homeFolder();
        if (home && isDirectory(*home)) {
            ShellItem item = folderItem(*home, cz("Domovská složka"));
            item.icon = item.openIcon = ShellIcon::Home;
            item.sortRank = 0;
            if (!visit(item))
                return true;
        }
        const auto desktop = desktopFolder();
        if (desktop && isDirectory(*desktop) &&
            (!home || fs::weakly_canonical(*desktop) != fs::weakly_canonical(*home))) {
            ShellItem item = folderItem(*desktop, fromFsName(desktop->filename()));
            item.icon = item.openIcon = ShellIcon::Desktop;
            item.sortRank = 1;
            if (!visit(item))
                return true;
        }
        ShellItem computer;
        computer.displayName = cz("Počítač");
        computer.parsingName = std::string(kComputer);
        computer.isFolder = true;
        computer.hasSubfolders = true;
        computer.icon = computer.openIcon = ShellIcon::Computer;
        computer.sortRank = 2;
        if (!visit(computer))
            return true;
        ShellItem trash;
        trash.displayName = cz("Koš");
        trash.parsingName = std::string(kTrash);
        trash.isFolder = true;
        trash.icon = trash.openIcon = ShellIcon::Trash;
        trash.sortRank = 3;
        visit(trash);
        return true;
    }

    static bool enumerateComputer(const std::function<bool(const ShellItem&)>& visit) {
        ShellItem root = folderItem("/", cz("Systém souborů"));
        root.icon = root.openIcon = ShellIcon::HardDisk;
        root.sortRank = 0;
        if (!visit(root))
            return true;
        std::ifstream mounts("/proc/self/mounts");
        std::string line;
        std::vector<std::string> seen;
        while (std::getline(mounts, line)) {
            std::istringstream fields(line);
            std::string device, mountPoint, type;
            if (!(fields >> device >> mountPoint >> type))
                continue;
            mountPoint = unescapeMountField(mountPoint);
            if (!isVolumeMountPoint(mountPoint) ||
                std::find(seen.begin(), seen.end(), mountPoint) != seen.end())
                continue;
            seen.push_back(mountPoint);
            const fs::path path(mountPoint);
            ShellItem volume = folderItem(path, fromFsName(path.filename()));
            const bool optical = type == "iso9660" || type == "udf";
            volume.icon = volume.openIcon = optical ? ShellIcon::CdRom : ShellIcon::Removable;
            volume.sortRank = 1;
            if (!visit(volume))
                return true;
        }
        return true;
    }

    static bool enumerateFolder(std::string_view parsingName,
                                const std::function<bool(const ShellItem&)>& visit) {
        const auto folder = toFsPath(parsingName);
        if (!folder)
            return false;
        std::error_code error;
        fs::directory_iterator entries(*folder, fs::directory_options::skip_permission_denied, error);
        if (error)
            return false;
        for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
            const fs::path name = entries->path().filename();
            if (isHidden(name))
                continue;
            std::error_code typeError;
            ShellItem item;
            item.displayName = fromFsName(name);
            if (item.displayName)
                item.parsingName = joinFsChild(parsingName, *item.displayName);
            item.isFolder = entries->is_directory(typeError);
            if (item.isFolder) {
                item.hasSubfolders = hasSubfolder(entries->path());
            } else {
                item.icon = item.openIcon = ShellIcon::File;
            }
            if (!visit(item))
                return true;
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<ShellNamespace> localShellNamespace() {
    return std::make_unique<LocalShellNamespace>();
}

}  // namespace platform
