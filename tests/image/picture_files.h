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

enum class JpegKind { Colour, Grey, Progressive, AdobeCmyk };
void writeJpeg(const std::string& path, const Picture& picture, JpegKind kind = JpegKind::Colour,
               int quality = 92);
std::string jpegBytes(const Picture& picture, JpegKind kind = JpegKind::Colour, int quality = 92);

enum class TiffKind { Rgb8, Rgb16, Grey8, Palette, Tiled, Lzw, Cmyk, BottomUp, TwoPages };
void writeTiff(const std::string& path, const Picture& picture, TiffKind kind);

// `channels`: 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA; `samples` holds 8-bit values (16-bit files
// repeat each value in both bytes).
void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& samples, int bitDepth = 8, bool interlaced = false);

// The bytes of a TIFF that only claims its size: a grey picture of width x height with no pixel data.
std::string tiffClaimingSize(std::uint32_t width, std::uint32_t height);

// Runs ImageMagick's convert with `arguments`; false when it is not installed or fails.
bool convert(const std::string& arguments);

}  // namespace test_pictures
