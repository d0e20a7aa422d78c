// A canvas that remembers what was drawn on it, for tests.
#pragma once

#include <vector>

#include "ui/controls/canvas.h"

namespace ui::headless {

struct DrawnPicture {
    int x = 0;
    int y = 0;
    Picture picture;
    int scale = 1;  // device pixels per pixel of the canvas the picture was made for
};

class RecordingCanvas final : public Canvas {
  public:
    explicit RecordingCanvas(Size size) : size_(size) {}

    Size size() const override { return size_; }
    void drawPicture(const Picture& picture, int x, int y) override;
    void drawPictureAtScale(const Picture& picture, int x, int y, int scale) override;

    const std::vector<DrawnPicture>& drawn() const { return drawn_; }

  private:
    Size size_;
    std::vector<DrawnPicture> drawn_;
};

}  // namespace ui::headless
