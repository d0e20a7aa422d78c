// PNG through libpng. Its errors come back by longjmp into read(), which keeps no objects with
// destructors; the row buffers live in the caller. Warnings are not printed. Transparency is laid
// over white, as a photograph printed on paper would show it.
#include <csetjmp>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include <png.h>

#include "image/codecs.h"

namespace codecs {
namespace {

void fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void stayQuiet(png_structp, png_const_charp) {}

void readFromFile(png_structp png, png_bytep data, std::size_t length) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(data, 1, length, file) != length)
        png_error(png, "unexpected end of file");
}

struct Buffers {
    std::vector<std::uint8_t> pixels;
    std::vector<png_bytep> rows;
};

// Reads the whole picture as 8-bit RGB or RGBA into `buffers`; returns the channel count, 0 on failure.
int read(std::FILE* file, png_structp png, png_infop info, Buffers& buffers, png_uint_32& width,
         png_uint_32& height) {
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_set_read_fn(png, file, readFromFile);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (!withinPixelLimit(width, height))
        return 0;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    if (channels != 3 && channels != 4)
        return 0;
    const std::size_t stride = std::size_t{width} * channels;
    try {
        buffers.pixels.resize(stride * height);
        buffers.rows.resize(height);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    for (png_uint_32 y = 0; y < height; ++y)
        buffers.rows[y] = buffers.pixels.data() + stride * y;
    png_read_image(png, buffers.rows.data());
    return channels;
}

}  // namespace

bool decodePng(std::FILE* file, Decoded& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, stayQuiet);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    Buffers buffers;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    const int channels = info ? read(file, png, info, buffers, width, height) : 0;
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (channels == 0)
        return false;

    auto& pixels = buffers.pixels;
    if (channels == 4) {
        // In place: each RGB pixel lands at or before where its RGBA pixel was read.
        const std::size_t count = std::size_t{width} * height;
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned alpha = pixels[i * 4 + 3];
            for (int c = 0; c < 3; ++c)
                pixels[i * 3 + c] =
                    static_cast<std::uint8_t>((pixels[i * 4 + c] * alpha + 255 * (255 - alpha) + 127) / 255);
        }
        pixels.resize(count * 3);
    }
    out.rgb = std::move(pixels);
    out.width = out.ownWidth = static_cast<int>(width);
    out.height = out.ownHeight = static_cast<int>(height);
    return true;
}

}  // namespace codecs
