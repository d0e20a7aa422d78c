// The widgets this backend draws itself, where the toolkit's own do not behave as the windows need:
// labels (word wrap, alignment, border, clicks, no mnemonics), push buttons (a picture painted over the
// standard face), progress bars (a solid bar at the template's height) and a tree whose children sort by
// a given comparison.
#pragma once

#include <functional>

#include <wx/control.h>
#include <wx/treectrl.h>
#include <wx/window.h>

#include "ui/controls/canvas.h"

namespace ui::wxgui {

class LabelWidget final : public wxWindow {
  public:
    enum class Align { Left, Centre, Right };
    // `scrolls`: a text taller than the label gets a vertical scroll bar (and the mouse wheel scrolls
    // it) instead of being clipped.
    LabelWidget(wxWindow* parent, int id, const wxRect& rect, Align align, bool bordered,
                bool scrolls = false);

    void setText(const wxString& text);
    // Called when the label is clicked; none: clicks are not taken.
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    void click();

    bool AcceptsFocus() const override { return false; }
    bool SetFont(const wxFont& font) override;

    // A scrolling label: the first line shown, and the number of lines the text takes.
    int firstLine() const { return firstLine_; }
    int lineCount() const { return lineCount_; }

  private:
    void onPaint(wxPaintEvent& event);
    void onScroll(wxScrollWinEvent& event);
    void onWheel(wxMouseEvent& event);
    // Measures the text again and sets the scroll bar to it.
    void updateScrollbar();
    void scrollTo(int line);
    int visibleLines() const;
    // The width the text wraps at.
    int textWidth() const;

    static constexpr int kFrameInset = 1;
    static constexpr int kFrameIndent = 3;

    wxString text_;
    Align align_;
    bool bordered_;
    bool scrolls_;
    int firstLine_ = 0;
    int lineCount_ = 0;
    // Kept free at the right while the text is taller than the label.
    int scrollbarRoom_ = 0;
    int wheelRotation_ = 0;
    std::function<void()> onClick_;
};

class ButtonWidget final : public wxControl {
  public:
    ButtonWidget(wxWindow* parent, int id, const wxRect& rect, bool isDefault);

    void setText(const wxString& text);
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    // Clicks the button as the mouse and the space bar do: it takes the focus and reports the click.
    void click();
    // Painted over the standard face at every paint.
    void setPainter(std::function<void(Canvas&)> painter) { painter_ = std::move(painter); }

    bool AcceptsFocus() const override { return IsShown() && IsEnabled(); }

  protected:
    wxSize DoGetBestSize() const override;

  private:
    void onPaint(wxPaintEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onKeyUp(wxKeyEvent& event);
    void setPressed(bool pressed);

    wxString text_;
    bool isDefault_;
    bool pressed_ = false;
    bool hovered_ = false;
    bool spaceDown_ = false;
    std::function<void()> onClick_;
    std::function<void(Canvas&)> painter_;
};

class ProgressWidget final : public wxWindow {
  public:
    ProgressWidget(wxWindow* parent, int id, const wxRect& rect);
    void setValue(int percent);
    bool AcceptsFocus() const override { return false; }

  private:
    void onPaint(wxPaintEvent& event);
    int value_ = 0;
};

class TreeWidget final : public wxTreeCtrl {
  public:
    TreeWidget(wxWindow* parent, int id, const wxRect& rect, long style);
    // Sorts the children of `parent` by `compare`.
    void sortBy(const wxTreeItemId& parent,
                std::function<int(const wxTreeItemId&, const wxTreeItemId&)> compare);

  protected:
    int OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) override;

  private:
    std::function<int(const wxTreeItemId&, const wxTreeItemId&)> compare_;
};

}  // namespace ui::wxgui
