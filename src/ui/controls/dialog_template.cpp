#include "ui/controls/dialog_template.h"

namespace ui {

const char* controlKindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::PasswordEdit:
            return "password edit";
        case ControlKind::DigitsEdit:
            return "digits-only edit";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::PushButton:
            return "push button";
        case ControlKind::DefaultButton:
            return "default button";
        case ControlKind::DropDownList:
            return "drop-down list";
        case ControlKind::ListBox:
            return "list box";
        case ControlKind::TreeView:
            return "tree view";
        case ControlKind::ProgressBar:
            return "progress bar";
        case ControlKind::Frame:
            return "frame";
    }
    return "control";
}

const ControlTemplate* DialogTemplate::find(int wanted) const {
    if (wanted == kNoId)
        return nullptr;
    for (const ControlTemplate& control : controls) {
        if (control.id == wanted)
            return &control;
    }
    return nullptr;
}

Rect visibleDialogUnits(const ControlTemplate& control) {
    Rect units = control.units;
    if (control.kind == ControlKind::DropDownList)
        units.height = kDropDownClosedHeight;
    return units;
}

}  // namespace ui
