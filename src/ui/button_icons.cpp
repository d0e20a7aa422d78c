#include "ui/button_icons.h"

#include "image/builtin_pictures.h"

void CButtonIcons::Attach(ui::Button& button) {
    button_ = &button;
    button.setPainter([this](ui::Canvas& canvas) { Paint(canvas); });
}

void CButtonIcons::SetIcon(int resourceId, int mode) {
    picture_.destroy();
    resourceId_ = resourceId;
    mode_ = mode;
    if (button_ != nullptr)
        button_->redraw();
}

void CButtonIcons::Paint(ui::Canvas& canvas) {
    if (resourceId_ == 0)
        return;
    if (!picture_.isValid()) {
        picture_ = builtinPicture(resourceId_);
        picture_.setTransparentIndex(0);
        if (!picture_.isValid())
            return;
    }
    if (mode_ == kBothSides) {
        canvas.drawPicture(picture_, 10, 2);
        canvas.drawPicture(picture_, canvas.size().width - 28, 2);
    } else {
        canvas.drawPicture(picture_, 4, 2);
    }
}
