#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "ui/controls/wx/wx_controls.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include <wx/artprov.h>
#include <wx/imaglist.h>

#include "ui/controls/wx/wx_cp1250_input.h"
#include "ui/controls/wx/wx_dialog.h"
#include "ui/controls/wx/wx_text.h"

namespace ui::wxgui {

KeyEvent toKeyEvent(const wxKeyEvent& event) {
    KeyEvent key;
    switch (event.GetKeyCode()) {
        case WXK_BACK:
            key.key = Key::Backspace;
            break;
        case WXK_DELETE:
            key.key = Key::Delete;
            key.extended = true;
            break;
        case WXK_NUMPAD_DELETE:
            key.key = Key::Delete;
            break;
        case WXK_RETURN:
            key.key = Key::Enter;
            break;
        case WXK_NUMPAD_ENTER:
            key.key = Key::Enter;
            key.extended = true;
            break;
        case WXK_ESCAPE:
            key.key = Key::Escape;
            break;
        case WXK_F1:
            key.key = Key::F1;
            break;
        case WXK_UP:
            key.key = Key::Up;
            key.extended = true;
            break;
        case WXK_DOWN:
            key.key = Key::Down;
            key.extended = true;
            break;
        case WXK_SPACE:
            key.key = Key::Space;
            break;
        default:
            break;
    }
    return key;
}

namespace {

// The state and behaviour every wrapper shares.
template <class Interface, class Widget>
class WxControl : public Interface {
  public:
    WxControl(WxDialog& dialog, const ControlTemplate& control, Widget* widget, const Font& font)
        : dialog_(dialog), template_(control), widget_(widget), font_(font) {
        widget_->SetFont(toWxFont(font_));
        if (control.has(kHidden))
            widget_->Hide();
        if (control.has(kDisabled))
            widget_->Disable();
        // A key is held from its key-down to its key-up; the toolkit's own auto-repeat flag is not
        // filled in by every port (GTK leaves it unset), so the control keeps track itself. The focus
        // leaving the control forgets the keys, whose key-ups then go elsewhere.
        widget_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
            KeyEvent key = toKeyEvent(event);
            key.previouslyDown = !heldKeys_.insert(event.GetKeyCode()).second;
            if (!dialog_.dispatchKeyDown(template_.id, key))
                event.Skip();
        });
        widget_->Bind(wxEVT_KEY_UP, [this](wxKeyEvent& event) {
            heldKeys_.erase(event.GetKeyCode());
            event.Skip();
        });
        widget_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
            heldKeys_.clear();
            event.Skip();
        });
    }

    int id() const override { return template_.id; }
    ControlKind kind() const override { return template_.kind; }
    void show(bool visible) override { widget_->Show(visible); }
    bool isVisible() const override { return widget_->IsShown(); }
    void enable(bool enabled) override { widget_->Enable(enabled); }
    bool isEnabled() const override { return widget_->IsThisEnabled(); }
    void setFont(const Font& font) override {
        font_ = font;
        widget_->SetFont(toWxFont(font));
        widget_->Refresh();
    }
    Font font() const override { return font_; }
    void focus() override { widget_->SetFocus(); }
    bool hasFocus() const override { return dialog_.focusedControl() == this; }
    Rect rect() const override {
        const wxRect r = widget_->GetRect();
        return {r.x, r.y, r.width, r.height};
    }
    void move(const Rect& rect) override { widget_->SetSize(rect.x, rect.y, rect.width, rect.height); }
    void redraw() override {
        widget_->Refresh();
        widget_->Update();
    }

    Widget* widget() const { return widget_; }

  protected:
    WxDialog& dialog_;
    ControlTemplate template_;
    Widget* widget_;
    Font font_;

  private:
    std::set<int> heldKeys_;
};

template <class Interface, class Widget>
wxWindow* widgetOfWrapper(Control& control) {
    if (auto* wrapper = dynamic_cast<WxControl<Interface, Widget>*>(&control))
        return wrapper->widget();
    return nullptr;
}

LabelWidget::Align alignmentOf(const ControlTemplate& control) {
    if (control.has(kAlignCenter))
        return LabelWidget::Align::Centre;
    if (control.has(kAlignRight))
        return LabelWidget::Align::Right;
    return LabelWidget::Align::Left;
}

class WxLabel final : public WxControl<Label, LabelWidget> {
  public:
    WxLabel(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control,
                    new LabelWidget(&dialog, control.id, rect, alignmentOf(control), control.has(kBordered)),
                    font) {
        setText(control.text);
        if (control.has(kNotify))
            widget_->setOnClick([this] { dialog_.dispatchCommand(template_.id); });
    }
    void setText(std::string_view text) override {
        text_ = text;
        widget_->setText(toWx(text));
    }
    std::string text() const override { return text_; }

  private:
    std::string text_;
};

// A frame is drawn by its window, under the window's own painting; it has no widget.
class WxFrame final : public Control {
  public:
    WxFrame(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : dialog_(dialog),
          template_(control),
          rect_{rect.x, rect.y, rect.width, rect.height},
          visible_(!control.has(kHidden)),
          enabled_(!control.has(kDisabled)),
          font_(font) {}
    int id() const override { return template_.id; }
    ControlKind kind() const override { return template_.kind; }
    void setText(std::string_view text) override { text_ = text; }
    std::string text() const override { return text_; }
    void show(bool visible) override {
        visible_ = visible;
        dialog_.Refresh();
    }
    bool isVisible() const override { return visible_; }
    void enable(bool enabled) override { enabled_ = enabled; }
    bool isEnabled() const override { return enabled_; }
    void setFont(const Font& font) override { font_ = font; }
    Font font() const override { return font_; }
    void focus() override {}
    bool hasFocus() const override { return false; }
    Rect rect() const override { return rect_; }
    void move(const Rect& rect) override {
        rect_ = rect;
        dialog_.Refresh();
    }
    void redraw() override { dialog_.Refresh(); }

  private:
    WxDialog& dialog_;
    ControlTemplate template_;
    std::string text_;
    Rect rect_;
    bool visible_;
    bool enabled_;
    Font font_;
};

long editStyle(const ControlTemplate& control) {
    long style = 0;
    if (control.kind == ControlKind::PasswordEdit)
        style |= wxTE_PASSWORD;
    if (control.has(kReadOnly))
        style |= wxTE_READONLY;
    if (control.has(kBorderless))
        style |= wxBORDER_NONE;
    return style;
}

class WxEdit final : public WxControl<Edit, wxTextCtrl> {
  public:
    WxEdit(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control,
                    new wxTextCtrl(&dialog, control.id, toWx(control.text), rect.GetPosition(),
                                   rect.GetSize(), editStyle(control)),
                    font),
          input_(*widget_) {
        // A read-only edit shows the window's background, as a label would.
        if (control.has(kReadOnly))
            widget_->SetBackgroundColour(dialog.GetBackgroundColour());
        widget_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
            if (input_.keepsChange())
                dialog_.dispatchTextChange(template_.id);
        });
        widget_->Bind(wxEVT_CHAR, [this](wxKeyEvent& event) {
            if (takesCharacter(event))
                event.Skip();
        });
    }
    void setText(std::string_view text) override { widget_->SetValue(toWx(text)); }
    std::string text() const override { return fromWx(widget_->GetValue()); }
    void setLimit(int characters) override { limit_ = std::max(characters, 0); }
    int limit() const override { return limit_; }

  private:
    // Refuses a typed character that is not a digit in a digits-only edit, or that would pass the limit.
    bool takesCharacter(const wxKeyEvent& event) const {
        const wxChar typed = event.GetUnicodeKey();
        if (typed == WXK_NONE || typed < WXK_SPACE || typed == WXK_DELETE)
            return true;  // editing and navigation keys
        if (template_.kind == ControlKind::DigitsEdit && (typed < '0' || typed > '9'))
            return false;
        if (!Cp1250Input::takesTyped(typed))
            return false;
        long from = 0;
        long to = 0;
        widget_->GetSelection(&from, &to);
        return limit_ == 0 || static_cast<long>(widget_->GetValue().length()) - (to - from) < limit_;
    }
    Cp1250Input input_;
    int limit_ = 0;
};

class WxCheckBox final : public WxControl<CheckBox, wxCheckBox> {
  public:
    WxCheckBox(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control,
                    new wxCheckBox(&dialog, control.id, wxString(), rect.GetPosition(), rect.GetSize()),
                    font) {
        setText(control.text);
        widget_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { dialog_.dispatchCommand(template_.id); });
    }
    void setText(std::string_view text) override {
        text_ = text;
        widget_->SetLabelText(toWx(text));
        widget_->SetToolTip(toWx(text));  // the whole caption, when the box shows it shortened
        shortenLongCaption();
    }
    std::string text() const override { return text_; }
    void setChecked(bool checked) override { widget_->SetValue(checked); }
    bool isChecked() const override { return widget_->GetValue(); }

  private:
    // A caption wider than its box ends in an ellipsis instead of being cut off (GTK would also
    // complain about a box narrower than its caption).
    void shortenLongCaption() {
#ifdef __WXGTK__
        if (GtkWidget* caption = gtk_bin_get_child(GTK_BIN(widget_->GetHandle()));
            caption && GTK_IS_LABEL(caption))
            gtk_label_set_ellipsize(GTK_LABEL(caption), PANGO_ELLIPSIZE_END);
#endif
    }

    std::string text_;
};

class WxButton final : public WxControl<Button, ButtonWidget> {
  public:
    WxButton(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control,
                    new ButtonWidget(&dialog, control.id, rect, control.kind == ControlKind::DefaultButton),
                    font) {
        setText(control.text);
        widget_->setOnClick([this] { dialog_.dispatchClick(template_.id); });
    }
    void setText(std::string_view text) override {
        text_ = text;
        widget_->setText(toWx(text));
    }
    std::string text() const override { return text_; }
    void setPainter(Painter painter) override {
        widget_->setPainter(std::move(painter));
        widget_->Refresh();
    }

  private:
    std::string text_;
};

class WxComboBox final : public WxControl<ComboBox, wxChoice> {
  public:
    WxComboBox(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control, new wxChoice(&dialog, control.id, rect.GetPosition(), rect.GetSize()),
                    font) {
        widget_->Bind(wxEVT_CHOICE,
                      [this](wxCommandEvent&) { dialog_.dispatchSelectionChange(template_.id); });
    }
    void setText(std::string_view /*text*/) override {}
    std::string text() const override { return itemText(selection()); }
    void clear() override { widget_->Clear(); }
    int addItem(std::string_view text) override { return widget_->Append(toWx(text)); }
    int count() const override { return static_cast<int>(widget_->GetCount()); }
    std::string itemText(int index) const override {
        return index >= 0 && index < count() ? fromWx(widget_->GetString(static_cast<unsigned>(index)))
                                             : std::string();
    }
    int selection() const override { return widget_->GetSelection(); }
    void select(int index) override {
        widget_->SetSelection(index >= 0 && index < count() ? index : wxNOT_FOUND);
    }
};

long listStyle(const ControlTemplate& control) {
    long style = control.has(kExtendedSelection) ? wxLB_EXTENDED : wxLB_SINGLE;
    if (control.has(kSorted))
        style |= wxLB_SORT;
    if (control.has(kHorizontalScroll))
        style |= wxLB_HSCROLL;
    return style;
}

class WxListBox final : public WxControl<ListBox, wxListBox> {
  public:
    WxListBox(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control,
                    new wxListBox(&dialog, control.id, rect.GetPosition(), rect.GetSize(), 0, nullptr,
                                  listStyle(control)),
                    font) {
        // The caret is the item the user clicked or reached with the keyboard; a click's item is known
        // from where it hit, a key's from the item whose selection the event reports.
        widget_->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
            clickedItem_ = widget_->HitTest(event.GetPosition());
            event.Skip();
        });
        widget_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& event) {
            const int item = clickedItem_ != wxNOT_FOUND ? clickedItem_ : event.GetInt();
            clickedItem_ = wxNOT_FOUND;
            setCaret(item);
            dialog_.dispatchSelectionChange(template_.id);
        });
        // The toolkit reports Enter in a list box as a double click (GTK activates the row); only a
        // double click of the mouse is one, Enter is the window's.
        widget_->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& event) {
            mouseDoubleClick_ = true;
            event.Skip();
        });
        widget_->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
            mouseDoubleClick_ = false;
            event.Skip();
        });
        widget_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
            if (std::exchange(mouseDoubleClick_, false))
                dialog_.dispatchDoubleClick(template_.id);
            else
                dialog_.dispatchEnter();
        });
    }
    void setText(std::string_view /*text*/) override {}
    std::string text() const override { return std::string(); }
    int count() const override { return static_cast<int>(widget_->GetCount()); }
    int addItem(std::string_view text) override {
        const int index = widget_->Append(toWx(text));
        noteInsert(index);
        return index;
    }
    void insertItem(int index, std::string_view text) override {
        if (template_.has(kSorted)) {
            addItem(text);
            return;
        }
        if (index < 0 || index > count())
            index = count();
        widget_->Insert(toWx(text), static_cast<unsigned>(index));
        noteInsert(index);
    }
    void deleteItem(int index) override {
        if (!valid(index))
            return;
        widget_->Delete(static_cast<unsigned>(index));
        if (index < caret_)
            --caret_;
    }
    void replaceItem(int index, std::string_view text) override {
        if (template_.has(kSorted))
            throw std::logic_error("items of a sorted list box are not replaced");
        if (!valid(index))
            return;
        const bool selected = widget_->IsSelected(index);
        widget_->SetString(static_cast<unsigned>(index), toWx(text));
        if (selected != widget_->IsSelected(index))
            widget_->SetSelection(index, selected);
    }
    std::string itemText(int index) const override {
        return valid(index) ? fromWx(widget_->GetString(static_cast<unsigned>(index))) : std::string();
    }
    void clear() override {
        widget_->Clear();
        caret_ = 0;
    }
    bool isSelected(int index) const override { return valid(index) && widget_->IsSelected(index); }
    void setSelected(int index, bool selected) override {
        if (!valid(index))
            return;
        if (selected)
            widget_->SetSelection(index);
        else
            widget_->Deselect(index);
    }
    std::vector<int> selectedItems() const override {
        wxArrayInt selections;
        widget_->GetSelections(selections);
        std::vector<int> items(selections.begin(), selections.end());
        std::sort(items.begin(), items.end());
        return items;
    }
    int caret() const override { return count() == 0 ? -1 : std::clamp(caret_, 0, count() - 1); }
    void setCaret(int index) override {
        if (valid(index))
            caret_ = index;
    }
    void setHorizontalExtent(int /*pixels*/) override {}  // the toolkit scrolls as far as the longest item

  private:
    bool valid(int index) const { return index >= 0 && index < count(); }
    void noteInsert(int index) {
        if (count() > 1 && index <= caret_)
            ++caret_;
    }
    int caret_ = 0;
    int clickedItem_ = wxNOT_FOUND;
    bool mouseDoubleClick_ = false;
};

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

class WxProgressBar final : public WxControl<ProgressBar, ProgressWidget> {
  public:
    WxProgressBar(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect, const Font& font)
        : WxControl(dialog, control, new ProgressWidget(&dialog, control.id, rect), font) {}
    void setText(std::string_view /*text*/) override {}
    std::string text() const override { return std::string(); }
    void setPosition(int percent) override {
        position_ = std::clamp(percent, 0, 100);
        widget_->setValue(position_);
    }
    int position() const override { return position_; }

  private:
    int position_ = 0;
};

}  // namespace

std::unique_ptr<Control> makeWxControl(WxDialog& dialog, const ControlTemplate& control, const wxRect& pixels,
                                       const Font& dialogFont) {
    switch (control.kind) {
        case ControlKind::Label:
            return std::make_unique<WxLabel>(dialog, control, pixels, dialogFont);
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::DigitsEdit:
            return std::make_unique<WxEdit>(dialog, control, pixels, dialogFont);
        case ControlKind::CheckBox:
            return std::make_unique<WxCheckBox>(dialog, control, pixels, dialogFont);
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
            return std::make_unique<WxButton>(dialog, control, pixels, dialogFont);
        case ControlKind::DropDownList:
            return std::make_unique<WxComboBox>(dialog, control, pixels, dialogFont);
        case ControlKind::ListBox:
            return std::make_unique<WxListBox>(dialog, control, pixels, dialogFont);
        case ControlKind::TreeView:
            return std::make_unique<WxTreeView>(dialog, control, pixels, dialogFont);
        case ControlKind::ProgressBar:
            return std::make_unique<WxProgressBar>(dialog, control, pixels, dialogFont);
        case ControlKind::Frame:
            return std::make_unique<WxFrame>(dialog, control, pixels, dialogFont);
    }
    throw std::logic_error("unknown control kind");
}

void destroyTree(TreeView& tree) {
    if (auto* wxTree = dynamic_cast<WxTreeView*>(&tree))
        wxTree->destroy();
}

wxWindow* widgetOf(Control& control) {
    if (auto* w = widgetOfWrapper<Label, LabelWidget>(control))
        return w;
    if (auto* w = widgetOfWrapper<Edit, wxTextCtrl>(control))
        return w;
    if (auto* w = widgetOfWrapper<CheckBox, wxCheckBox>(control))
        return w;
    if (auto* w = widgetOfWrapper<Button, ButtonWidget>(control))
        return w;
    if (auto* w = widgetOfWrapper<ComboBox, wxChoice>(control))
        return w;
    if (auto* w = widgetOfWrapper<ListBox, wxListBox>(control))
        return w;
    if (auto* w = widgetOfWrapper<TreeView, TreeWidget>(control))
        return w;
    if (auto* w = widgetOfWrapper<ProgressBar, ProgressWidget>(control))
        return w;
    return nullptr;
}

}  // namespace ui::wxgui
