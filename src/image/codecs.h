// The decoders behind Picture::load, one per file format. Internal to the image library.
//
// Each decoder reads an open file from its start and fills a Decoded picture of 24-bit RGB rows, or
// returns false. A decoder never throws, never prints, and refuses a picture above kMaxPicturePixels
// before it allocates pixels for it, so a hostile file cannot make it allocate without bound.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "image/picture.h"

namespace codecs {

// The largest picture accepted, in pixels of its own size (16384 x 16384: about 800 MB as RGB).
inline constexpr std::uint64_t kMaxPicturePixels = 16384ull * 16384ull;

inline bool withinPixelLimit(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= 0x7FFFFFFF && height <= 0x7FFFFFFF &&
           width * height <= kMaxPicturePixels;
}

struct Decoded {
    int width = 0;
    int height = 0;
    // The picture's own size; larger than width x height only after a reduced-scale decode.
    int ownWidth = 0;
    int ownHeight = 0;
    std::vector<std::uint8_t> rgb;
};

// `box` lets the JPEG decoder use a reduced scale when the thumbnail will be much smaller.
bool decodeJpeg(std::FILE* file, ThumbnailBox box, Decoded& out);
bool decodeTiff(std::FILE* file, Decoded& out);
bool decodePng(std::FILE* file, Decoded& out);
bool decodeBmp(std::FILE* file, Decoded& out);

// The format that the first bytes of a file announce (12 bytes are enough); Unknown for none.
PictureType detectPictureType(std::span<const std::uint8_t> firstBytes);

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// The size a picture of `own` size gets inside `box` (see Picture::thumbnail); `own` when it fits.
Size thumbnailSize(Size own, ThumbnailBox box);

}  // namespace codecs
