// PNG through libpng. Its errors come back by longjmp into read(), which keeps no objects with
// destructors; the buffers live in the caller. Warnings are not printed. Transparency is laid over
// white, as a photograph printed on paper would show it. Rows are decoded one at a time, except in
// interlaced files, whose passes need the whole picture. The work is counted in bytes of decoded rows and
// of the RGB made of them.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

#include "image/codecs.h"
#include "image/orientation.h"

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

// One decoded row of RGB or RGBA into the collector's row.
void toRgb(const std::uint8_t* row, int channels, png_uint_32 width, std::uint8_t* rgb) {
    if (channels == 3) {
        std::memcpy(rgb, row, std::size_t{width} * 3);
        return;
    }
    for (png_uint_32 x = 0; x < width; ++x, rgb += 3, row += channels) {
        const unsigned alpha = channels == 4 ? row[3] : 255;
        for (int c = 0; c < 3; ++c)
            rgb[c] = static_cast<std::uint8_t>((row[c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
}

Outcome read(std::FILE* file, png_structp png, png_infop info, RowCollector& rows, Buffers& buffers) {
    if (setjmp(png_jmpbuf(png)))
        return Outcome::Damaged;
    png_set_read_fn(png, file, readFromFile);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    // Before libpng allocates its rows.
    if (!withinPixelLimit(width, height) || width > kMaxRowPixels)
        return Outcome::TooDemanding;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    if (channels != 3 && channels != 4)
        return Outcome::Damaged;
    const std::size_t stride = std::size_t{width} * static_cast<unsigned>(channels);
    if (!rows.budget().allows(rowWork(stride, width, height)))
        return Outcome::TooDemanding;
    const Outcome begun =
        rows.begin({static_cast<int>(width), static_cast<int>(height)},
                   {static_cast<int>(width), static_cast<int>(height)}, orientation::kUpright);
    if (begun != Outcome::Decoded)
        return begun;

    if (passes == 1) {
        try {
            buffers.pixels.resize(stride);
        } catch (const std::bad_alloc&) {
            return Outcome::TooDemanding;
        }
        for (png_uint_32 y = 0; y < height; ++y) {
            if (!rows.budget().spend(rowWork(stride, width, 1)))
                return rows.budget().refusal();
            png_read_row(png, buffers.pixels.data(), nullptr);
            toRgb(buffers.pixels.data(), channels, width, rows.rowBuffer());
            rows.commitRow();
        }
        return Outcome::Decoded;
    }

    if (std::uint64_t{width} * height > kMaxHeldPixels)
        return Outcome::TooDemanding;
    try {
        buffers.pixels.resize(stride * height);
        buffers.rows.resize(height);
    } catch (const std::bad_alloc&) {
        return Outcome::TooDemanding;
    }
    for (png_uint_32 y = 0; y < height; ++y)
        buffers.rows[y] = buffers.pixels.data() + stride * y;
    if (!rows.budget().spend(rowWork(stride, width, height)))
        return rows.budget().refusal();
    png_read_image(png, buffers.rows.data());
    for (png_uint_32 y = 0; y < height; ++y) {
        toRgb(buffers.rows[y], channels, width, rows.rowBuffer());
        rows.commitRow();
    }
    return Outcome::Decoded;
}

}  // namespace

Outcome decodePng(std::FILE* file, RowCollector& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, stayQuiet);
    if (!png)
        return Outcome::TooDemanding;
    png_infop info = png_create_info_struct(png);
    Buffers buffers;
    const Outcome outcome = info ? read(file, png, info, rows, buffers) : Outcome::TooDemanding;
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return outcome;
}

}  // namespace codecs
