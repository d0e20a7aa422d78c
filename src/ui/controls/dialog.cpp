#include "ui/controls/dialog.h"

#include "platform/fs_names.h"

namespace ui {

Control& DialogHost::control(int id) {
    if (Control* found = findControl(id))
        return *found;
    throw std::logic_error("dialog " + std::to_string(dialogTemplate().id) + " has no control " +
                           std::to_string(id));
}

DroppedFiles droppedFiles(const std::vector<std::filesystem::path>& items) {
    DroppedFiles dropped;
    for (const auto& item : items) {
        if (auto path = platform::fromFsName(item))
            dropped.paths.push_back(std::move(*path));
        else
            ++dropped.unnamable;
    }
    return dropped;
}

Control* findControlById(const std::vector<std::unique_ptr<Control>>& controls, int id) {
    if (id == kNoId)
        return nullptr;
    for (const auto& control : controls) {
        if (control->id() == id)
            return control.get();
    }
    return nullptr;
}

bool isPushButton(const Control& control) {
    return control.kind() == ControlKind::PushButton || control.kind() == ControlKind::DefaultButton;
}

int enterTarget(DialogHost& host, const Control* focused) {
    if (focused != nullptr && isPushButton(*focused) && focused->isVisible() && focused->isEnabled())
        return focused->id();
    for (const ControlTemplate& control : host.dialogTemplate().controls) {
        if (control.kind != ControlKind::DefaultButton)
            continue;
        const Control* button = host.findControl(control.id);
        if (button != nullptr && button->isVisible() && button->isEnabled())
            return control.id;
    }
    return kNoId;
}

}  // namespace ui
