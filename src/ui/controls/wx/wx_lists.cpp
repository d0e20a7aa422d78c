// Drop-down lists and list boxes.
#include "ui/controls/wx/wx_control.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#include <wx/choice.h>
#include <wx/listbox.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace ui::wxgui {

namespace {

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
        fitFixedPitchRows({std::string(text)});
        const int index = widget_->Append(toWx(text));
        noteInsert(index);
        return index;
    }
    void addItems(const std::vector<std::string>& texts) override {
        if (template_.has(kSorted) || texts.empty()) {
            ListBox::addItems(texts);  // each item's place is the toolkit's to find
            return;
        }
        // One insertion: the toolkit looks over the whole list's selection after every insertion, so
        // rows added one by one cost time that grows with the square of their number.
        wxArrayString items;
        items.reserve(texts.size());
        for (const std::string& text : texts)
            items.push_back(toWx(text));
        fitFixedPitchRows(texts);
        const int first = count();
        widget_->Append(items);
        // The caret moves as it would have with each item added by itself.
        for (int index = first; index < count(); ++index) {
            if (index > 0 && index <= caret_)
                ++caret_;
        }
    }
    void insertItem(int index, std::string_view text) override {
        if (template_.has(kSorted)) {
            addItem(text);
            return;
        }
        if (index < 0 || index > count())
            index = count();
        fitFixedPitchRows({std::string(text)});
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
        fitFixedPitchRows({std::string(text)});
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
    // In a font of fixed pitch every row has the same height and the widest row is the longest one, so
    // the toolkit need not measure each row: the column gets the width of the longest text so far,
    // measured once, and the rows a fixed height. Without this, GTK lays out every row of a long list
    // (thousands of texts) before the window stands idle.
    void fitFixedPitchRows(const std::vector<std::string>& texts) {
#ifdef __WXGTK__
        if (!widget_->GetFont().IsFixedWidth())
            return;
        const std::string* longest = nullptr;
        for (const std::string& text : texts) {
            if (text.size() > longestRow_ && (longest == nullptr || text.size() > longest->size()))
                longest = &text;
        }
        if (longest == nullptr)
            return;
        longestRow_ = longest->size();
        GtkTreeView* view = widget_->m_treeview;
        GtkTreeViewColumn* column = view != nullptr ? gtk_tree_view_get_column(view, 0) : nullptr;
        if (column == nullptr)
            return;
        // A character to spare on each side: a column cut short would hide the end of a path.
        const int width = widget_->GetTextExtent(toWx(*longest + "  ")).GetWidth() + 16;
        gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
        gtk_tree_view_column_set_fixed_width(column,
                                             std::max(width, gtk_tree_view_column_get_fixed_width(column)));
        gtk_tree_view_set_fixed_height_mode(view, TRUE);
#else
        (void)texts;
#endif
    }
    std::size_t longestRow_ = 0;
    void noteInsert(int index) {
        if (count() > 1 && index <= caret_)
            ++caret_;
    }
    int caret_ = 0;
    int clickedItem_ = wxNOT_FOUND;
    bool mouseDoubleClick_ = false;
};

}  // namespace

std::unique_ptr<Control> makeWxComboBox(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                        const Font& font) {
    return std::make_unique<WxComboBox>(dialog, control, rect, font);
}

std::unique_ptr<Control> makeWxListBox(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                       const Font& font) {
    return std::make_unique<WxListBox>(dialog, control, rect, font);
}

}  // namespace ui::wxgui
