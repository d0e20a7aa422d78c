#include "ui/controls/wx/wx_picture.h"

#include <cstdlib>
#include <cstring>

#include <wx/image.h>

namespace ui::wxgui {

wxBitmap toWxBitmap(const Picture& picture) {
    if (!picture.isValid())
        return wxBitmap();
    const int width = picture.width();
    const int height = picture.height();
    const std::size_t count = static_cast<std::size_t>(width) * height;
    // wxImage takes ownership of malloc'ed buffers.
    auto* rgb = static_cast<unsigned char*>(std::malloc(count * 3));
    const auto pixels = picture.pixels();
    if (picture.bitsPerPixel() == 24) {
        std::memcpy(rgb, pixels.data(), count * 3);
        return wxBitmap(wxImage(width, height, rgb));
    }
    const auto palette = picture.palette();
    const int transparent = picture.transparentIndex();
    unsigned char* alpha = nullptr;
    if (transparent >= 0)
        alpha = static_cast<unsigned char*>(std::malloc(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t index = pixels[i];
        const Rgb colour = index < palette.size() ? palette[index] : Rgb{};
        rgb[i * 3] = colour.red;
        rgb[i * 3 + 1] = colour.green;
        rgb[i * 3 + 2] = colour.blue;
        if (alpha != nullptr)
            alpha[i] = index == transparent ? 0 : 255;
    }
    if (alpha != nullptr)
        return wxBitmap(wxImage(width, height, rgb, alpha));
    return wxBitmap(wxImage(width, height, rgb));
}

void WxCanvas::drawPicture(const Picture& picture, int x, int y) {
    const wxBitmap bitmap = toWxBitmap(picture);
    if (bitmap.IsOk())
        dc_.DrawBitmap(bitmap, x, y, true);
}

void WxCanvas::drawPictureAtScale(const Picture& picture, int x, int y, int scale) {
    if (scale <= 1) {
        drawPicture(picture, x, y);
        return;
    }
    const wxBitmap plain = toWxBitmap(picture);
    if (!plain.IsOk())
        return;
    // A bitmap of that scale factor covers its size divided by it, at the screen's own resolution.
    const wxBitmap bitmap(plain.ConvertToImage(), -1, static_cast<double>(scale));
    if (bitmap.IsOk())
        dc_.DrawBitmap(bitmap, x, y, true);
}

}  // namespace ui::wxgui
