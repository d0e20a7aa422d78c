// CFileTreeCtrl: the folder tree of the main window.
//
// Shows the shell namespace from the desktop downward: the desktop is the root item, each folder's
// children are read only when it is first expanded, files never appear, and excluded special folders
// (and files that the namespace presents as folders, such as ZIP archives) are left out. The main window
// asks it for the path of the selected folder.
//
// It works on the tree view control of its window: Attach it in the window's onInit, before Init; when
// the window closes it lets the tree go (and forgets its exclusions). The namespace must outlive the
// window's run. UI thread only.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/shell_namespace.h"
#include "ui/controls/controls.h"
#include "ui/controls/desktop_services.h"

class CFileTreeCtrl : public ui::TreeListener {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The error Init reports when the tree cannot show the shell's icons.
    static constexpr std::string_view kNoImageList = "Cannot retrieve the Handle of SystemImageList!";
    // The path GetSelectedPath gives when nothing is selected.
    static constexpr std::string_view kNothingSelected = "nic";
    // How long the look for shown files in a folder without subfolders may take.
    static constexpr std::chrono::milliseconds kScanLimit{500};

    explicit CFileTreeCtrl(const platform::ShellNamespace& shell,
                           Clock clock = std::chrono::steady_clock::now);
    ~CFileTreeCtrl() override;
    CFileTreeCtrl(const CFileTreeCtrl&) = delete;
    CFileTreeCtrl& operator=(const CFileTreeCtrl&) = delete;

    // Works on `tree` from now on; `services` gives the wait cursor while a folder is read.
    void Attach(ui::TreeView& tree, ui::DesktopServices& services);

    // Empties the tree, inserts the desktop as the root, fills and expands it. False (with lastError)
    // when the tree cannot show the shell's icons; the tree then stays empty.
    bool Init();

    // With a code other than 0: excludes the special folder of that code (nothing when this platform has
    // none). With code 0: excludes the parsing name `text`.
    void ExcludeSpecialFolder(int code, std::string_view text);

    // The parsing name of the selected item: a file-system path, a name starting with "::" for virtual
    // folders, the empty text for the desktop, "nic" when nothing is selected.
    std::string GetSelectedPath() const;
    ui::TreeItem GetSelectedItem() const;

    const std::string& lastError() const { return lastError_; }
    const std::vector<std::string>& excluded() const { return excluded_; }

  protected:
    // Whether a file (not a folder) is shown in the tree: never, in this program.
    virtual bool ShouldShowFile(const platform::ShellItem& file) const;

  private:
    struct ItemRecord {
        platform::ShellItem item;
        std::string path;
        bool isFolder = true;
        bool filled = false;
    };

    // Inserts the shown children of the folder with this parsing name under `parent` and sorts them.
    // True when at least one was inserted; none when the folder could not be listed at all.
    std::optional<bool> FillChildren(ui::TreeItem parent, std::string_view folder);
    bool IsExcluded(const std::string& parsingName) const;
    bool FolderHasShownFile(const std::string& path) const;
    int Compare(ui::TreeItem a, ui::TreeItem b) const;

    bool onItemExpanding(ui::TreeItem item) override;
    bool onItemCollapsing(ui::TreeItem item) override;
    void onItemDeleted(ui::TreeItem item) override;
    void onTreeDestroyed() override;

    const platform::ShellNamespace& shell_;
    Clock clock_;
    ui::TreeView* tree_ = nullptr;
    ui::DesktopServices* services_ = nullptr;
    std::string lastError_;
    std::vector<std::string> excluded_;
    ui::TreeItem root_ = ui::kNoTreeItem;
    std::unordered_map<ui::TreeItem, ItemRecord> records_;
};
