#include "ui/file_tree_ctrl.h"

#include <algorithm>
#include <optional>

namespace {

// The longest display name an item shows.
constexpr std::size_t kMaxDisplayName = 259;

bool isVirtual(std::string_view parsingName) {
    return parsingName.starts_with(platform::kVirtualPrefix);
}

}  // namespace

CFileTreeCtrl::CFileTreeCtrl(const platform::ShellNamespace& shell, Clock clock)
    : shell_(shell), clock_(std::move(clock)) {}

CFileTreeCtrl::~CFileTreeCtrl() = default;

void CFileTreeCtrl::Attach(ui::TreeView& tree, ui::DesktopServices& services) {
    tree_ = &tree;
    services_ = &services;
    tree.setListener(this);
}

bool CFileTreeCtrl::Init() {
    if (tree_ == nullptr)
        return false;
    if (!tree_->hasIcons()) {
        lastError_ = kNoImageList;
        return false;
    }
    tree_->deleteAllItems();
    records_.clear();
    const platform::ShellItem desktop = shell_.desktop();
    root_ = tree_->insertItem(ui::kNoTreeItem, ui::TreeView::Place::Last, desktop.displayName.value_or(""),
                              desktop.icon, desktop.openIcon, true);
    FillChildren(root_, desktop.parsingName.value_or(""));
    tree_->expand(root_);
    return true;
}

void CFileTreeCtrl::ExcludeSpecialFolder(int code, std::string_view text) {
    if (code == 0) {
        excluded_.emplace_back(text);
        return;
    }
    if (auto parsingName = shell_.specialFolder(code))
        excluded_.push_back(std::move(*parsingName));
}

std::string CFileTreeCtrl::GetSelectedPath() const {
    const ui::TreeItem selected = GetSelectedItem();
    if (selected == ui::kNoTreeItem)
        return std::string(kNothingSelected);
    const auto found = records_.find(selected);
    return found == records_.end() ? std::string() : found->second.path;
}

ui::TreeItem CFileTreeCtrl::GetSelectedItem() const {
    return tree_ == nullptr ? ui::kNoTreeItem : tree_->selection();
}

bool CFileTreeCtrl::ShouldShowFile(const platform::ShellItem& /*file*/) const {
    return false;
}

std::optional<bool> CFileTreeCtrl::FillChildren(ui::TreeItem parent, std::string_view folder) {
    int inserted = 0;
    const bool listed = shell_.enumerate(folder, [&](const platform::ShellItem& entry) {
        // A name that cannot be carried as cp1250 cannot be shown or opened: that entry is left out and
        // its siblings still appear.
        if (!entry.displayName || !entry.parsingName)
            return true;
        const std::string& path = *entry.parsingName;
        bool hasButton = false;
        if (entry.isFolder) {
            if (IsExcluded(path))
                return true;
            hasButton = entry.hasSubfolders || FolderHasShownFile(path);
        } else if (!ShouldShowFile(entry)) {
            return true;
        }
        const std::string text = entry.displayName->substr(0, kMaxDisplayName);
        const ui::TreeItem item = tree_->insertItem(parent, ui::TreeView::Place::First, text, entry.icon,
                                                    entry.openIcon, hasButton);
        records_[item] = ItemRecord{entry, path, true, false};
        ++inserted;
        return true;
    });
    tree_->sortChildren(parent, [this](ui::TreeItem a, ui::TreeItem b) { return Compare(a, b); });
    if (!listed && inserted == 0)
        return std::nullopt;
    return inserted > 0;
}

bool CFileTreeCtrl::IsExcluded(const std::string& parsingName) const {
    // A file that the namespace presents as a folder (an archive, say) is not a folder to browse.
    if (!isVirtual(parsingName) && shell_.fileSystemObject(parsingName) == platform::FileSystemObject::Other)
        return true;
    return std::find(excluded_.begin(), excluded_.end(), parsingName) != excluded_.end();
}

bool CFileTreeCtrl::FolderHasShownFile(const std::string& path) const {
    if (shell_.fileSystemObject(path) != platform::FileSystemObject::Directory)
        return false;
    const auto start = clock_();
    bool found = false;
    shell_.enumerate(path, [&](const platform::ShellItem& entry) {
        if ((!entry.isFolder && ShouldShowFile(entry)) || clock_() - start > kScanLimit) {
            // A scan that runs too long counts as a find: the folder keeps its expand button.
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

int CFileTreeCtrl::Compare(ui::TreeItem a, ui::TreeItem b) const {
    const auto left = records_.find(a);
    const auto right = records_.find(b);
    if (left == records_.end() || right == records_.end())
        return 0;
    if (left->second.isFolder != right->second.isFolder)
        return left->second.isFolder ? -1 : 1;
    return shell_.compare(left->second.item, right->second.item);
}

bool CFileTreeCtrl::onItemExpanding(ui::TreeItem item) {
    std::optional<ui::WaitCursor> wait;
    if (services_ != nullptr)
        wait.emplace(*services_);
    auto found = records_.find(item);
    if (found == records_.end() || found->second.filled)
        return true;  // the desktop is filled by Init; other items only once
    const std::string folder = found->second.path;
    const std::optional<bool> inserted = FillChildren(item, folder);
    if (!inserted)
        return true;  // not readable now: the button stays and the next expansion tries again
    found = records_.find(item);
    found->second.filled = true;
    if (!*inserted)
        tree_->setHasButton(item, false);
    return true;
}

bool CFileTreeCtrl::onItemCollapsing(ui::TreeItem item) {
    return item != root_;
}

void CFileTreeCtrl::onTreeDestroyed() {
    excluded_.clear();
    records_.clear();
    root_ = ui::kNoTreeItem;
    tree_ = nullptr;
    services_ = nullptr;
}

void CFileTreeCtrl::onItemDeleted(ui::TreeItem item) {
    records_.erase(item);
    if (item == root_)
        root_ = ui::kNoTreeItem;
}
