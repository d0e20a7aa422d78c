// Check boxes and push buttons.
#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "ui/controls/wx/wx_control.h"

#include <string>
#include <utility>

#include <wx/checkbox.h>

namespace ui::wxgui {

namespace {

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

}  // namespace

std::unique_ptr<Control> makeWxCheckBox(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                        const Font& font) {
    return std::make_unique<WxCheckBox>(dialog, control, rect, font);
}

std::unique_ptr<Control> makeWxButton(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                      const Font& font) {
    return std::make_unique<WxButton>(dialog, control, rect, font);
}

}  // namespace ui::wxgui
