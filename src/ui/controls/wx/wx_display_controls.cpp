// Labels, frames and progress bars: the controls that show and do not take input.
#include "ui/controls/wx/wx_control.h"

#include <algorithm>
#include <string>

namespace ui::wxgui {

namespace {

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
                    new LabelWidget(&dialog, control.id, rect, alignmentOf(control), control.has(kBordered),
                                    control.has(kVerticalScroll)),
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

std::unique_ptr<Control> makeWxLabel(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                     const Font& font) {
    return std::make_unique<WxLabel>(dialog, control, rect, font);
}

std::unique_ptr<Control> makeWxFrame(WxDialog& dialog, const ControlTemplate& control, const wxRect& rect,
                                     const Font& font) {
    return std::make_unique<WxFrame>(dialog, control, rect, font);
}

std::unique_ptr<Control> makeWxProgressBar(WxDialog& dialog, const ControlTemplate& control,
                                           const wxRect& rect, const Font& font) {
    return std::make_unique<WxProgressBar>(dialog, control, rect, font);
}

}  // namespace ui::wxgui
