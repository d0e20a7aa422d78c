// A decoded picture, toolkit-free: empty, or width x height pixels.
//
// This header is the contract between the picture decoding (image/) and its users (the windows and the
// UI backends, which turn a Picture into a toolkit bitmap). Pixels are either 24-bit RGB or 8-bit
// indices into a palette; rows run top-down without padding. A palette picture may name one index as
// transparent (not drawn). Pictures are plain values: copy and move freely; no thread affinity.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Picture type of a file as decided by the end of its name, ignoring case: ".jpg" and ".jpeg" are
// JPEG, ".tif" and ".tiff" TIFF; anything else is not a picture (Unknown). Png and Bmp are only ever
// found by content.
enum class PictureType { Unknown, Jpeg, Tiff, Png, Bmp };
PictureType pictureTypeOfName(std::string_view path);

// The box a picture is about to be thumbnailed into (see Picture::thumbnail). A load given the box may
// decode at a reduced scale, never below the size the thumbnail will have.
struct ThumbnailBox {
    int width = 0;
    int height = 0;
};

class Picture {
  public:
    Picture() = default;

    // A 24-bit picture from RGB bytes (3 per pixel); a palette picture from indices and a palette.
    static Picture fromRgb(int width, int height, std::vector<std::uint8_t> rgb);
    static Picture fromPalette(int width, int height, std::vector<std::uint8_t> indices,
                               std::vector<Rgb> palette);

    bool isValid() const { return width_ > 0 && height_ > 0; }
    // Makes the picture empty.
    void destroy();

    // Decodes the file at the cp1250 `path`. With a type, that codec is tried first and detection by
    // content follows when it fails; with Unknown, detection only. On failure the picture is empty and
    // the result false. Damaged or hostile files fail cleanly (no crash, no hang, bounded memory).
    bool load(std::string_view path, PictureType type = PictureType::Unknown);
    // The same, for a picture that is thumbnailed into `box` next: a JPEG may then be decoded at a reduced
    // scale (much faster for photographs), so width() and height() may be smaller than ownWidth() and
    // ownHeight(). The thumbnail made afterwards has the size and content of one made from a full decode
    // (up to rounding).
    bool load(std::string_view path, PictureType type, ThumbnailBox box);

    // The size of the pixels held.
    int width() const { return width_; }
    int height() const { return height_; }
    // The size of the picture these pixels stand for: as stored in its file, even after a load that
    // decoded at a reduced scale; otherwise the same as width() and height().
    int ownWidth() const { return ownWidth_; }
    int ownHeight() const { return ownHeight_; }
    // 24 for RGB, 8 for palette pictures; 0 when empty.
    int bitsPerPixel() const;

    // Scales the picture down into width x height keeping its proportions (never enlarges), then centres
    // it on a canvas of exactly width x height filled with `background`. The result is 24-bit. The new
    // size follows from the own size: when ownWidth * height < ownHeight * width the picture gets the full
    // height, otherwise the full width, the other side scaled and truncated to whole pixels (at least 1).
    // A 24-bit picture that shrinks in both directions is scaled by area averaging (each new pixel is the
    // mean of the area it covers, weighted in thousandths of a pixel), any other picture bilinearly.
    // Transparent palette pixels take the background colour. An empty picture stays empty.
    void thumbnail(int width, int height, Rgb background);

    // 24-bit: width * height * 3 bytes R, G, B. 8-bit: width * height palette indices.
    std::span<const std::uint8_t> pixels() const { return pixels_; }
    std::span<const Rgb> palette() const { return palette_; }
    // The colour at x, y (through the palette for 8-bit pictures).
    Rgb colourAt(int x, int y) const;

    // Palette index that is not drawn; -1 for none.
    void setTransparentIndex(int index) { transparentIndex_ = index; }
    int transparentIndex() const { return transparentIndex_; }

  private:
    int width_ = 0;
    int height_ = 0;
    int ownWidth_ = 0;
    int ownHeight_ = 0;
    std::vector<std::uint8_t> pixels_;
    std::vector<Rgb> palette_;
    int transparentIndex_ = -1;
};
