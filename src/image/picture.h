// A decoded picture, toolkit-free: empty, or width x height pixels.
//
// This header is the contract between the picture decoding (image/) and its users (the windows and the
// UI backends, which turn a Picture into a toolkit bitmap). Pixels are either 24-bit RGB or 8-bit
// indices into a palette; rows run top-down without padding. A palette picture may name one index as
// transparent (not drawn). Pictures are plain values: copy and move freely; no thread affinity.
#pragma once

#include <cstdint>
#include <span>
#include <stop_token>
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

// What came of a load.
enum class LoadOutcome {
    Loaded,
    Unreadable,    // the file cannot be opened or read
    NotAPicture,   // its content is in no format that the library reads
    Damaged,       // a picture that does not decode completely: cut short or corrupt
    TooDemanding,  // larger, or more work to decode, than a load may take on
    Cancelled,     // the load was withdrawn before it ended
};

struct LoadOptions {
    // The thumbnail the picture is loaded for (see Picture::load); empty: the picture is loaded whole.
    ThumbnailBox box;
    // Stopped from any thread, the load ends soon after as Cancelled.
    std::stop_token stop;
};

struct LoadReport {
    LoadOutcome outcome = LoadOutcome::Unreadable;
    // The work the decoding did and the most it was allowed, in the units of the file's codec (JPEG:
    // coefficient blocks; others: bytes of decoded samples and of the RGB made of them). A file that
    // asks for more than the limit is refused, within about a second.
    std::uint64_t work = 0;
    std::uint64_t workLimit = 0;
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

    // Decodes the file at the cp1250 `path`. The type of its name (Unknown for none) is a hint; the
    // format is the one its content announces, so a JPEG named .tif loads as a JPEG. A picture whose
    // file tells how it is to be turned (EXIF orientation in a JPEG, the Orientation tag of a TIFF)
    // comes out upright: every size below is then the upright one. On failure the picture is empty.
    // Damaged or hostile files fail cleanly: no crash, bounded memory (a few hundred MB at most) and
    // bounded work (about a second).
    //
    // With options.box, the picture is loaded for a thumbnail into that box, made next: a JPEG may be
    // decoded at a reduced scale, and a picture that the thumbnail shrinks both ways is reduced while
    // it is decoded, so width() and height() may be smaller than ownWidth() and ownHeight(). The
    // thumbnail made afterwards has the size and content of one made from a full decode (up to
    // rounding). Any thread; a picture is not shared while it loads.
    LoadReport load(std::string_view path, PictureType type, const LoadOptions& options);
    // The same, true when the picture loaded.
    bool load(std::string_view path, PictureType type = PictureType::Unknown);
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
