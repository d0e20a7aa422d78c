// What every control of the product's backend shares, and the makers of each kind of control.
//
// Internal to the backend: WxDialog builds its controls through makeWxControl (wx_controls.h), which
// picks the maker of the template entry's kind. Each wrapper belongs to one WxDialog; the widget belongs
// to the toolkit's window, and the wrapper only points at it.
#pragma once

#include <memory>
#include <set>

#include "ui/controls/controls.h"
#include "ui/controls/wx/wx_controls.h"
#include "ui/controls/wx/wx_dialog.h"
#include "ui/controls/wx/wx_text.h"

namespace ui::wxgui {

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

// The makers of each kind of control, one file per group of kinds.
using ControlMaker = std::unique_ptr<Control>(WxDialog& dialog, const ControlTemplate& control,
                                              const wxRect& rect, const Font& font);
ControlMaker makeWxLabel;
ControlMaker makeWxFrame;
ControlMaker makeWxProgressBar;
ControlMaker makeWxEdit;
ControlMaker makeWxCheckBox;
ControlMaker makeWxButton;
ControlMaker makeWxComboBox;
ControlMaker makeWxListBox;
ControlMaker makeWxTreeView;

}  // namespace ui::wxgui
