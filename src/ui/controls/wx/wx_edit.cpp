// Edits: plain, password and digits-only.
#include "ui/controls/wx/wx_control.h"
#include "ui/controls/wx/wx_cp1250_input.h"

#include <algorithm>

#include <wx/textctrl.h>

namespace ui::wxgui {

namespace {

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
    void setText(std::string_view text) override {
        widget_->SetValue(toWx(text));
        // The caret goes after the text, also when the text corrects what the user is typing (a change
        // handler that writes back "1" for "0"): left before it, the next digit would land in front.
        widget_->SetInsertionPointEnd();
    }
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

}  // namespace

std::unique_ptr<Control> makeWxEdit(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                    const Font& font) {
    return std::make_unique<WxEdit>(dialog, control, rect, font);
}

}  // namespace ui::wxgui
