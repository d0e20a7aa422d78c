#include "ui/file_tree_ctrl.h"

#include <gtest/gtest.h>

#include "platform/fake_shell_namespace.h"
#include "text/cp1250.h"
#include "ui/controls/headless/headless_desktop.h"

namespace {

using platform::FakeShellNamespace;
using platform::FileSystemObject;
using ui::TreeItem;
using ui::headless::HeadlessDesktop;
using ui::headless::HeadlessTreeView;
using ui::headless::HeadlessWindow;

constexpr int kTreeId = 1000;
const std::string kHome = "/home/jana";

ui::DialogTemplate treeWindow() {
    ui::DialogTemplate t;
    t.id = 1;
    t.units = {140, 160};
    t.controls = {{kTreeId, ui::ControlKind::TreeView, {1, 1, 127, 154}, ui::kTreeLines, ""}};
    return t;
}

// A desktop as this program meets it: the home folder, the computer with two volumes, the trash and a
// control panel, and in the home folder every kind of entry the tree must sort out.
struct Namespace {
    FakeShellNamespace shell{"Plocha"};
    std::chrono::steady_clock::time_point now{};

    Namespace() {
        shell.addFolder("", "Domovská složka"_cz, kHome, true).sortRank = 0;
        shell.addFolder("", "Počítač"_cz, "::computer", true).sortRank = 2;
        shell.addFolder("", "Koš"_cz, "::trash").sortRank = 3;
        shell.addFolder("", "Ovládací panely"_cz, "::control").sortRank = 4;
        shell.setSpecialFolder(platform::kSpecialRecycleBin, "::trash");
        shell.setSpecialFolder(platform::kSpecialControlPanel, "::control");
        shell.addFolder("::computer", "USB", "/media/usb").sortRank = 1;
        shell.addFolder("::computer", "Systém souborů"_cz, "/", true).sortRank = 0;

        for (std::string_view name :
             {"Fotky"_cz, "Alba 10"_cz, "Alba 2"_cz, "Dokumenty"_cz, "Čarodějnice"_cz})
            folder(kHome, name, name == "Dokumenty");
        folder(kHome, "archiv.zip", false);
        shell.setFileSystemObject(kHome + "/archiv.zip",
                                  FileSystemObject::Other);  // a file shown as a folder
        shell.addFile(kHome, "poznamka.txt", kHome + "/poznamka.txt");
        platform::ShellItem foreign;  // a name that cp1250 cannot hold
        foreign.isFolder = true;
        shell.add(kHome, foreign);
        // Dokumenty says it has subfolders, but its only one is an archive.
        folder(kHome + "/Dokumenty", "zaloha.zip", false);
        shell.setFileSystemObject(kHome + "/Dokumenty/zaloha.zip", FileSystemObject::Other);
    }

    void folder(const std::string& parent, std::string_view name, bool hasSubfolders) {
        const std::string path = parent + "/" + std::string(name);
        shell.addFolder(parent, name, path, hasSubfolders);
        shell.setFileSystemObject(path, FileSystemObject::Directory);
    }
};

class FileTree : public testing::Test {
  protected:
    FileTree() : tree_(ns_.shell, [this] { return ns_.now; }) {}

    // Builds the tree as the main window does.
    void open() {
        window_ = desktop.open(dialog_, treeWindow());
        tree_.Attach(view(), desktop);
        tree_.ExcludeSpecialFolder(platform::kSpecialRecycleBin, "");
        tree_.ExcludeSpecialFolder(platform::kSpecialControlPanel, "");
        ASSERT_TRUE(tree_.Init());
    }

    HeadlessTreeView& view() { return static_cast<HeadlessTreeView&>(window_->tree(kTreeId)); }
    TreeItem root() { return view().children(ui::kNoTreeItem).at(0); }
    TreeItem child(TreeItem parent, std::string_view text) {
        const TreeItem found = view().findChild(parent, text);
        EXPECT_NE(found, ui::kNoTreeItem) << text;
        return found;
    }
    std::vector<std::string> texts(TreeItem parent) {
        std::vector<std::string> out;
        for (TreeItem item : view().children(parent))
            out.push_back(view().itemText(item));
        return out;
    }
    void select(TreeItem item) { window_->clickTreeItem(kTreeId, item); }

    Namespace ns_;
    HeadlessDesktop desktop;
    ui::Dialog dialog_;
    CFileTreeCtrl tree_;
    std::unique_ptr<HeadlessWindow> window_;
};

TEST_F(FileTree, TheDesktopIsTheExpandedRootAndHidesExcludedSpecialFolders) {
    open();
    EXPECT_EQ(view().itemText(root()), "Plocha");
    EXPECT_TRUE(view().isExpanded(root()));
    EXPECT_EQ(texts(root()),
              (std::vector<std::string>{std::string("Domovská složka"_cz), std::string("Počítač"_cz)}));
    EXPECT_EQ(tree_.excluded(), (std::vector<std::string>{"::trash", "::control"}));
    // Children are read only on first expansion.
    EXPECT_EQ(ns_.shell.enumerations(kHome), 0);
}

TEST_F(FileTree, ExpandingReadsAFolderOnceShowsOnlyFoldersAndSortsThemAsAFileManager) {
    open();
    const TreeItem home = child(root(), "Domovská složka"_cz);
    view().expand(home);
    // No files, no archive shown as a folder, no name that cp1250 cannot hold; digits by value.
    EXPECT_EQ(texts(home), (std::vector<std::string>{"Alba 2", "Alba 10", std::string("Čarodějnice"_cz),
                                                     "Dokumenty", "Fotky"}));
    EXPECT_EQ(ns_.shell.enumerations(kHome), 1);
    view().collapse(home);
    view().expand(home);
    EXPECT_EQ(ns_.shell.enumerations(kHome), 1);
    EXPECT_EQ(texts(home).size(), 5u);
    EXPECT_GE(desktop.waitCursorBegins(), 1);
    EXPECT_FALSE(desktop.waitCursorShown());
}

TEST_F(FileTree, AFolderWhoseOnlyChildrenAreHiddenLosesItsButtonWhenExpanded) {
    open();
    const TreeItem home = child(root(), "Domovská složka"_cz);
    view().expand(home);
    const TreeItem documents = child(home, "Dokumenty");
    EXPECT_TRUE(view().hasButton(documents));
    window_->toggleTreeItem(kTreeId, documents);
    EXPECT_TRUE(view().children(documents).empty());
    EXPECT_FALSE(view().hasButton(documents));
}

TEST_F(FileTree, AFolderThatCannotBeReadKeepsItsButtonAndIsTriedAgain) {
    ns_.shell.setUnreadable(kHome);
    open();
    const TreeItem home = child(root(), "Domovská složka"_cz);
    view().expand(home);
    EXPECT_TRUE(view().hasButton(home));
    view().collapse(home);
    view().expand(home);
    EXPECT_EQ(ns_.shell.enumerations(kHome), 2);
}

TEST_F(FileTree, AFolderWithoutSubfoldersGetsAButtonOnlyWhenLookingAtItsFilesTakesTooLong) {
    struct Row {
        const char* name;
        int files;
        int millisecondsPerFile;
        bool button;
    };
    const Row rows[] = {
        {"empty", 0, 0, false},
        {"quick", 20, 10, false},         // 200 ms
        {"just in time", 5, 100, false},  // exactly 500 ms is not more than the limit
        {"slow", 6, 100, true},           // passes the limit at the sixth file
    };
    for (const Row& row : rows) {
        const std::string path = "/data/" + std::string(row.name);
        ns_.folder("/data", row.name, false);
        for (int i = 0; i < row.files; ++i)
            ns_.shell.addFile(path, "f" + std::to_string(i), path + "/f" + std::to_string(i));
    }
    ns_.shell.addFolder("", "Data", "/data", true);
    ns_.shell.setOnVisit([this, &rows](const platform::ShellItem& item) {
        const std::string& name = *item.parsingName;
        for (const Row& row : rows) {
            if (name.starts_with("/data/" + std::string(row.name) + "/"))
                ns_.now += std::chrono::milliseconds(row.millisecondsPerFile);
        }
    });
    open();
    const TreeItem data = child(root(), "Data");
    view().expand(data);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(view().hasButton(child(data, row.name)), row.button);
    }
}

TEST_F(FileTree, TheSelectedPathIsTheParsingName) {
    open();
    EXPECT_EQ(tree_.GetSelectedPath(), "nic");
    select(root());
    EXPECT_EQ(tree_.GetSelectedPath(), "");
    const TreeItem computer = child(root(), "Počítač"_cz);
    select(computer);
    EXPECT_EQ(tree_.GetSelectedPath(), "::computer");
    view().expand(computer);
    EXPECT_EQ(texts(computer), (std::vector<std::string>{std::string("Systém souborů"_cz), "USB"}));
    select(child(computer, "USB"));
    EXPECT_EQ(tree_.GetSelectedPath(), "/media/usb");
    EXPECT_EQ(tree_.GetSelectedItem(), view().selection());
}

TEST_F(FileTree, TheRootCannotCollapseOtherItemsCan) {
    open();
    window_->toggleTreeItem(kTreeId, root());
    EXPECT_TRUE(view().isExpanded(root()));
    const TreeItem computer = child(root(), "Počítač"_cz);
    view().expand(computer);
    window_->toggleTreeItem(kTreeId, computer);
    EXPECT_FALSE(view().isExpanded(computer));
}

TEST_F(FileTree, WithoutIconsInitFailsAndLeavesTheTreeEmpty) {
    window_ = desktop.open(dialog_, treeWindow());
    view().setHasIcons(false);
    tree_.Attach(view(), desktop);
    EXPECT_FALSE(tree_.Init());
    EXPECT_EQ(tree_.lastError(), "Cannot retrieve the Handle of SystemImageList!");
    EXPECT_TRUE(view().children(ui::kNoTreeItem).empty());
}

TEST_F(FileTree, ExcludingByCodeZeroTakesTheTextAndUnknownCodesAddNothing) {
    ns_.shell.addFolder("", "Tajné"_cz, "/tajne");
    window_ = desktop.open(dialog_, treeWindow());
    tree_.Attach(view(), desktop);
    tree_.ExcludeSpecialFolder(0, "/tajne");
    tree_.ExcludeSpecialFolder(99, "/ignored");
    ASSERT_TRUE(tree_.Init());
    EXPECT_EQ(tree_.excluded(), (std::vector<std::string>{"/tajne"}));
    EXPECT_EQ(view().findChild(root(), "Tajné"_cz), ui::kNoTreeItem);
    // Init again starts over, without leaving records of the old items behind.
    ASSERT_TRUE(tree_.Init());
    select(root());
    EXPECT_EQ(tree_.GetSelectedPath(), "");
}

}  // namespace
