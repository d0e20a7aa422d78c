// A shell namespace built in memory, for tests of the windows that show the namespace.
//
// Items are added under their parent's parsing name ("" is the desktop). Everything else a test needs
// to stage is a setter: what a parsing name is on the file system, special folders, folders that cannot
// be listed, and a hook that runs for every item a listing visits (to advance a test clock).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/shell_namespace.h"

namespace platform {

class FakeShellNamespace final : public ShellNamespace {
  public:
    explicit FakeShellNamespace(std::string desktopName = "Desktop");

    // A folder item with display and parsing name; returns it for further changes.
    ShellItem& addFolder(std::string_view parent, std::string_view displayName, std::string_view parsingName,
                         bool hasSubfolders = false);
    // A file item (not a folder).
    ShellItem& addFile(std::string_view parent, std::string_view displayName, std::string_view parsingName);
    // Any item as given.
    ShellItem& add(std::string_view parent, ShellItem item);

    void setFileSystemObject(std::string_view parsingName, FileSystemObject object);
    void setSpecialFolder(int code, std::string_view parsingName);
    void setUnreadable(std::string_view parsingName);
    void setOnVisit(std::function<void(const ShellItem&)> onVisit) { onVisit_ = std::move(onVisit); }

    // How often the folder was listed.
    int enumerations(std::string_view parsingName) const;

    ShellItem desktop() const override { return desktop_; }
    bool enumerate(std::string_view parsingName,
                   const std::function<bool(const ShellItem&)>& visit) const override;
    std::optional<std::string> specialFolder(int code) const override;
    FileSystemObject fileSystemObject(std::string_view parsingName) const override;

  private:
    ShellItem desktop_;
    std::map<std::string, std::vector<ShellItem>, std::less<>> children_;
    std::map<std::string, FileSystemObject, std::less<>> fileSystem_;
    std::map<int, std::string> special_;
    std::vector<std::string> unreadable_;
    mutable std::map<std::string, int, std::less<>> enumerations_;
    std::function<void(const ShellItem&)> onVisit_;
};

}  // namespace platform
