#include "ui/controls/wx/wx_dialog.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include <wx/dcclient.h>
#include <wx/icon.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include "ui/controls/wx/wx_controls.h"
#include "ui/controls/wx/wx_desktop.h"
#include "ui/controls/wx/wx_picture.h"
#include "ui/controls/wx/wx_text.h"

namespace ui::wxgui {

namespace {

// Menu ids of the system menu's items: the command plus this base, clear of the toolkit's own ids.
constexpr int kSystemMenuBase = 20000;

// Resizable for the toolkit, so that the program can narrow a window below the room its controls take;
// the size hints keep the user from resizing it.
long windowStyle(const DialogTemplate& dialogTemplate) {
    long style = wxCAPTION | wxRESIZE_BORDER;
    if (dialogTemplate.has(kSystemMenu))
        style |= wxSYSTEM_MENU | wxCLOSE_BOX;
    if (dialogTemplate.has(kMinimizeBox))
        style |= wxMINIMIZE_BOX;
    return style;
}

wxRect toWxRect(const Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

}  // namespace

WxDialog::WxDialog(wxWindow* parent, WxDesktop& desktop, Dialog& dialog, const DialogTemplate& dialogTemplate)
    : desktop_(desktop), dialog_(dialog), template_(dialogTemplate) {
    Create(parent, wxID_ANY, toWx(template_.title), wxDefaultPosition, wxDefaultSize, windowStyle(template_));
    // Dialog units are measured in the dialog's font: set it before converting anything.
    const Font dialogFont{template_.fontFace, template_.fontPoints, Font::kNormal, false};
    SetFont(toWxFont(dialogFont));
    base_ = ConvertDialogToPixels(wxSize(4, 8));
    const Size client = ui::dialogUnitsToPixels(template_.units, {base_.GetWidth(), base_.GetHeight()});
    SetClientSize(client.width, client.height);
    SetSizeHints(GetSize(), GetSize());
    for (const ControlTemplate& control : template_.controls)
        controls_.push_back(makeWxControl(
            *this, control, toWxRect(dialogUnitsToPixels(visibleDialogUnits(control))), dialogFont));
    CentreOnParent();

    Bind(wxEVT_CHAR_HOOK, &WxDialog::onCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &WxDialog::onClose, this);
    Bind(wxEVT_PAINT, &WxDialog::onPaint, this);
    Bind(wxEVT_ICONIZE, &WxDialog::onIconize, this);
    Bind(wxEVT_MAXIMIZE, [this](wxMaximizeEvent& event) {
        state_ = WindowState::Maximised;
        if (attached_)
            dialog_.onStateChange(state_);
        event.Skip();
    });
    Bind(wxEVT_CONTEXT_MENU, &WxDialog::onContextMenu, this);
}

WxDialog::~WxDialog() {
    detach();
}

int WxDialog::run() {
    attached_ = true;
    dialog_.attachHost(this);
    dialog_.onInit();
    if (!ending_)
        ShowModal();
    detach();
    return result_;
}

void WxDialog::detach() {
    if (!attached_)
        return;
    // Trees report their items as deleted while their owners still listen, as a closing window does.
    for (auto& control : controls_) {
        if (auto* tree = dynamic_cast<TreeView*>(control.get()))
            destroyTree(*tree);
    }
    attached_ = false;
    ending_ = true;
    dialog_.attachHost(nullptr);
}

Control* WxDialog::findControl(int id) {
    return findControlById(controls_, id);
}

DesktopServices& WxDialog::services() {
    return desktop_;
}

void WxDialog::setTitle(std::string_view title) {
    SetTitle(toWx(title));
}

std::string WxDialog::title() const {
    return fromWx(GetTitle());
}

void WxDialog::setIcon(const Picture& icon) {
    const wxBitmap bitmap = toWxBitmap(icon);
    if (!bitmap.IsOk())
        return;
    wxIcon converted;
    converted.CopyFromBitmap(bitmap);
    SetIcon(converted);
}

void WxDialog::appendSystemMenuSeparator() {
    systemMenu_.push_back({0, wxString()});
}

void WxDialog::appendSystemMenuItem(int command, std::string_view text) {
    systemMenu_.push_back({command, toWx(text)});
}

Rect WxDialog::windowRect() const {
    const wxRect rect = GetRect();
    return {rect.x, rect.y, rect.width, rect.height};
}

void WxDialog::moveWindow(const Rect& rect) {
    // A window of fixed size holds to the size hints it was given; give it new ones first.
    SetSizeHints(rect.width, rect.height, rect.width, rect.height);
    SetSize(rect.x, rect.y, rect.width, rect.height);
}

Size WxDialog::clientSize() const {
    const wxSize size = GetClientSize();
    return {size.GetWidth(), size.GetHeight()};
}

Rect WxDialog::dialogUnitsToPixels(const Rect& units) const {
    return ui::dialogUnitsToPixels(units, {base_.GetWidth(), base_.GetHeight()});
}

void WxDialog::redraw() {
    Refresh();
    Update();
}

void WxDialog::show(bool visible) {
    Show(visible);
}

bool WxDialog::isVisible() const {
    return IsShown();
}

WindowState WxDialog::state() const {
    return IsIconized() ? WindowState::Minimised : state_;
}

int WxDialog::pixelScale() const {
    return std::max(1, static_cast<int>(std::lround(GetContentScaleFactor())));
}

void WxDialog::acceptDroppedFiles() {
    // A drop over any control reaches the window: the toolkit looks for the drop target from the
    // control under the pointer up through its parents.
    DragAcceptFiles(true);
    Bind(wxEVT_DROP_FILES, &WxDialog::onDropFiles, this);
}

void WxDialog::onDropFiles(wxDropFilesEvent& event) {
    if (!accepting())
        return;
    std::vector<std::filesystem::path> items;
    for (int i = 0; i < event.GetNumberOfFiles(); ++i) {
        // The file manager's names, as the file system holds them.
        items.push_back(toFsPath(event.GetFiles()[i]));
    }
    dialog_.onDropFiles(droppedFiles(items));
}

void WxDialog::end(int result) {
    if (ending_)
        return;
    ending_ = true;
    result_ = result;
    if (IsModal())
        EndModal(result);
}

void WxDialog::dispatchClick(int id) {
    if (!accepting())
        return;
    if (id == kIdOk)
        dialog_.onOk();
    else if (id == kIdCancel)
        dialog_.onCancel();
    else
        dialog_.onCommand(id);
}

void WxDialog::dispatchCommand(int id) {
    if (accepting())
        dialog_.onCommand(id);
}

void WxDialog::dispatchSelectionChange(int id) {
    if (attached_)
        dialog_.onSelectionChange(id);
}

void WxDialog::dispatchDoubleClick(int id) {
    if (accepting())
        dialog_.onDoubleClick(id);
}

void WxDialog::dispatchTextChange(int id) {
    if (attached_)
        dialog_.onTextChange(id);
}

bool WxDialog::dispatchKeyDown(int id, const KeyEvent& key) {
    return accepting() && id != kNoId && dialog_.onKeyDown(id, key);
}

Control* WxDialog::focusedControl() {
    for (wxWindow* window = wxWindow::FindFocus(); window != nullptr && window != this;
         window = window->GetParent()) {
        for (auto& control : controls_) {
            if (widgetOf(*control) == window)
                return control.get();
        }
    }
    return nullptr;
}

void WxDialog::chooseSystemCommand(int command) {
    if (accepting())
        dialog_.onSystemCommand(command);  // nothing else is in this menu: unhandled commands do nothing
}

void WxDialog::dispatchEnter() {
    if (accepting())
        pressEnter();
}

void WxDialog::pressEnter() {
    const int target = enterTarget(*this, focusedControl());
    if (target != kNoId)
        dispatchClick(target);
    else
        dialog_.onOk();
}

void WxDialog::onCharHook(wxKeyEvent& event) {
    if (!accepting())
        return;
    const int code = event.GetKeyCode();
    if (code == WXK_RETURN || code == WXK_NUMPAD_ENTER) {
        pressEnter();
    } else if (code == WXK_ESCAPE) {
        dialog_.onCancel();
    } else if (code == WXK_F1) {
        dialog_.onHelp();
    } else if ((code == WXK_SPACE && event.GetModifiers() == wxMOD_ALT) ||
               (code == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT) || code == WXK_WINDOWS_MENU) {
        showSystemMenu();
    } else {
        event.Skip();
    }
}

void WxDialog::onClose(wxCloseEvent& event) {
    // The close box is the cancel command; the window itself closes only through end().
    if (accepting())
        dialog_.onCancel();
    if (event.CanVeto())
        event.Veto();
}

void WxDialog::onPaint(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    for (auto& control : controls_) {
        if (control->kind() == ControlKind::Frame && control->isVisible()) {
            const Rect frame = control->rect();
            dc.DrawRectangle(frame.x, frame.y, frame.width, frame.height);
        }
    }
    if (!attached_)
        return;
    WxCanvas canvas(dc, clientSize());
    dialog_.onPaint(canvas);
}

void WxDialog::onIconize(wxIconizeEvent& event) {
    state_ = event.IsIconized() ? WindowState::Minimised : WindowState::Normal;
    if (attached_)
        dialog_.onStateChange(state_);
    event.Skip();
}

void WxDialog::onContextMenu(wxContextMenuEvent& event) {
    // The window's background and its labels open the system menu; controls keep their own menus.
    auto* source = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (source == this || dynamic_cast<LabelWidget*>(source) != nullptr)
        showSystemMenu();
    else
        event.Skip();
}

void WxDialog::showSystemMenu() {
    if (systemMenu_.empty() || !accepting())
        return;
    wxMenu menu;
    for (const MenuItem& item : systemMenu_) {
        if (item.command == 0)
            menu.AppendSeparator();
        else
            menu.Append(kSystemMenuBase + item.command, item.text);
    }
    const int chosen = GetPopupMenuSelectionFromUser(menu);
    if (chosen != wxID_NONE)
        chooseSystemCommand(chosen - kSystemMenuBase);
}

}  // namespace ui::wxgui
