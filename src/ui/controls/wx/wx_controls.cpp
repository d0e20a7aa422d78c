#include "ui/controls/wx/wx_controls.h"

#include <stdexcept>

#include "ui/controls/wx/wx_control.h"

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

template <class Interface, class Widget>
wxWindow* widgetOfWrapper(Control& control) {
    if (auto* wrapper = dynamic_cast<WxControl<Interface, Widget>*>(&control))
        return wrapper->widget();
    return nullptr;
}

}  // namespace

std::unique_ptr<Control> makeWxControl(WxDialog& dialog, const ControlTemplate& control, const wxRect& pixels,
                                       const Font& dialogFont) {
    switch (control.kind) {
        case ControlKind::Label:
            return makeWxLabel(dialog, control, pixels, dialogFont);
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::DigitsEdit:
            return makeWxEdit(dialog, control, pixels, dialogFont);
        case ControlKind::CheckBox:
            return makeWxCheckBox(dialog, control, pixels, dialogFont);
        case ControlKind::PushButton:
        case ControlKind::DefaultButton:
            return makeWxButton(dialog, control, pixels, dialogFont);
        case ControlKind::DropDownList:
            return makeWxComboBox(dialog, control, pixels, dialogFont);
        case ControlKind::ListBox:
            return makeWxListBox(dialog, control, pixels, dialogFont);
        case ControlKind::TreeView:
            return makeWxTreeView(dialog, control, pixels, dialogFont);
        case ControlKind::ProgressBar:
            return makeWxProgressBar(dialog, control, pixels, dialogFont);
        case ControlKind::Frame:
            return makeWxFrame(dialog, control, pixels, dialogFont);
    }
    throw std::logic_error("unknown control kind");
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
