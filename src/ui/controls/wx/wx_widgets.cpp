#include "ui/controls/wx/wx_widgets.h"

#include <algorithm>
#include <vector>

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/tokenzr.h>

#include "ui/controls/wx/wx_picture.h"

namespace ui::wxgui {

namespace {

wxColour faceColour() {
    return wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
}

wxColour textColour(bool enabled) {
    return wxSystemSettings::GetColour(enabled ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT);
}

// The text broken into lines that fit `width`: at line breaks, and between words where a line would
// grow too wide. A single word wider than the line stays whole (and is clipped).
std::vector<wxString> wrapText(wxDC& dc, const wxString& text, int width) {
    std::vector<wxString> lines;
    wxStringTokenizer paragraphs(text, wxASCII_STR("\n"), wxTOKEN_RET_EMPTY_ALL);
    while (paragraphs.HasMoreTokens()) {
        const wxString paragraph = paragraphs.GetNextToken();
        wxString line;
        wxStringTokenizer words(paragraph, wxASCII_STR(" "), wxTOKEN_RET_EMPTY_ALL);
        bool first = true;
        while (words.HasMoreTokens()) {
            const wxString word = words.GetNextToken();
            const wxString candidate = first ? word : line + wxASCII_STR(" ") + word;
            if (!first && dc.GetTextExtent(candidate).GetWidth() > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            first = false;
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

// --- Label

LabelWidget::LabelWidget(wxWindow* parent, int id, const wxRect& rect, Align align, bool bordered,
                         bool scrolls)
    : wxWindow(parent, id, rect.GetPosition(), rect.GetSize(),
               wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE | (scrolls ? wxVSCROLL : 0)),
      align_(align),
      bordered_(bordered),
      scrolls_(scrolls) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &LabelWidget::onPaint, this);
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
        click();
        event.Skip();
    });
    if (scrolls_) {
        for (const auto& type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                                 wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                                 wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
            Bind(type, &LabelWidget::onScroll, this);
        Bind(wxEVT_MOUSEWHEEL, &LabelWidget::onWheel, this);
        Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
            updateScrollbar();
            event.Skip();
        });
        updateScrollbar();
    }
}

void LabelWidget::click() {
    if (onClick_ && IsEnabled())
        onClick_();
}

void LabelWidget::setText(const wxString& text) {
    text_ = text;
    firstLine_ = 0;
    updateScrollbar();
    Refresh();
}

bool LabelWidget::SetFont(const wxFont& font) {
    const bool changed = wxWindow::SetFont(font);
    updateScrollbar();
    return changed;
}

int LabelWidget::visibleLines() const {
    const int lineHeight = std::max(1, GetCharHeight());
    return std::max(1, GetClientSize().GetHeight() / lineHeight);
}

int LabelWidget::textWidth() const {
    // A frame takes a pixel on each side, and its text is indented (see onPaint).
    const int frame = bordered_ ? 2 * kFrameInset + kFrameIndent : 0;
    return std::max(0, GetClientSize().GetWidth() - frame - scrollbarRoom_);
}

void LabelWidget::updateScrollbar() {
    if (!scrolls_)
        return;
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    scrollbarRoom_ = 0;
    lineCount_ = static_cast<int>(wrapText(dc, text_, textWidth()).size());
    const int visible = visibleLines();
    if (lineCount_ > visible) {
        // The desktop may draw its scroll bar over the text: the lines keep clear of it.
        scrollbarRoom_ = std::max(0, wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this));
        lineCount_ = static_cast<int>(wrapText(dc, text_, textWidth()).size());
    }
    if (lineCount_ <= visible) {
        firstLine_ = 0;
        SetScrollbar(wxVERTICAL, 0, 0, 0);
        return;
    }
    firstLine_ = std::clamp(firstLine_, 0, lineCount_ - visible);
    SetScrollbar(wxVERTICAL, firstLine_, visible, lineCount_);
}

void LabelWidget::scrollTo(int line) {
    const int last = std::max(0, lineCount_ - visibleLines());
    line = std::clamp(line, 0, last);
    if (line == firstLine_)
        return;
    firstLine_ = line;
    SetScrollPos(wxVERTICAL, firstLine_);
    Refresh();
}

void LabelWidget::onScroll(wxScrollWinEvent& event) {
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLLWIN_TOP)
        scrollTo(0);
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        scrollTo(lineCount_);
    else if (type == wxEVT_SCROLLWIN_LINEUP)
        scrollTo(firstLine_ - 1);
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        scrollTo(firstLine_ + 1);
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        scrollTo(firstLine_ - visibleLines());
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        scrollTo(firstLine_ + visibleLines());
    else
        scrollTo(event.GetPosition());
}

void LabelWidget::onWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() <= 0) {
        event.Skip();
        return;
    }
    // Whole notches only (a touchpad sends parts of one); each notch moves the lines the desktop says.
    wheelRotation_ += event.GetWheelRotation();
    const int notches = wheelRotation_ / event.GetWheelDelta();
    wheelRotation_ -= notches * event.GetWheelDelta();
    scrollTo(firstLine_ - notches * std::max(1, event.GetLinesPerAction()));
}

void LabelWidget::onPaint(wxPaintEvent& /*event*/) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour().IsOk() ? GetParent()->GetBackgroundColour()
                                                                       : faceColour()));
    dc.Clear();
    int inset = 0;
    int indent = 0;
    if (bordered_) {
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
        inset = kFrameInset;
        // Text in a frame starts where a list box's rows start, so a header lines up with its list.
        indent = kFrameIndent;
    }
    dc.SetFont(GetFont());
    dc.SetTextForeground(textColour(IsEnabled()));
    dc.SetClippingRegion(inset, inset, size.GetWidth() - 2 * inset, size.GetHeight() - 2 * inset);
    const int width = textWidth();
    const std::vector<wxString> lines = wrapText(dc, text_, width);
    const std::size_t first = scrolls_ ? static_cast<std::size_t>(firstLine_) : 0;
    int y = inset;
    for (std::size_t i = first; i < lines.size(); ++i) {
        // A scrolling label shows whole lines only; the scroll bar reaches the rest.
        if (scrolls_ && i > first && y + dc.GetCharHeight() > size.GetHeight() - inset)
            break;
        const wxString& line = lines[i];
        const int lineWidth = dc.GetTextExtent(line).GetWidth();
        int x = inset + indent;
        if (align_ == Align::Centre)
            x = inset + indent + (width - lineWidth) / 2;
        else if (align_ == Align::Right)
            x = inset + indent + width - lineWidth;
        dc.DrawText(line, x, y);
        y += dc.GetCharHeight();
        if (y >= size.GetHeight())
            break;
    }
}

// --- Button

ButtonWidget::ButtonWidget(wxWindow* parent, int id, const wxRect& rect, bool isDefault)
    : wxControl(parent, id, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      isDefault_(isDefault) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &ButtonWidget::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &ButtonWidget::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &ButtonWidget::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &ButtonWidget::onLeftUp, this);
    Bind(wxEVT_MOTION, &ButtonWidget::onMotion, this);
    Bind(wxEVT_KEY_DOWN, &ButtonWidget::onKeyDown, this);
    Bind(wxEVT_KEY_UP, &ButtonWidget::onKeyUp, this);
    Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent&) {
        hovered_ = true;
        Refresh();
    });
    Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent&) {
        hovered_ = false;
        Refresh();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { setPressed(false); });
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        Refresh();
        event.Skip();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        spaceDown_ = false;
        setPressed(false);
        event.Skip();
    });
}

void ButtonWidget::setText(const wxString& text) {
    text_ = text;
    Refresh();
}

wxSize ButtonWidget::DoGetBestSize() const {
    return GetSize();
}

void ButtonWidget::click() {
    if (!IsEnabled())
        return;
    SetFocus();
    if (onClick_)
        onClick_();
}

void ButtonWidget::setPressed(bool pressed) {
    if (pressed_ != pressed) {
        pressed_ = pressed;
        Refresh();
    }
}

void ButtonWidget::onPaint(wxPaintEvent& /*event*/) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour().IsOk() ? GetParent()->GetBackgroundColour()
                                                                       : faceColour()));
    dc.Clear();
    int flags = 0;
    if (!IsEnabled())
        flags |= wxCONTROL_DISABLED;
    else if (pressed_)
        flags |= wxCONTROL_PRESSED;
    else if (hovered_)
        flags |= wxCONTROL_CURRENT;
    if (isDefault_)
        flags |= wxCONTROL_ISDEFAULT;
    const wxRect face(size);
    wxRendererNative::Get().DrawPushButton(this, dc, face, flags);
    dc.SetFont(GetFont());
    dc.SetTextForeground(textColour(IsEnabled()));
    const wxSize extent = dc.GetTextExtent(text_);
    const int shift = pressed_ ? 1 : 0;
    dc.DrawText(text_, (size.GetWidth() - extent.GetWidth()) / 2 + shift,
                (size.GetHeight() - extent.GetHeight()) / 2 + shift);
    if (HasFocus())
        wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(size).Deflate(3), 0);
    if (painter_) {
        WxCanvas canvas(dc, {size.GetWidth(), size.GetHeight()});
        painter_(canvas);
    }
}

void ButtonWidget::onLeftDown(wxMouseEvent& /*event*/) {
    if (!IsEnabled())
        return;
    SetFocus();
    if (!HasCapture())
        CaptureMouse();
    setPressed(true);
}

void ButtonWidget::onLeftUp(wxMouseEvent& event) {
    if (!HasCapture())
        return;
    ReleaseMouse();
    const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
    setPressed(false);
    if (inside)
        click();
}

void ButtonWidget::onMotion(wxMouseEvent& event) {
    if (HasCapture())
        setPressed(wxRect(GetClientSize()).Contains(event.GetPosition()));
    event.Skip();
}

void ButtonWidget::onKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && IsEnabled()) {
        spaceDown_ = true;
        setPressed(true);
        return;
    }
    event.Skip();
}

void ButtonWidget::onKeyUp(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && spaceDown_) {
        spaceDown_ = false;
        setPressed(false);
        click();
        return;
    }
    event.Skip();
}

// --- Progress bar

ProgressWidget::ProgressWidget(wxWindow* parent, int id, const wxRect& rect)
    : wxWindow(parent, id, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &ProgressWidget::onPaint, this);
}

void ProgressWidget::setValue(int percent) {
    if (percent != value_) {
        value_ = percent;
        Refresh();
    }
}

void ProgressWidget::onPaint(wxPaintEvent& /*event*/) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(faceColour()));
    dc.Clear();
    // A sunken trough with a solid bar in the selection colour, as tall as the control.
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
    const int inner = size.GetWidth() - 4;
    const int filled = inner * value_ / 100;
    if (filled > 0) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
        dc.DrawRectangle(2, 2, filled, size.GetHeight() - 4);
    }
}

// --- Tree

TreeWidget::TreeWidget(wxWindow* parent, int id, const wxRect& rect, long style)
    : wxTreeCtrl(parent, id, rect.GetPosition(), rect.GetSize(), style) {}

void TreeWidget::sortBy(const wxTreeItemId& parent,
                        std::function<int(const wxTreeItemId&, const wxTreeItemId&)> compare) {
    compare_ = std::move(compare);
    SortChildren(parent);
    compare_ = nullptr;
}

int TreeWidget::OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) {
    return compare_ ? compare_(a, b) : wxTreeCtrl::OnCompareItems(a, b);
}

}  // namespace ui::wxgui
