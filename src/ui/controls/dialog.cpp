#include "ui/controls/dialog.h"

namespace ui {

Control& DialogHost::control(int id) {
    if (Control* found = findControl(id))
        return *found;
    throw std::logic_error("dialog " + std::to_string(dialogTemplate().id) + " has no control " +
                           std::to_string(id));
}

}  // namespace ui
