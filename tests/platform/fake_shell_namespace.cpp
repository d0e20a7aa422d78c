#include "platform/fake_shell_namespace.h"

#include <algorithm>

namespace platform {

FakeShellNamespace::FakeShellNamespace(std::string desktopName) {
    desktop_.displayName = std::move(desktopName);
    desktop_.parsingName = std::string();
    desktop_.isFolder = true;
    desktop_.hasSubfolders = true;
    desktop_.icon = desktop_.openIcon = ShellIcon::Desktop;
}

ShellItem& FakeShellNamespace::addFolder(std::string_view parent, std::string_view displayName,
                                         std::string_view parsingName, bool hasSubfolders) {
    ShellItem item;
    item.displayName = std::string(displayName);
    item.parsingName = std::string(parsingName);
    item.isFolder = true;
    item.hasSubfolders = hasSubfolders;
    return add(parent, std::move(item));
}

ShellItem& FakeShellNamespace::addFile(std::string_view parent, std::string_view displayName,
                                       std::string_view parsingName) {
    ShellItem item;
    item.displayName = std::string(displayName);
    item.parsingName = std::string(parsingName);
    item.icon = item.openIcon = ShellIcon::File;
    return add(parent, std::move(item));
}

ShellItem& FakeShellNamespace::add(std::string_view parent, ShellItem item) {
    auto& siblings = children_[std::string(parent)];
    siblings.push_back(std::move(item));
    return siblings.back();
}

void FakeShellNamespace::setFileSystemObject(std::string_view parsingName, FileSystemObject object) {
    fileSystem_[std::string(parsingName)] = object;
}

void FakeShellNamespace::setSpecialFolder(int code, std::string_view parsingName) {
    special_[code] = std::string(parsingName);
}

void FakeShellNamespace::setUnreadable(std::string_view parsingName) {
    unreadable_.emplace_back(parsingName);
}

int FakeShellNamespace::enumerations(std::string_view parsingName) const {
    const auto found = enumerations_.find(parsingName);
    return found == enumerations_.end() ? 0 : found->second;
}

bool FakeShellNamespace::enumerate(std::string_view parsingName,
                                   const std::function<bool(const ShellItem&)>& visit) const {
    ++enumerations_[std::string(parsingName)];
    if (std::find(unreadable_.begin(), unreadable_.end(), parsingName) != unreadable_.end())
        return false;
    const auto found = children_.find(parsingName);
    if (found == children_.end())
        return true;
    // A copy: a visitor may add items while the listing runs.
    const std::vector<ShellItem> items = found->second;
    for (const ShellItem& item : items) {
        if (onVisit_)
            onVisit_(item);
        if (!visit(item))
            break;
    }
    return true;
}

std::optional<std::string> FakeShellNamespace::specialFolder(int code) const {
    const auto found = special_.find(code);
    if (found == special_.end())
        return std::nullopt;
    return found->second;
}

FileSystemObject FakeShellNamespace::fileSystemObject(std::string_view parsingName) const {
    const auto found = fileSystem_.find(parsingName);
    return found == fileSystem_.end() ? FileSystemObject::None : found->second;
}

}  // namespace platform
