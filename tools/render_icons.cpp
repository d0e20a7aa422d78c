// render_icons: writes the program's icon, drawn from its built-in picture, as PNG files for the desktop's
// icon theme: <folder>/<size>x<size>/apps/snapord.png at the usual hicolor sizes. Run by the build.
//
// The icon is pixel art of 32 x 32 (and its own 16 x 16 drawing). Larger sizes sample every pixel
// several times and average the samples, so whole multiples stay crisp and 48 x 48 gets soft edges
// instead of uneven pixels.
#include <png.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/builtin_pictures.h"

namespace {

constexpr std::array<int, 8> kSizes = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kSamples = 8;  // per side of a pixel

struct Rgba {
    std::vector<std::uint8_t> bytes;  // 4 per pixel, rows top-down
    int size = 0;
};

// `icon` scaled to size x size: each pixel averages kSamples x kSamples samples of the source, with the
// colours weighed by their coverage so that transparent samples do not darken the edges.
Rgba render(const Picture& icon, int size) {
    Rgba out{std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4), size};
    const auto pixels = icon.pixels();
    const auto palette = icon.palette();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            unsigned red = 0, green = 0, blue = 0, opaque = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const int px = (x * kSamples + sx) * icon.width() / (size * kSamples);
                    const int py = (y * kSamples + sy) * icon.height() / (size * kSamples);
                    const std::size_t at = static_cast<std::size_t>(py) * icon.width() + px;
                    Rgb colour;
                    if (icon.bitsPerPixel() == 8) {
                        const int index = pixels[at];
                        if (index == icon.transparentIndex())
                            continue;
                        colour = palette[static_cast<std::size_t>(index)];
                    } else {
                        colour = {pixels[at * 3], pixels[at * 3 + 1], pixels[at * 3 + 2]};
                    }
                    red += colour.red;
                    green += colour.green;
                    blue += colour.blue;
                    ++opaque;
                }
            }
            std::uint8_t* target = &out.bytes[(static_cast<std::size_t>(y) * size + x) * 4];
            if (opaque > 0) {
                target[0] = static_cast<std::uint8_t>((red + opaque / 2) / opaque);
                target[1] = static_cast<std::uint8_t>((green + opaque / 2) / opaque);
                target[2] = static_cast<std::uint8_t>((blue + opaque / 2) / opaque);
                target[3] = static_cast<std::uint8_t>((opaque * 255 + kSamples * kSamples / 2) /
                                                      (kSamples * kSamples));
            }
        }
    }
    return out;
}

bool writePng(const std::filesystem::path& path, const Rgba& picture) {
    // The build names its folders in ASCII, so the narrow form of the path serves on every system.
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    volatile bool written = false;  // kept across libpng's longjmp
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(picture.size),
                     static_cast<png_uint_32>(picture.size), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < picture.size; ++y)
            png_write_row(png, &picture.bytes[static_cast<std::size_t>(y) * picture.size * 4]);
        png_write_end(png, info);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

bool writeIcon(const std::filesystem::path& folder, int size) {
    // The 16-pixel drawing is made for its size; every other size comes from the 32-pixel one.
    const Picture icon = size == 16 ? builtinSmallWindowIcon() : builtinPicture(builtin::kWindowIcon);
    if (!icon.isValid())
        return false;
    const std::string side = std::to_string(size);
    const std::filesystem::path apps = folder / (side + "x" + side) / "apps";
    std::error_code error;
    std::filesystem::create_directories(apps, error);
    return writePng(apps / "snapord.png", render(icon, size));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icons <icon theme folder>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    for (int size : kSizes) {
        if (!writeIcon(folder, size)) {
            std::fprintf(stderr, "render_icons: cannot write the %d-pixel icon into %s\n", size, argv[1]);
            return 1;
        }
    }
    return 0;
}
