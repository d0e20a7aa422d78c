// Test pictures written at test time: pixel patterns, and files written through libjpeg, libtiff and
// libpng (independent of the decoders under test), plus hand-made bytes for the damaged cases.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/picture.h"

namespace test_pictures {

// A smooth colour ramp: red grows to the right, green downwards, blue along the diagonal.
Picture gradient(int width, int height);
Picture solid(int width, int height, Rgb colour);

// Mean absolute difference per channel of two pictures of the same size.
double meanDifference(const Picture& a, const Picture& b);

// `orientation` 1 to 8 adds an EXIF block carrying it (see exifBlock); 0 adds none.
enum class JpegKind { Colour, Grey, Progressive, AdobeCmyk };
void writeJpeg(const std::string& path, const Picture& picture, JpegKind kind = JpegKind::Colour,
               int quality = 92, int orientation = 0);
std::string jpegBytes(const Picture& picture, JpegKind kind = JpegKind::Colour, int quality = 92,
                      int orientation = 0);

// The content of a JPEG APP1 marker as cameras write it, byte by byte: "Exif\0\0", a TIFF header in
// the byte order asked for, and a first directory of three entries (the camera's make, the
// orientation, the resolution unit).
std::string exifBlock(int orientation, bool bigEndian = false);

enum class TiffKind { Rgb8, Rgb16, Grey8, Palette, Tiled, Lzw, Cmyk, Cmyk16, BottomUp, TwoPages };
void writeTiff(const std::string& path, const Picture& picture, TiffKind kind);

// `channels`: 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA; `samples` holds 8-bit values (16-bit files
// repeat each value in both bytes).
void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& samples, int bitDepth = 8, bool interlaced = false);

// The bytes of a TIFF that only claims its size: a grey picture of width x height with no pixel data.
std::string tiffClaimingSize(std::uint32_t width, std::uint32_t height);

// An uncompressed 8-bit RGB TIFF in one strip, byte by byte, with the Orientation tag (274) given.
std::string tiffWithOrientation(const Picture& picture, int orientation, bool bigEndian);

// --- Hostile files, small, made at test time

// A progressive grey JPEG of width x height whose `scans` scans carry almost no data (each ends at the
// next marker at once).
std::string jpegOfEmptyScans(int width, int height, int scans);
// A valid progressive grey JPEG of width x height: a DC scan, then for every one of the 63 AC
// coefficients a first scan and 13 refinement scans, each saying "no more coefficients" for all its
// blocks in a few bytes. 883 scans, each visiting every block; a few dozen KB for 4096 x 4096.
std::string jpegOfManyValidScans(int width, int height);
// A PNG of width x height (RGB, 8 bits) whose data is an empty compressed stream.
std::string pngClaimingSize(std::uint32_t width, std::uint32_t height);
// An 8-bit grey TIFF of width x height in one Deflate-compressed strip of zeros: a small file that
// inflates to width x height bytes.
std::string tiffDeflateBomb(std::uint32_t width, std::uint32_t height);

// Runs ImageMagick's convert with `arguments`; false when it is not installed or fails.
bool convert(const std::string& arguments);

}  // namespace test_pictures
