#include "picture_files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

namespace test_pictures {

Picture gradient(int width, int height) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x * 255 / std::max(width - 1, 1)));
            rgb.push_back(static_cast<std::uint8_t>(y * 255 / std::max(height - 1, 1)));
            rgb.push_back(static_cast<std::uint8_t>((x + y) * 255 / std::max(width + height - 2, 1)));
        }
    }
    return Picture::fromRgb(width, height, std::move(rgb));
}

Picture solid(int width, int height, Rgb colour) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {colour.red, colour.green, colour.blue});
    return Picture::fromRgb(width, height, std::move(rgb));
}

double meanDifference(const Picture& a, const Picture& b) {
    if (a.width() != b.width() || a.height() != b.height())
        throw std::logic_error("pictures of different sizes");
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const Rgb p = a.colourAt(x, y), q = b.colourAt(x, y);
            sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

namespace {

std::FILE* create(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    return file;
}

// Adobe's inverted CMYK: each stored value is 255 minus the ink.
std::vector<std::uint8_t> cmykOf(Rgb colour, bool inverted) {
    const int most = std::max({colour.red, colour.green, colour.blue});
    const auto ink = [most](int value) { return most == 0 ? 0 : 255 - value * 255 / most; };
    std::vector<std::uint8_t> cmyk = {
        static_cast<std::uint8_t>(ink(colour.red)), static_cast<std::uint8_t>(ink(colour.green)),
        static_cast<std::uint8_t>(ink(colour.blue)), static_cast<std::uint8_t>(255 - most)};
    if (inverted) {
        for (auto& v : cmyk)
            v = static_cast<std::uint8_t>(255 - v);
    }
    return cmyk;
}

int grey(Rgb c) {
    return (c.red * 299 + c.green * 587 + c.blue * 114) / 1000;
}

}  // namespace

std::string jpegBytes(const Picture& picture, JpegKind kind, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = kind == JpegKind::Grey ? 1 : kind == JpegKind::AdobeCmyk ? 4 : 3;
    info.in_color_space = kind == JpegKind::Grey        ? JCS_GRAYSCALE
                          : kind == JpegKind::AdobeCmyk ? JCS_CMYK
                                                        : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * info.input_components);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.colourAt(x, y);
            if (kind == JpegKind::Grey) {
                row[x] = static_cast<std::uint8_t>(grey(c));
            } else if (kind == JpegKind::AdobeCmyk) {
                const auto cmyk = cmykOf(c, true);
                std::copy(cmyk.begin(), cmyk.end(), row.begin() + x * 4);
            } else {
                row[x * 3] = c.red;
                row[x * 3 + 1] = c.green;
                row[x * 3 + 2] = c.blue;
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

void writeJpeg(const std::string& path, const Picture& picture, JpegKind kind, int quality) {
    const auto bytes = jpegBytes(picture, kind, quality);
    std::FILE* file = create(path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

namespace {

void writeTiffPage(TIFF* tiff, const Picture& picture, TiffKind kind) {
    const auto width = static_cast<std::uint32_t>(picture.width());
    const auto height = static_cast<std::uint32_t>(picture.height());
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind == TiffKind::Lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
    int samples = 3;
    int bits = 8;
    switch (kind) {
        case TiffKind::Grey8:
            samples = 1;
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
            break;
        case TiffKind::Palette:
            samples = 1;
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            break;
        case TiffKind::Cmyk:
            samples = 4;
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
            TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK);
            break;
        default:
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    if (kind == TiffKind::Rgb16)
        bits = 16;
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    if (kind == TiffKind::BottomUp)
        TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_BOTLEFT);

    // The palette: every colour of the picture, in order of first appearance.
    std::map<std::uint32_t, std::uint8_t> indexOf;
    std::vector<std::uint16_t> reds(256), greens(256), blues(256);
    const auto sampleRow = [&](std::uint32_t y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * samples * (bits / 8));
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgb c = picture.colourAt(static_cast<int>(x), static_cast<int>(y));
            std::vector<std::uint8_t> values;
            if (kind == TiffKind::Grey8) {
                values = {static_cast<std::uint8_t>(grey(c))};
            } else if (kind == TiffKind::Palette) {
                const std::uint32_t key = c.red << 16 | c.green << 8 | c.blue;
                if (!indexOf.count(key)) {
                    const auto index = static_cast<std::uint8_t>(indexOf.size());
                    indexOf[key] = index;
                    reds[index] = static_cast<std::uint16_t>(c.red * 257);
                    greens[index] = static_cast<std::uint16_t>(c.green * 257);
                    blues[index] = static_cast<std::uint16_t>(c.blue * 257);
                }
                values = {indexOf[key]};
            } else if (kind == TiffKind::Cmyk) {
                values = cmykOf(c, false);
            } else {
                values = {c.red, c.green, c.blue};
            }
            for (std::size_t s = 0; s < values.size(); ++s) {
                if (bits == 16) {
                    const std::uint16_t wide = static_cast<std::uint16_t>(values[s] * 257);
                    std::memcpy(&row[(x * samples + s) * 2], &wide, 2);
                } else {
                    row[x * samples + s] = values[s];
                }
            }
        }
        return row;
    };

    if (kind == TiffKind::Tiled) {
        constexpr std::uint32_t kTile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
        for (std::uint32_t ty = 0; ty < height; ty += kTile) {
            for (std::uint32_t tx = 0; tx < width; tx += kTile) {
                std::vector<std::uint8_t> tile(kTile * kTile * samples, 0);
                for (std::uint32_t y = ty; y < std::min(ty + kTile, height); ++y) {
                    const auto row = sampleRow(y);
                    for (std::uint32_t x = tx; x < std::min(tx + kTile, width); ++x) {
                        for (int s = 0; s < samples; ++s)
                            tile[((y - ty) * kTile + (x - tx)) * samples + s] = row[x * samples + s];
                    }
                }
                TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0);
            }
        }
        return;
    }
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 7u);
    std::vector<std::vector<std::uint8_t>> rows;
    for (std::uint32_t y = 0; y < height; ++y)
        rows.push_back(sampleRow(kind == TiffKind::BottomUp ? height - 1 - y : y));
    if (kind == TiffKind::Palette)
        TIFFSetField(tiff, TIFFTAG_COLORMAP, reds.data(), greens.data(), blues.data());
    for (std::uint32_t y = 0; y < height; ++y)
        TIFFWriteScanline(tiff, rows[y].data(), y, 0);
}

}  // namespace

void writeTiff(const std::string& path, const Picture& picture, TiffKind kind) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff)
        throw std::runtime_error("cannot write " + path);
    writeTiffPage(tiff, picture, kind);
    if (kind == TiffKind::TwoPages) {
        TIFFWriteDirectory(tiff);
        writeTiffPage(tiff, solid(picture.height(), picture.width(), {0, 0, 255}), TiffKind::Rgb8);
    }
    TIFFClose(tiff);
}

void writePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& samples, int bitDepth, bool interlaced) {
    std::FILE* file = create(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    static constexpr int kColourTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                           PNG_COLOR_TYPE_RGB_ALPHA};
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth,
                 kColourTypes[channels - 1], interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    std::vector<std::uint8_t> bytes;
    for (const auto value : samples) {
        bytes.push_back(value);
        if (bitDepth == 16)
            bytes.push_back(value);
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y)
        rows.push_back(bytes.data() + y * stride * (bitDepth / 8));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

std::string tiffClaimingSize(std::uint32_t width, std::uint32_t height) {
    std::string bytes = "II*";
    bytes += '\0';
    const auto put16 = [&bytes](std::uint32_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8 & 0xFF);
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put32(8);  // the directory follows the header
    constexpr std::uint16_t kShort = 3, kLong = 4;
    const std::vector<std::array<std::uint32_t, 3>> entries = {
        {256, kLong, width}, {257, kLong, height}, {258, kShort, 8},
        {259, kShort, 1},    {262, kShort, 1},     {273, kLong, 8 + 2 + 9 * 12 + 4},
        {277, kShort, 1},    {278, kLong, height}, {279, kLong, 0xFFFFFFF0},
    };
    put16(static_cast<std::uint32_t>(entries.size()));
    for (const auto& [tag, type, value] : entries) {
        put16(tag);
        put16(type);
        put32(1);
        if (type == kShort) {
            put16(value);
            put16(0);
        } else {
            put32(value);
        }
    }
    put32(0);  // no further directory
    bytes += std::string(16, '\x80');
    return bytes;
}

bool convert(const std::string& arguments) {
    return std::system(("convert " + arguments + " 2>/dev/null").c_str()) == 0;
}

}  // namespace test_pictures
