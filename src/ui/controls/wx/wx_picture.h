// Pictures on the toolkit's surfaces.
#pragma once

#include <wx/bitmap.h>
#include <wx/dc.h>

#include "ui/controls/canvas.h"

namespace ui::wxgui {

// A 24-bit picture as it is; a palette picture through its palette, its transparent index fully
// transparent. An empty picture gives an invalid bitmap.
wxBitmap toWxBitmap(const Picture& picture);

// A canvas over a device context, for the duration of one paint.
class WxCanvas final : public Canvas {
  public:
    WxCanvas(wxDC& dc, Size size) : dc_(dc), size_(size) {}
    Size size() const override { return size_; }
    void drawPicture(const Picture& picture, int x, int y) override;
    void drawPictureAtScale(const Picture& picture, int x, int y, int scale) override;

  private:
    wxDC& dc_;
    Size size_;
};

}  // namespace ui::wxgui
