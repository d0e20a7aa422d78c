// A surface to draw pictures on during a paint: a window's client area or a control's face.
//
// A canvas exists only during the paint call that hands it out; coordinates are pixels relative to the
// painted area's top-left corner. A palette picture's transparent index is not drawn.
#pragma once

#include "image/picture.h"
#include "ui/controls/geometry.h"

namespace ui {

class Canvas {
  public:
    virtual ~Canvas() = default;
    // The size of the painted area.
    virtual Size size() const = 0;
    // Draws the picture at its own size with its top-left corner at x, y.
    virtual void drawPicture(const Picture& picture, int x, int y) = 0;
    // Draws a picture made for `scale` device pixels per pixel of the canvas (DialogHost::pixelScale):
    // it covers its width and height divided by the scale, each of its pixels one pixel of the screen.
    virtual void drawPictureAtScale(const Picture& picture, int x, int y, int scale) = 0;
};

}  // namespace ui
