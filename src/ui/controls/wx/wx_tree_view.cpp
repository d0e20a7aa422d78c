// The tree view.
#include "ui/controls/wx/wx_control.h"

#include <stdexcept>
#include <vector>

#include <wx/artprov.h>
#include <wx/imaglist.h>

namespace ui::wxgui {

namespace {

const wxArtID& artOf(platform::ShellIcon icon) {
    static const wxArtID kArt[] = {
        wxASCII_STR(wxART_GO_HOME),      // Desktop: no desktop picture in the art provider
        wxASCII_STR(wxART_FOLDER),       // Folder
        wxASCII_STR(wxART_FOLDER_OPEN),  // FolderOpen
        wxASCII_STR(wxART_GO_HOME),      // Home
        wxASCII_STR(wxART_HARDDISK),     // Computer
        wxASCII_STR(wxART_HARDDISK),     // HardDisk
        wxASCII_STR(wxART_REMOVABLE),    // Removable
        wxASCII_STR(wxART_CDROM),        // CdRom
        wxASCII_STR(wxART_DELETE),       // Trash
        wxASCII_STR(wxART_NORMAL_FILE),  // File
    };
    return kArt[static_cast<int>(icon)];
}

constexpr int kIconCount = static_cast<int>(platform::ShellIcon::File) + 1;

class WxTreeView final : public WxControl<TreeView, TreeWidget> {
  public:
    WxTreeView(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control,
                    new TreeWidget(&dialog, control.id, rect,
                                   wxTR_SINGLE | wxBORDER_SUNKEN |
                                       (control.has(kTreeLines) ? wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT
                                                                : wxTR_NO_LINES)),
                    font) {
        // The tree ignores a font equal to the one it has; forget it first.
        widget_->SetFont(wxNullFont);
        widget_->SetFont(toWxFont(font));
        auto* images = new wxImageList(16, 16, true, kIconCount);
        for (int i = 0; i < kIconCount; ++i) {
            const wxBitmap bitmap = wxArtProvider::GetBitmap(artOf(static_cast<platform::ShellIcon>(i)),
                                                             wxASCII_STR(wxART_OTHER), wxSize(16, 16));
            if (bitmap.IsOk())
                images->Add(bitmap);
        }
        hasIcons_ = images->GetImageCount() == kIconCount;
        widget_->AssignImageList(images);
        widget_->Bind(wxEVT_TREE_ITEM_EXPANDING, [this](wxTreeEvent& event) {
            if (listener_ != nullptr && !listener_->onItemExpanding(toItem(event.GetItem())))
                event.Veto();
        });
        widget_->Bind(wxEVT_TREE_ITEM_COLLAPSING, [this](wxTreeEvent& event) {
            if (listener_ != nullptr && !listener_->onItemCollapsing(toItem(event.GetItem())))
                event.Veto();
        });
        widget_->Bind(wxEVT_TREE_DELETE_ITEM, [this](wxTreeEvent& event) {
            const TreeItem item = toItem(event.GetItem());
            if (listener_ != nullptr)
                listener_->onItemDeleted(item);
            if (selection_ == item)
                selection_ = kNoTreeItem;
        });
        widget_->Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent& event) {
            const TreeItem item = toItem(event.GetItem());
            if (item == selection_)
                return;
            selection_ = item;
            dialog_.dispatchSelectionChange(template_.id);
        });
        widget_->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent& event) {
            dialog_.dispatchDoubleClick(template_.id);
            event.Skip();
        });
        // A right click neither selects nor opens anything.
        widget_->Bind(wxEVT_RIGHT_DOWN, [](wxMouseEvent&) {});
        widget_->Bind(wxEVT_RIGHT_UP, [](wxMouseEvent&) {});
    }

    void setFont(const Font& font) override {
        // The tree ignores a font equal to the one it has; forget it first.
        widget_->SetFont(wxNullFont);
        WxControl::setFont(font);
    }
    void setText(std::string_view /*text*/) override {}
    std::string text() const override { return std::string(); }

    bool hasIcons() const override { return hasIcons_; }
    TreeItem insertItem(TreeItem parent, Place place, std::string_view text, Icon icon, Icon selectedIcon,
                        bool hasButton) override {
        wxTreeItemId created;
        if (parent == kNoTreeItem) {
            if (widget_->GetRootItem().IsOk())
                throw std::logic_error("a tree view has one top-level item");
            created = widget_->AddRoot(toWx(text), static_cast<int>(icon), static_cast<int>(selectedIcon));
        } else if (place == Place::First) {
            created = widget_->PrependItem(toId(parent), toWx(text), static_cast<int>(icon),
                                           static_cast<int>(selectedIcon));
        } else {
            created = widget_->AppendItem(toId(parent), toWx(text), static_cast<int>(icon),
                                          static_cast<int>(selectedIcon));
        }
        widget_->SetItemHasChildren(created, hasButton);
        return toItem(created);
    }
    void deleteAllItems() override { widget_->DeleteAllItems(); }
    std::string itemText(TreeItem item) const override { return fromWx(widget_->GetItemText(toId(item))); }
    TreeItem parentItem(TreeItem item) const override { return toItem(widget_->GetItemParent(toId(item))); }
    std::vector<TreeItem> children(TreeItem item) const override {
        std::vector<TreeItem> found;
        const wxTreeItemId parent = item == kNoTreeItem ? widget_->GetRootItem() : toId(item);
        if (item == kNoTreeItem) {
            if (parent.IsOk())
                found.push_back(toItem(parent));
            return found;
        }
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = widget_->GetFirstChild(parent, cookie); child.IsOk();
             child = widget_->GetNextChild(parent, cookie))
            found.push_back(toItem(child));
        return found;
    }
    void setHasButton(TreeItem item, bool hasButton) override {
        widget_->SetItemHasChildren(toId(item), hasButton);
    }
    bool hasButton(TreeItem item) const override { return widget_->ItemHasChildren(toId(item)); }
    void expand(TreeItem item) override { widget_->Expand(toId(item)); }
    void collapse(TreeItem item) override { widget_->Collapse(toId(item)); }
    bool isExpanded(TreeItem item) const override { return widget_->IsExpanded(toId(item)); }
    TreeItem selection() const override { return selection_; }
    void select(TreeItem item) override {
        if (item == selection_)
            return;
        if (item == kNoTreeItem)
            widget_->UnselectAll();
        else
            widget_->SelectItem(toId(item));
    }
    void sortChildren(TreeItem parent, const Compare& compare) override {
        widget_->sortBy(toId(parent), [&compare](const wxTreeItemId& a, const wxTreeItemId& b) {
            return compare(toItem(a), toItem(b));
        });
    }
    void setListener(TreeListener* listener) override { listener_ = listener; }

    void destroy() {
        deleteAllItems();
        if (listener_ != nullptr)
            listener_->onTreeDestroyed();
        listener_ = nullptr;
    }

  private:
    static TreeItem toItem(const wxTreeItemId& id) { return reinterpret_cast<TreeItem>(id.GetID()); }
    static wxTreeItemId toId(TreeItem item) { return wxTreeItemId(reinterpret_cast<void*>(item)); }

    TreeListener* listener_ = nullptr;
    TreeItem selection_ = kNoTreeItem;
    bool hasIcons_ = false;
};

}  // namespace

std::unique_ptr<Control> makeWxTreeView(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                        const Font& font) {
    return std::make_unique<WxTreeView>(dialog, control, rect, font);
}

void destroyTree(TreeView& tree) {
    if (auto* wxTree = dynamic_cast<WxTreeView*>(&tree))
        wxTree->destroy();
}

}  // namespace ui::wxgui
