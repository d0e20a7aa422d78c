#include "ui/controls/headless/recording_canvas.h"

namespace ui::headless {

void RecordingCanvas::drawPicture(const Picture& picture, int x, int y) {
    if (picture.isValid())
        drawn_.push_back({x, y, picture});
}

}  // namespace ui::headless
