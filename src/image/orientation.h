// How a photograph's stored rows are to be turned to stand upright. Internal to the image library.
//
// Cameras and phones store a picture as the sensor saw it and record in the orientation tag (EXIF in a
// JPEG, the Orientation tag of a TIFF; the same tag 274 in both) where its first row and first column
// belong. The values, as EXIF numbers them: 1 upright; 2 mirrored left to right; 3 turned by a half;
// 4 mirrored top to bottom; 5 mirrored across the diagonal from the top-left corner; 6 to be turned a
// quarter clockwise; 7 mirrored across the other diagonal; 8 to be turned a quarter counter-clockwise.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orientation {

inline constexpr int kUpright = 1;

// The value as a valid orientation: 1 to 8 stay, anything else is 1.
int valid(long value);

// Whether the orientation turns the picture by a quarter, so that its width and height swap.
inline bool swapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// The orientation recorded in an EXIF block: the content of a JPEG APP1 marker, beginning with
// "Exif\0\0" and a TIFF header. 1 when the block has none or cannot be read.
int fromExif(std::span<const std::uint8_t> app1);

// Turns `rgb`, width x height pixels stored in `orientation`, upright; width and height become the
// upright size.
std::vector<std::uint8_t> turnUpright(std::vector<std::uint8_t> rgb, int& width, int& height,
                                      int orientation);

}  // namespace orientation
