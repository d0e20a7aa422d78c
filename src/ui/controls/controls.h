// The controls of a window, as the window classes see them.
//
// A window class reaches its controls by id through its host (host.combo(1009)) and keeps no reference
// to one. The one exception is a helper that works on a single control and draws or fills it (the
// icon button CButtonIcons, the folder tree CFileTreeCtrl): it is attached to its control in the
// window's onInit and may keep that reference while the window is open, because every backend creates
// the controls with the window and destroys them only with it. Such a helper must not use the
// reference after the window closed. Texts are cp1250. All calls happen on the UI thread.
//
// Notifications follow one rule in every backend: what the user does to a control is reported to the
// window's handlers; what the program does is not, with two exceptions that the windows rely on:
// setting an edit's text reports a text change, and selecting a tree item reports a selection change.
// A control that is hidden or disabled takes no user action.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell_namespace.h"
#include "ui/controls/canvas.h"
#include "ui/controls/dialog_template.h"
#include "ui/controls/font.h"
#include "ui/controls/geometry.h"

namespace ui {

class Control {
  public:
    virtual ~Control() = default;

    virtual int id() const = 0;
    virtual ControlKind kind() const = 0;

    // The caption of labels, buttons and check boxes; the content of edits. Line breaks are "\r\n".
    virtual void setText(std::string_view text) = 0;
    virtual std::string text() const = 0;

    virtual void show(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void enable(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

    virtual void setFont(const Font& font) = 0;
    virtual Font font() const = 0;

    virtual void focus() = 0;
    virtual bool hasFocus() const = 0;

    // Position and size in pixels, relative to the window's client area.
    virtual Rect rect() const = 0;
    virtual void move(const Rect& rect) = 0;

    // Repaints the control now.
    virtual void redraw() = 0;
};

class Label : public Control {};

class Edit : public Control {
  public:
    // The most characters the user can type; 0 for no limit. Text set by the program is not cut.
    virtual void setLimit(int characters) = 0;
    virtual int limit() const = 0;
};

class CheckBox : public Control {
  public:
    virtual void setChecked(bool checked) = 0;
    virtual bool isChecked() const = 0;
};

class Button : public Control {
  public:
    // Called after the button's standard painting, every time it is painted, with the button's face as
    // the canvas. An empty function removes it. The caller keeps whatever the painter refers to alive
    // for the rest of the window's run.
    using Painter = std::function<void(Canvas&)>;
    virtual void setPainter(Painter painter) = 0;
};

class ComboBox : public Control {
  public:
    virtual void clear() = 0;
    // Appends an item; returns its index.
    virtual int addItem(std::string_view text) = 0;
    virtual int count() const = 0;
    // The empty text outside the list.
    virtual std::string itemText(int index) const = 0;
    // The selected index; -1 for none.
    virtual int selection() const = 0;
    // Selects the item; -1, or an index outside the list, leaves nothing selected.
    virtual void select(int index) = 0;
};

class ListBox : public Control {
  public:
    virtual int count() const = 0;
    // Adds an item: a sorted list box puts it at its collation place, any other at the end. Returns its
    // index.
    virtual int addItem(std::string_view text) = 0;
    // Adds the items in order, as addItem one by one would; a toolkit may take a long list in one step.
    virtual void addItems(const std::vector<std::string>& texts) {
        for (const std::string& text : texts)
            addItem(text);
    }
    // Inserts an item at `index` (-1 or the count: at the end), also in a sorted list box.
    virtual void insertItem(int index, std::string_view text) = 0;
    virtual void deleteItem(int index) = 0;
    // Replaces an item's text in place; its selection stays.
    virtual void replaceItem(int index, std::string_view text) = 0;
    virtual std::string itemText(int index) const = 0;
    virtual void clear() = 0;

    virtual bool isSelected(int index) const = 0;
    virtual void setSelected(int index, bool selected) = 0;
    // The selected items, in list order.
    virtual std::vector<int> selectedItems() const = 0;

    // The item that has the focus rectangle: the one last clicked or reached with the keyboard; -1 when
    // the list is empty.
    virtual int caret() const = 0;
    virtual void setCaret(int index) = 0;

    // The width in pixels over which the list can scroll horizontally.
    virtual void setHorizontalExtent(int pixels) = 0;
};

// An item of a tree view; 0 is no item. Valid until the item is deleted.
using TreeItem = std::uintptr_t;
inline constexpr TreeItem kNoTreeItem = 0;

// Notifications that a tree view's owner handles itself.
class TreeListener {
  public:
    virtual ~TreeListener() = default;
    // Before an item expands (the user or the program asked); false refuses.
    virtual bool onItemExpanding(TreeItem item) = 0;
    // Before an item collapses; false refuses.
    virtual bool onItemCollapsing(TreeItem item) = 0;
    // An item is being deleted (also when the window closes), in no particular order among its family.
    virtual void onItemDeleted(TreeItem item) = 0;
    // The tree is going away with its window, after its items were reported deleted; the listener is
    // detached and must not use the tree any more.
    virtual void onTreeDestroyed() {}
};

class TreeView : public Control {
  public:
    enum class Place { First, Last };
    using Icon = platform::ShellIcon;

    // Whether the tree can show the shell's icons.
    virtual bool hasIcons() const = 0;

    // Inserts an item under `parent` (kNoTreeItem: at the top level).
    virtual TreeItem insertItem(TreeItem parent, Place place, std::string_view text, Icon icon,
                                Icon selectedIcon, bool hasButton) = 0;
    // Deletes every item, reporting each to the listener.
    virtual void deleteAllItems() = 0;

    virtual std::string itemText(TreeItem item) const = 0;
    virtual TreeItem parentItem(TreeItem item) const = 0;
    virtual std::vector<TreeItem> children(TreeItem item) const = 0;

    // Whether the item shows an expand button.
    virtual void setHasButton(TreeItem item, bool hasButton) = 0;
    virtual bool hasButton(TreeItem item) const = 0;

    // Expanding and collapsing ask the listener first, whoever asks for them.
    virtual void expand(TreeItem item) = 0;
    virtual void collapse(TreeItem item) = 0;
    virtual bool isExpanded(TreeItem item) const = 0;

    virtual TreeItem selection() const = 0;
    // Selects the item and reports the selection change to the window.
    virtual void select(TreeItem item) = 0;

    // Sorts the children of `parent` by `compare` (negative, zero, positive as for strcmp).
    using Compare = std::function<int(TreeItem, TreeItem)>;
    virtual void sortChildren(TreeItem parent, const Compare& compare) = 0;

    // The listener stays set for the window's run; null removes it.
    virtual void setListener(TreeListener* listener) = 0;
};

class ProgressBar : public Control {
  public:
    // 0 to 100; values outside are clamped.
    virtual void setPosition(int percent) = 0;
    virtual int position() const = 0;
};

}  // namespace ui
