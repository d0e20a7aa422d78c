#include "ui/controls/headless/recording_canvas.h"

namespace ui::headless {

void RecordingCanvas::drawPicture(const Picture& picture, int x, int y) {
    if (picture.isValid())
        drawn_.push_back({x, y, picture});
}

void RecordingCanvas::drawPictureAtScale(const Picture& picture, int x, int y, int scale) {
    if (picture.isValid())
        drawn_.push_back({x, y, picture, scale});
}

}  // namespace ui::headless
